#include "platform/ce/card_path.h"

#include <mutex>
#include <string>

namespace {

const wchar_t kCardName[] = L"Storage Card";

std::mutex root_lock;
std::wstring root = kCardName;

bool is_separator(wchar_t c) { return c == L'\\' || c == L'/'; }

wchar_t lower(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// The part of path after "Storage Card" and its separator, or null when the
// path is not on the card.
const wchar_t* after_card_name(const wchar_t* path) {
  if (is_separator(*path)) ++path;
  for (const wchar_t* n = kCardName; *n != L'\0'; ++n, ++path) {
    if (lower(*path) != lower(*n)) return nullptr;
  }
  if (*path == L'\0') return path;
  if (!is_separator(*path)) return nullptr;
  return path + 1;
}

bool copy_out(const std::wstring& text, wchar_t* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return false;
  if (text.size() >= capacity) {
    out[0] = L'\0';
    return false;
  }
  text.copy(out, text.size());
  out[text.size()] = L'\0';
  return true;
}

}  // namespace

void set_card_root(const wchar_t* folder) {
  std::wstring value = (folder != nullptr && *folder != L'\0') ? folder : kCardName;
  // A drive's root ("C:\") keeps its separator: "C:" alone names a folder.
  while (value.size() > 1 && is_separator(value.back()) && value[value.size() - 2] != L':') {
    value.pop_back();
  }
  std::lock_guard<std::mutex> hold(root_lock);
  root = value;
}

bool get_card_root(wchar_t* out, size_t capacity) {
  std::lock_guard<std::mutex> hold(root_lock);
  return copy_out(root, out, capacity);
}

bool resolve_card_path(const wchar_t* path, wchar_t* out, size_t capacity) {
  if (path == nullptr) path = L"";
  std::wstring result;
  const wchar_t* rest = after_card_name(path);
  if (rest == nullptr) {
    result = path;
  } else {
    {
      std::lock_guard<std::mutex> hold(root_lock);
      result = root;
    }
    if (*rest != L'\0') {
      if (!is_separator(result.back())) result += L'\\';
      result += rest;
    }
  }
#ifndef _WIN32
  for (wchar_t& c : result) {
    if (c == L'\\') c = L'/';
  }
#endif
  return copy_out(result, out, capacity);
}
