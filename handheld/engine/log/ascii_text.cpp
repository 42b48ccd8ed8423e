#include "handheld/engine/log/ascii_text.h"

std::wstring widen(const std::string& text) {
  std::wstring wide;
  for (char c : text) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
}

std::string narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += (c > 0 && c < 128) ? static_cast<char>(c) : '?';
  return out;
}
