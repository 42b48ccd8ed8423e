#include "desktop/winlib/values/text_scan.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "desktop/winlib/messages/messages.h"

namespace {

char single_name[8];
char text_names[512];
char text_hex_names[512];

bool is_blank_or_tab(char c) { return c == ' ' || c == '\t'; }

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Appends the name of each byte to out (512 bytes) while a piece keeps the
// length plus one at or below 510.
const char* names_of(const char* bytes, int count, char* out, const char* (*name)(unsigned char)) {
  size_t length = 0;
  out[0] = 0;
  for (int i = 0; bytes && i < count; i++) {
    const char* piece = name(static_cast<unsigned char>(bytes[i]));
    size_t n = strlen(piece);
    if (length + n + 1 > 510) break;
    memcpy(out + length, piece, n + 1);
    length += n;
  }
  return out;
}

}  // namespace

const char* char_name(unsigned char byte) {
  const char* name = nullptr;
  switch (byte) {
    case 6: name = "[ACK]"; break;
    case 10: name = "[NL]"; break;
    case 13: name = "[CR]"; break;
    case 17: name = "[DC1]"; break;
    case 18: name = "[DC2]"; break;
    case 19: name = "[DC3]"; break;
    case 20: name = "[DC4]"; break;
    case 21: name = "[NAK]"; break;
    case 127: name = "[DEL]"; break;
    default: break;
  }
  if (name) {
    snprintf(single_name, sizeof single_name, "%s", name);
  } else if (byte >= 32 && byte < 127) {
    single_name[0] = static_cast<char>(byte);
    single_name[1] = 0;
  } else {
    snprintf(single_name, sizeof single_name, "[%2.2x]", byte);
  }
  return single_name;
}

const char* char_hex_name(unsigned char byte) {
  if (byte >= 32 && byte <= 127) {
    single_name[0] = static_cast<char>(byte);
    single_name[1] = 0;
  } else {
    snprintf(single_name, sizeof single_name, "[%2.2x]", byte);
  }
  return single_name;
}

const char* bytes_name(const char* bytes, int count) {
  return names_of(bytes, count, text_names, char_name);
}

const char* text_name(const char* text) {
  return bytes_name(text, text ? static_cast<int>(strlen(text)) : 0);
}

const char* bytes_hex_name(const char* bytes, int count) {
  return names_of(bytes, count, text_hex_names, char_hex_name);
}

int hex_value(char c) {
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - '0';
}

unsigned char hex_byte(char high, char low) {
  return static_cast<unsigned char>(((16 * hex_value(high)) & 0xFF) | hex_value(low));
}

char hex_digit(int value) {
  value &= 15;
  return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10);
}

void byte_to_hex(unsigned char byte, char out[2]) {
  out[0] = hex_digit(byte >> 4);
  out[1] = hex_digit(byte & 15);
}

int token_split(const char* text, const char* delimiters, char* output, size_t size) {
  if (output && size > 0) output[0] = 0;
  if (!text) return 0;
  if (!delimiters) delimiters = "";
  int n = 0;
  size_t copied = 0;
  for (; text[n]; n++) {
    if (strchr(delimiters, text[n])) break;
    if (output && copied + 1 < size) output[copied++] = text[n];
  }
  if (output && size > 0) output[copied] = 0;
  if (static_cast<size_t>(n) > copied) {
    errormessage("*** token_split: TOKEN OF %d CHARACTERS CUT TO %d ***", n, static_cast<int>(copied));
  }
  if (!text[n]) return 0;
  return n == 0 ? -1 : n;
}

bool upper_copy(const char* text, char* destination, size_t size) {
  if (!destination || size == 0) return !text || !*text;
  size_t i = 0;
  for (; text && text[i] && i + 1 < size; i++) destination[i] = upper(text[i]);
  destination[i] = 0;
  return !text || !text[i];
}

bool contains(const char* needle, const char* haystack) {
  if (!needle || !*needle) return true;
  if (!haystack || !*haystack) return false;
  if (strlen(needle) > strlen(haystack)) return false;
  return strstr(haystack, needle) != nullptr;
}

int nth_word(const char* text, int index, char* output, int size) {
  if (output && size > 0) output[0] = 0;
  if (!text || index < 0) return 0;
  int word = -1;
  const char* p = text;
  while (*p) {
    while (is_blank_or_tab(*p)) p++;
    if (!*p) break;
    word++;
    bool copy = word == index;
    int copied = 0;
    bool quoted = false;
    if (*p == '"') {
      quoted = true;
      p++;
    }
    for (; *p; p++) {
      if (*p == '"') {
        quoted = false;
        continue;
      }
      if (!quoted && is_blank_or_tab(*p)) break;
      if (copy && output && copied + 1 < size) output[copied++] = *p;
    }
    if (copy) {
      if (output && size > 0) output[copied] = 0;
      return copied;
    }
  }
  return 0;
}

