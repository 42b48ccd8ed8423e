#include "window_openers.h"

#include "messages.h"

windowOpeners window_openers{};

void report_missing_opener(const char* name) { errormessage("*** NO WINDOW OPENER: %s ***", name); }
