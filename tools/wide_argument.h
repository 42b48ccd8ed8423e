// Command-line arguments in the environment's multibyte encoding: the tools
// take the environment's locale first (for the C library and for file
// names), then widen their arguments.
#ifndef WIDE_ARGUMENT_H
#define WIDE_ARGUMENT_H

#include <clocale>
#include <cstdlib>
#include <exception>
#include <locale>
#include <string>

inline void use_environment_locale() {
  try {
    std::locale::global(std::locale(""));
  } catch (const std::exception&) {
    std::setlocale(LC_ALL, "");  // an unknown locale name: the C library's choice
  }
}

// The argument widened; empty when it is not valid in the encoding.
inline std::wstring wide_argument(const char* text) {
  const size_t n = std::mbstowcs(nullptr, text, 0);
  if (n == static_cast<size_t>(-1)) return std::wstring();
  std::wstring out(n, L'\0');
  std::mbstowcs(&out[0], text, n);
  return out;
}

#endif
