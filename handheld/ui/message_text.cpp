#include "handheld/ui/message_text.h"

#include <stdio.h>
#include <wchar.h>

#include <mutex>
#include <string>
#include <vector>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/protocols/program_error.h"
#include "handheld/engine/remote/remote_line.h"

namespace {

// One lock over the buffer, the history and the layout; recursive because
// show_message holds it across the steps that also take it.
std::recursive_mutex message_lock;

wchar_t message_buffer[MESSAGE_TEXT_CAPACITY];
wchar_t history[MESSAGE_HISTORY_SLOTS][MESSAGE_HISTORY_LENGTH];
int history_count = 0;
messageLayout layout = {MESSAGE_ERROR, 3, MESSAGE_TEXT_CONTROL};

void copy_cut(const wchar_t* from, wchar_t* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return;
  size_t n = wcslen(from);
  if (n >= capacity) n = capacity - 1;
  wmemcpy(out, from, n);
  out[n] = L'\0';
}

// Formats into the buffer. A text longer than the buffer is cut. Some
// libraries report an overlong text only as a failure, so the text is
// formatted into growing scratch space until it fits, then cut; a format that
// still fails (an unconvertible character) leaves the buffer empty.
void format_into_buffer(const char* format, va_list args) {
  const std::wstring wide_format = widen(format);
  for (size_t capacity = MESSAGE_TEXT_CAPACITY; capacity <= 64 * MESSAGE_TEXT_CAPACITY; capacity *= 8) {
    std::vector<wchar_t> text(capacity);
    va_list attempt;
    va_copy(attempt, args);
    int n = vswprintf(text.data(), capacity, wide_format.c_str(), attempt);
    va_end(attempt);
    if (n >= 0) {
      copy_cut(text.data(), message_buffer, MESSAGE_TEXT_CAPACITY);
      return;
    }
  }
  message_buffer[0] = L'\0';
}

}  // namespace

void format_message_text(const char* format, ...) {
  if (format == nullptr) return;
  va_list args;
  va_start(args, format);
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  format_into_buffer(format, args);
  va_end(args);
}

void present_message(int kind, const char* format, va_list args) {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  if (format != nullptr) {
    format_into_buffer(format, args);
    remote_printf("[%s]\r\n", narrow(message_buffer).c_str());
    copy_cut(message_buffer, history[history_count], MESSAGE_HISTORY_LENGTH);
    if (history_count < MESSAGE_HISTORY_SLOTS - 1) ++history_count;
  }
  set_message_layout(kind, 3, MESSAGE_TEXT_CONTROL);
  log_shown_message(kind);
}

int pop_message_history() {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  if (history_count < 1) return 0;
  --history_count;
  copy_cut(history[history_count], message_buffer, MESSAGE_TEXT_CAPACITY);
  return 1;
}

void log_shown_message(int kind) {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  if (kind == MESSAGE_ERROR || kind == MESSAGE_INTERNAL) program_error = true;
  if (kind != MESSAGE_NOTICE) log_mesg("%s", narrow(message_buffer).c_str());
}

void set_message_layout(int kind, int position, int control) {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  layout = {kind, position, control};
}

messageLayout message_layout() {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  return layout;
}

void copy_message_text(wchar_t* out, size_t capacity) {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  copy_cut(message_buffer, out, capacity);
}

int message_history_count() {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  return history_count;
}

void copy_message_history(int slot, wchar_t* out, size_t capacity) {
  std::lock_guard<std::recursive_mutex> hold(message_lock);
  if (slot < 0 || slot >= MESSAGE_HISTORY_SLOTS) {
    copy_cut(L"", out, capacity);
    return;
  }
  copy_cut(history[slot], out, capacity);
}
