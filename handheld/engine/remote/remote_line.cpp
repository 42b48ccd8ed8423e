#include "handheld/engine/remote/remote_line.h"

#include <stdarg.h>
#include <stdio.h>

#include <mutex>

namespace {

std::mutex writer_lock;
remote_writer current = {nullptr, nullptr};

}  // namespace

void remote_write(const char* bytes, size_t n) {
  if (bytes == nullptr || n == 0) return;
  std::lock_guard<std::mutex> hold(writer_lock);
  if (current.write != nullptr) current.write(current.context, bytes, n);
}

void remote_printf(const char* format, ...) {
  if (format == nullptr) return;
  char text[256];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) return;
  size_t length = static_cast<size_t>(n) < sizeof text ? static_cast<size_t>(n) : sizeof text - 1;
  remote_write(text, length);
}

remote_writer remote_set_writer(remote_writer writer) {
  std::lock_guard<std::mutex> hold(writer_lock);
  remote_writer previous = current;
  current = writer.write != nullptr ? writer : remote_writer{nullptr, nullptr};
  return previous;
}
