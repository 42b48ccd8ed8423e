// The system's error texts on the host build: the C library's texts of
// errno codes.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "desktop/winlib/messages/system_text.h"

const char* last_error_text(uint32_t code) {
  static char text[256];
  int error = code ? static_cast<int>(code) : errno;
  std::snprintf(text, sizeof text, "%s", std::strerror(error));
  for (char* p = text; *p; ++p) {
    if (*p == '\n' || *p == '\r') *p = ' ';
  }
  return text;
}
