#include "handheld/engine/log/engine_messages.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

#include "handheld/engine/log/engine_log.h"

namespace {

std::atomic<show_message_handler> g_handler{nullptr};

}  // namespace

show_message_handler set_show_message_handler(show_message_handler handler) {
  return g_handler.exchange(handler);
}

void engine_show_message(int kind, const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (n < 0) text[0] = '\0';
  show_message_handler handler = g_handler.load();
  if (handler != nullptr) {
    handler(kind, text);
  } else {
    log_error_line("%s", text);
  }
}
