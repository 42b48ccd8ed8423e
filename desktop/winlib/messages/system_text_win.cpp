// The system's error texts on Windows.
#include <windows.h>

#include "desktop/winlib/messages/system_text.h"

const char* last_error_text(uint32_t code) {
  static char text[256];
  DWORD error = code ? code : GetLastError();
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                           MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text - 1, nullptr);
  if (n >= sizeof text) n = sizeof text - 1;
  text[n] = 0;
  for (char* p = text; *p; ++p) {
    if (*p == '\n' || *p == '\r') *p = ' ';
  }
  return text;
}
