#include "desktop/windows/openers/window_openers.h"

#include "desktop/winlib/messages/messages.h"

windowOpeners window_openers{};

void report_missing_opener(const char* name) { errormessage("*** NO WINDOW OPENER: %s ***", name); }
