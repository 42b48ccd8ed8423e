#include "desktop/winlib/tests/picture_pause.h"

#include <windows.h>

#include <cstdlib>

void picture_pause() {
  const char* pause = std::getenv("ERG_PICTURE_PAUSE_MS");
  if (!pause) return;
  DWORD start = GetTickCount();
  DWORD length = static_cast<DWORD>(std::atoi(pause));
  MSG msg;
  while (GetTickCount() - start < length) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    } else {
      Sleep(10);
    }
  }
}

void picture_pause(HWND window) {
  if (!std::getenv("ERG_PICTURE_PAUSE_MS")) return;
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  picture_pause();
}
