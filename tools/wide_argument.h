// Command-line arguments in the environment's multibyte encoding: the tools
// take from the environment's locale only the character type (for file
// names), never its number format, so that every number they store or print
// reads the same whoever runs them.
#ifndef TOOLS_WIDE_ARGUMENT_H
#define TOOLS_WIDE_ARGUMENT_H

#include <clocale>
#include <cstdlib>
#include <string>

inline void use_environment_character_type() { std::setlocale(LC_CTYPE, ""); }

// The argument widened; empty when it is not valid in the encoding.
inline std::wstring wide_argument(const char* text) {
  const size_t n = std::mbstowcs(nullptr, text, 0);
  if (n == static_cast<size_t>(-1)) return std::wstring();
  std::wstring out(n, L'\0');
  std::mbstowcs(&out[0], text, n);
  return out;
}

#endif
