#include <cstring>

#include "handheld/engine/log/engine_log.h"

namespace {

bool is_white(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Characters that may stand in a value without enclosing quotes.
bool is_plain(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  return (c >= '!' && c <= '\'') || (c >= '*' && c <= 'Z') || (c >= '^' && c <= '~');
}

}  // namespace

size_t quote_log_text(const char* text, char* destination, size_t limit) {
  if (destination == nullptr || limit == 0) return 0;
  destination[0] = '\0';
  // Room for the value, an '@', two quotes and the terminator.
  if (text == nullptr || limit < 4) return 0;

  const char* first = text;
  while (*first != '\0' && is_white(*first)) ++first;
  const char* last = first + std::strlen(first);
  while (last > first && is_white(last[-1])) --last;

  bool enclose = false;
  for (const char* p = first; p < last; ++p) {
    if (!is_plain(*p)) enclose = true;
  }

  const size_t room = limit - 4;
  size_t n = 0;
  if (enclose) destination[n++] = '"';
  size_t body = 0;
  for (const char* p = first; p < last; ++p) {
    const bool escape = *p == '"' || *p == '\\';
    const size_t need = escape ? 2 : 1;
    if (body + need > room) {
      destination[n++] = '@';
      break;
    }
    if (escape) destination[n++] = '\\';
    destination[n++] = *p;
    body += need;
  }
  if (enclose) destination[n++] = '"';
  destination[n] = '\0';
  return n;
}
