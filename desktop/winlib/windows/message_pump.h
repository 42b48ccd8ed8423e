// The one-message pump that keeps the interface alive during long work.
#ifndef DESKTOP_WINLIB_WINDOWS_MESSAGE_PUMP_H
#define DESKTOP_WINLIB_WINDOWS_MESSAGE_PUMP_H

#include <windows.h>

// Removes one waiting message of the thread (any window); when there was
// one, translates and dispatches it and returns the dispatch result, else
// returns the peek result (0).
LRESULT pump_one_message();

#endif
