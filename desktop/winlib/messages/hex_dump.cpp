#include <cstdint>
#include <cstdio>
#include <string>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/messages/debug_log.h"

void hex_dump(const char* title, const void* data, int count) {
  const unsigned char* bytes = static_cast<const unsigned char*>(data);
  if (!bytes || count < 0) count = 0;
  log_message("*************** %s #%8.8lx / %d ******************", title ? title : "",
              static_cast<unsigned long>(reinterpret_cast<uintptr_t>(data)), count);
  char piece[16];
  for (int offset = 0; offset < count; offset += 16) {
    int n = count - offset < 16 ? count - offset : 16;
    std::string line;
    std::snprintf(piece, sizeof piece, "%8x  ", static_cast<unsigned>(offset));
    line += piece;
    for (int i = 0; i < n; ++i) {
      std::snprintf(piece, sizeof piece, i % 2 ? "%2.2x " : "%2.2x", bytes[offset + i]);
      line += piece;
    }
    if (n < 16) line += n % 2 ? "   " : "     ";
    line += "   |";
    for (int i = 0; i < n; ++i) {
      unsigned char c = bytes[offset + i];
      line.push_back(c >= 32 && c <= 126 ? static_cast<char>(c) : '.');
    }
    line += "|";
    log_message("%s", line.c_str());
  }
  log_message("*****************************************");
}
