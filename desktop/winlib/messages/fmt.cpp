#include "desktop/winlib/messages/fmt.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "desktop/winlib/messages/messages.h"

namespace {

constexpr int ring_size = 15;
char* ring[ring_size] = {};
int ring_index = 0;

// Longest text measured by trial when the platform's formatting reports
// truncation as -1 instead of the length.
constexpr size_t trial_limit = size_t{1} << 26;

}  // namespace

int format_bounded(char* buffer, size_t size, const char* format, va_list args) {
  if (!format) {
    if (buffer && size > 0) buffer[0] = 0;
    return -1;
  }
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(buffer, buffer ? size : 0, format, copy);
  va_end(copy);
  if (buffer && size > 0) buffer[size - 1] = 0;
  if (n >= 0) return n;
  // Some runtimes give -1 for a text that did not fit: measure by trial.
  std::vector<char> trial(size < 256 ? 256 : size * 2);
  while (trial.size() <= trial_limit) {
    va_copy(copy, args);
    n = std::vsnprintf(trial.data(), trial.size(), format, copy);
    va_end(copy);
    if (n >= 0 && static_cast<size_t>(n) < trial.size()) {
      if (buffer && size > 0) {
        size_t keep = static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1;
        std::memcpy(buffer, trial.data(), keep);
        buffer[keep] = 0;
      }
      return n;
    }
    trial.resize(trial.size() * 4);
  }
  return -1;
}

int text_length(const char* format, va_list args) {
  int n = format_bounded(nullptr, 0, format, args);
  if (n < 0) errormessage("### text_length: invalid arguments ###");
  return n;
}

const char* fmt(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = format_bounded(nullptr, 0, format, args);
  if (n < 0) {
    va_end(args);
    errormessage("*** fmt: ZERO LENGTH TEXT ***");
    return "";
  }
  char*& slot = ring[ring_index];
  if (slot) {
    slot[0] = 0;
    std::free(slot);
    slot = nullptr;
  }
  size_t size = static_cast<size_t>(n) + 2;
  char* text = static_cast<char*>(std::malloc(size));
  if (!text) {
    va_end(args);
    errormessage("*** fmt: OUT OF MEMORY (%d) ***", n);
    return "";
  }
  format_bounded(text, static_cast<size_t>(n) + 1, format, args);
  va_end(args);
  slot = text;
  ring_index = (ring_index + 1) % ring_size;
  return text;
}

int text_format(char* buffer, int size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = format_bounded(nullptr, 0, format, args);
  if (n < 0) {
    va_end(args);
    errormessage("### text_length: invalid arguments ###");
    return -1;
  }
  if (!buffer || n + 1 > size) {
    va_end(args);
    errormessage("### text_format : insufficient buffer size (%d) need %d ###", size, n + 1);
    return -1;
  }
  format_bounded(buffer, static_cast<size_t>(size), format, args);
  va_end(args);
  return n;
}

char* duplicate_text(int* length, const char* text) {
  if (!text) {
    if (length) *length = 0;
    return nullptr;
  }
  size_t n = std::strlen(text);
  char* copy = static_cast<char*>(std::malloc(n + 1));
  if (!copy) {
    if (length) *length = 0;
    return nullptr;
  }
  std::memcpy(copy, text, n + 1);
  if (length) *length = static_cast<int>(n);
  return copy;
}

void free_text(char* text) { std::free(text); }
