// Dispatches every message waiting for the test's thread, so that what a
// step posted has happened before the test looks.
#ifndef DESKTOP_WINLIB_TESTS_PUMP_H
#define DESKTOP_WINLIB_TESTS_PUMP_H

#include <windows.h>

inline void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

#endif
