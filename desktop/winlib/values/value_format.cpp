#include "desktop/winlib/values/value_format.h"

#include <cstdarg>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/fmt.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Reads one conversion after its '%' at p. Returns the position after it,
// or null when it is not one a value text accepts; *text tells its kind.
const char* read_conversion(const char* p, bool* text) {
  while (*p && std::strchr("-+ #0", *p)) ++p;
  while (is_digit(*p)) ++p;
  if (*p == '.') {
    ++p;
    while (is_digit(*p)) ++p;
  }
  bool long_flag = false;
  if (*p == 'l') {
    long_flag = true;
    ++p;
  }
  if (*p && std::strchr("aAeEfFgG", *p)) {
    *text = false;
    return p + 1;
  }
  if (*p == 's' && !long_flag) {
    *text = true;
    return p + 1;
  }
  return nullptr;
}

// Appends the formatted piece when the whole text stays within the limit.
// Returns the piece's length (appended or not), -1 when it cannot be
// formatted.
int append_piece(std::string& out, const char* piece, ...) {
  va_list args;
  va_start(args, piece);
  int n = format_bounded(nullptr, 0, piece, args);
  if (n >= 0 && out.size() + static_cast<size_t>(n) <= static_cast<size_t>(value_text_limit)) {
    std::string text(static_cast<size_t>(n) + 1, '\0');
    format_bounded(&text[0], text.size(), piece, args);
    text.resize(static_cast<size_t>(n));
    out += text;
  }
  va_end(args);
  return n;
}

// The literal text from start and, for the conversion at percent, a text
// conversion of its width and side (its precision would cut the dashes).
std::string none_piece(const char* start, const char* percent) {
  const char* p = percent + 1;
  bool left = false;
  for (; *p && std::strchr("-+ #0", *p); ++p) left = left || *p == '-';
  const char* width = p;
  while (is_digit(*p)) ++p;
  return std::string(start, percent) + (left ? "%-" : "%") + std::string(width, p) + "s";
}

}  // namespace

valueFormatResult format_value_text(byteObjectClass& out, const char* format, const valueArgument* args, int count,
                                    int* length) {
  if (length) *length = 0;
  if (!format) return valueFormatResult::mismatch;
  if (count > value_argument_limit) count = value_argument_limit;
  // Each piece holds the literal text before a conversion and the
  // conversion itself; the last piece holds the literal text after the last
  // conversion, with its "%%" still to be turned into '%'.
  std::string result;
  long long full_length = 0;  // the length of the whole text, appended or not
  const char* piece_start = format;
  const char* p = format;
  int used = 0;
  while (*p) {
    if (*p != '%') {
      ++p;
      continue;
    }
    if (p[1] == '%') {
      p += 2;
      continue;
    }
    bool text = false;
    const char* end = read_conversion(p + 1, &text);
    if (!end || used >= value_argument_limit) return valueFormatResult::mismatch;
    // Positions without an argument are taken as numbers.
    bool want_text = used < count && args[used].is_text;
    if (text != want_text) return valueFormatResult::mismatch;
    std::string piece(piece_start, end);
    if (!text && used < count && args[used].none) piece = none_piece(piece_start, p);
    int n = text ? append_piece(result, piece.c_str(), args[used].text ? args[used].text : "")
                 : used < count && args[used].none ? append_piece(result, piece.c_str(), "---")
                 : append_piece(result, piece.c_str(), used < count ? args[used].number : 1.2345);
    if (n < 0) return valueFormatResult::mismatch;
    full_length += n;
    ++used;
    piece_start = p = end;
  }
  if (*piece_start) {
    int n = append_piece(result, piece_start);
    if (n < 0) return valueFormatResult::mismatch;
    full_length += n;
  }
  if (length) *length = full_length > 0x7fffffff ? 0x7fffffff : static_cast<int>(full_length);
  if (full_length > value_text_limit) return valueFormatResult::too_long;
  out.set_bytes(result.data(), static_cast<int32_t>(result.size()));
  return valueFormatResult::formatted;
}
