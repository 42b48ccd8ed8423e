#include "platform/rapi/rapi_paths.h"

namespace {

const wchar_t kCard[] = L"storage card";

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

}  // namespace

bool map_unit_path(const wchar_t* unit_path, const std::wstring& card_folder, std::wstring& out) {
  if (unit_path == nullptr || card_folder.empty()) return false;
  const wchar_t* p = unit_path;
  if (is_separator(*p)) ++p;
  for (const wchar_t* n = kCard; *n != L'\0'; ++n, ++p) {
    if (lower(*p) != *n) return false;
  }
  if (*p != L'\0' && !is_separator(*p)) return false;
  std::wstring rest = *p != L'\0' ? p + 1 : p;
  // No part of the rest may climb out of the card.
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = start;
    while (end < rest.size() && !is_separator(rest[end])) ++end;
    if (rest.compare(start, end - start, L"..") == 0) return false;
    start = end + 1;
  }
  std::wstring result = card_folder;
  while (result.size() > 1 && is_separator(result.back())) result.pop_back();
  if (!rest.empty()) {
    result += L'\\';
    result += rest;
  }
  out = result;
  return true;
}