int word_count(const char* text) {
  int count = 0;
  bool in_word = false;
  for (const char* p = text; p && *p; p++) {
    if (is_blank_or_tab(*p)) {
      in_word = false;
    } else if (!in_word) {
      in_word = true;
      count++;
    }
  }
  return count;
}

void trim_leading(char* buffer, int size) {
  if (!buffer || size < 1) return;
  size_t limit = static_cast<size_t>(size - 1);
  size_t skip = 0;
  while (skip < limit && is_blank_or_tab(buffer[skip])) skip++;
  if (skip == 0) return;
  size_t length = strnlen(buffer, limit);
  memmove(buffer, buffer + skip, length - skip);
  buffer[length - skip] = 0;
}

void trim_trailing(char* buffer, int size) {
  if (!buffer || size < 1) return;
  size_t length = strnlen(buffer, static_cast<size_t>(size));
  for (size_t i = length; i-- > 1;) {
    if (!is_blank_or_tab(buffer[i])) break;
    buffer[i] = 0;
  }
}

bool wildcard_match(const char* pattern, const char* text, int case_flag) {
  if (!pattern || !*pattern) return true;
  if (!text || !*text) return false;

  struct slot {
    char c;
    bool quoted;
  };
  std::vector<slot> pat;
  bool quoting = false;
  const char* p = pattern;
  while (*p == ' ') p++;
  for (; *p; p++) {
    if (*p == '"') {
      quoting = !quoting;
      continue;
    }
    pat.push_back(slot{*p, quoting});
  }
  while (*text == ' ') text++;
  size_t text_length = strlen(text);
  while (text_length > 0 && text[text_length - 1] == ' ') text_length--;

  auto same = [case_flag](char a, char b) { return case_flag == 1 ? a == b : upper(a) == upper(b); };

  // Greedy match that falls back to the last "*" seen: the same answer as
  // trying the rest of the pattern at each position after that "*".
  size_t pi = 0, ti = 0;
  size_t star = pat.size(), star_text = 0;
  while (ti < text_length) {
    if (pi < pat.size() && !pat[pi].quoted && pat[pi].c == '*') {
      star = pi++;
      star_text = ti;
    } else if (pi < pat.size() && ((!pat[pi].quoted && pat[pi].c == '?') || same(pat[pi].c, text[ti]))) {
      pi++;
      ti++;
    } else if (star != pat.size()) {
      pi = star + 1;
      ti = ++star_text;
    } else {
      return false;
    }
  }
  while (pi < pat.size() && !pat[pi].quoted && pat[pi].c == '*') pi++;
  return pi == pat.size();
}

tokenizerClass::tokenizerClass(const char* source, const char* delimiters)
    : source_(source), delimiters_(delimiters), token_(nullptr, 0) {}

bool tokenizerClass::is_delimiter(char c) {
  return c && memchr(delimiters_.text(), c, static_cast<size_t>(delimiters_.length())) != nullptr;
}

bool tokenizerClass::collect(uint32_t& pos, byteObjectClass* token) {
  int at = static_cast<int>(pos) + 1;
  while (is_delimiter(static_cast<char>(source_.char_at(at)))) at++;
  if (source_.char_at(at) == 0) {
    pos = static_cast<uint32_t>(at - 1);
    return false;
  }
  if (token) token->set("");
  for (char c; (c = static_cast<char>(source_.char_at(at))) != 0 && !is_delimiter(c); at++) {
    if (token) token->append_char(c);
  }
  pos = static_cast<uint32_t>(at - 1);
  return true;
}

const char* tokenizerClass::first_token() {
  if (active_ || delimiters_.length() == 0) return nullptr;
  position_ = 0;
  active_ = 1;
  if (!collect(position_, &token_)) {
    active_ = 0;
    return nullptr;
  }
  return token_.text();
}

const char* tokenizerClass::next_token() {
  if (!active_ || delimiters_.length() == 0) return nullptr;
  if (!collect(position_, &token_)) {
    active_ = 0;
    return nullptr;
  }
  return token_.text();
}

int tokenizerClass::token_count() {
  if (delimiters_.length() == 0) return 0;
  uint32_t pos = 0;
  int count = 0;
  while (collect(pos, nullptr)) count++;
  return count;
}
