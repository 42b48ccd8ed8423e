#include "desktop/winlib/values/wide_text.h"

namespace {

constexpr char32_t replacement = 0xFFFD;

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void append_utf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

bool high_surrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool low_surrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The character that starts at text[at], and where the next one starts; a
// sequence that is cut, overlong, a surrogate or beyond U+10FFFF gives
// U+FFFD for its first byte.
char32_t next_utf8(const unsigned char* text, size_t& at) {
  unsigned char lead = text[at];
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? (lead <= 0xEF ? 2 : -1) : lead >= 0xC2 ? 1 : -1;
  char32_t c = more == 3 ? lead & 0x07u : more == 2 ? lead & 0x0Fu : lead & 0x1Fu;
  bool ok = more > 0;
  for (int i = 1; ok && i <= more; ++i) {
    unsigned char b = text[at + i];
    ok = (b & 0xC0) == 0x80;
    c = (c << 6) | (b & 0x3Fu);
  }
  const char32_t least[4] = {0, 0x80, 0x800, 0x10000};
  if (ok && (c < least[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) ok = false;
  if (!ok) {
    ++at;
    return replacement;
  }
  at += static_cast<size_t>(more) + 1;
  return c;
}

}  // namespace

std::string utf8_text(const char16_t* text, size_t max_units) {
  std::string out;
  if (!text) return out;
  for (size_t i = 0; i < max_units && text[i] != 0; ++i) {
    char32_t u = text[i];
    if (high_surrogate(u) && i + 1 < max_units && low_surrogate(text[i + 1])) {
      append_utf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
      ++i;
    } else {
      append_utf8(out, high_surrogate(u) || low_surrogate(u) ? replacement : u);
    }
  }
  return out;
}

std::string utf8_text(const std::u16string& text) { return utf8_text(text.c_str(), text.size()); }

std::u16string utf16_text(const char* text) {
  std::u16string out;
  if (!text) return out;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (size_t at = 0; bytes[at] != 0;) append_utf16(out, next_utf8(bytes, at));
  return out;
}

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide text is UTF-16 here");

std::wstring wide_text(const char* text) {
  std::u16string units = utf16_text(text);
  return std::wstring(units.begin(), units.end());
}

std::string utf8_text(const wchar_t* text) {
  if (!text) return std::string();
  size_t n = 0;
  while (text[n] != 0) ++n;
  return utf8_text(std::u16string(text, text + n));
}
#endif
