#include "handheld/engine/storage/card_files.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwctype>
#include <system_error>

#include "platform/ce/card_path.h"
#include "platform/files/whole_file.h"

namespace {

const size_t kPathCapacity = 1024;

std::atomic<bool> readOnly{false};

bool writes(const char* mode) { return std::strpbrk(mode, "wa+") != nullptr; }

}  // namespace

void set_card_read_only(bool on) { readOnly = on; }
bool card_read_only() { return readOnly.load(); }

std::filesystem::path card_file_path(const std::wstring& unit_path) {
  wchar_t resolved[kPathCapacity];
  if (!resolve_card_path(unit_path.c_str(), resolved, kPathCapacity)) return {};
  std::filesystem::path path(resolved);
  // The card's file system matches names in either case: an existing name
  // differing only in case is that file.
  std::error_code error;
  if (!std::filesystem::exists(path, error) && path.has_parent_path()) {
    std::filesystem::directory_iterator it(path.parent_path(), error);
    if (!error) {
      for (const auto& entry : it) {
        if (wildcard_match(path.filename().wstring(), entry.path().filename().wstring()) &&
            path.filename().wstring().find_first_of(L"*?") == std::wstring::npos) {
          return entry.path();
        }
      }
    }
  }
  return path;
}

FILE* open_card_file(const std::wstring& unit_path, const char* mode) {
  if (readOnly.load() && writes(mode)) return nullptr;
  const std::filesystem::path file = card_file_path(unit_path);
  if (file.empty()) return nullptr;
#ifdef _WIN32
  const std::wstring wide_mode(mode, mode + std::strlen(mode));
  return _wfopen(file.c_str(), wide_mode.c_str());
#else
  return std::fopen(file.c_str(), mode);
#endif
}

bool write_card_file_whole(const std::wstring& unit_path, const char* mode, const std::function<bool(FILE*)>& write,
                           wholeFileStep* failed) {
  if (readOnly.load()) {
    if (failed != nullptr) *failed = wholeFileStep::open;
    return false;
  }
  return write_file_whole(card_file_path(unit_path), mode, write, failed);
}

bool wildcard_match(const std::wstring& pattern, const std::wstring& name) {
  size_t p = 0, n = 0, star = std::wstring::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() &&
               (pattern[p] == L'?' || std::towupper(pattern[p]) == std::towupper(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::wstring::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

std::vector<std::wstring> card_matches(const std::wstring& unit_pattern) {
  std::vector<std::wstring> names;
  const std::wstring pattern = last_component(unit_pattern);
  const std::filesystem::path folder = card_file_path(folder_of(unit_pattern));
  if (folder.empty()) return names;
  std::error_code error;
  std::filesystem::directory_iterator it(folder, error);
  if (error) return names;
  for (const auto& entry : it) {
    const std::wstring name = entry.path().filename().wstring();
    if (name == L"." || name == L"..") continue;
    if (wildcard_match(pattern, name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool card_is_directory(const std::wstring& unit_path) {
  std::error_code error;
  const std::filesystem::path path = card_file_path(unit_path);
  return !path.empty() && std::filesystem::is_directory(path, error);
}

bool remove_card_path(const std::wstring& unit_path) {
  if (readOnly.load()) return false;
  const std::filesystem::path path = card_file_path(unit_path);
  std::error_code error;
  return !path.empty() && std::filesystem::remove(path, error) && !error;
}

std::wstring last_component(const std::wstring& unit_path) {
  const size_t cut = unit_path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? unit_path : unit_path.substr(cut + 1);
}

std::wstring folder_of(const std::wstring& unit_path) {
  const size_t cut = unit_path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : unit_path.substr(0, cut);
}
