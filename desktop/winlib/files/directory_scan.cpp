#include "desktop/winlib/files/directory_scan.h"

#include <cstring>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/files/path_names.h"

namespace {

bool is_dot_entry(const char* name) { return strcmp(name, ".") == 0 || strcmp(name, "..") == 0; }

}  // namespace

directoryScanClass::directoryScanClass(const char* path) { reset(path); }

directoryScanClass::~directoryScanClass() { close_search(); }

void directoryScanClass::close_search() {
  if (search_) FindClose(search_);
  search_ = nullptr;
}

bool directoryScanClass::reset(const char* path) {
  if (path) {
    path_directory(path, folder_);
  } else if (folder_.length() == 0) {
    errormessage("*** directoryScanClass::reset - NO PATH PROVIDED. ***");
    return false;
  }
  close_search();
  pattern_.set("*");
  first_taken_ = 0;
  return true;
}

bool directoryScanClass::skip_dot_entries() {
  while (is_dot_entry(found_.cFileName)) {
    if (!FindNextFileA(search_, &found_)) return false;
  }
  return true;
}

const char* directoryScanClass::get_first_file(const char* pattern) {
  if (first_taken_) {
    errormessage("*** directoryScanClass::get_first_file - first file requested more than once. ***");
    return nullptr;
  }
  if (pattern) pattern_.set(pattern);
  byteObjectClass search(folder_.text());
  search.append(pattern_.text());
  HANDLE handle = FindFirstFileA(search.text(), &found_);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  search_ = handle;
  first_taken_ = 1;
  return skip_dot_entries() ? found_.cFileName : nullptr;
}

const char* directoryScanClass::next_file(const char* pattern) {
  if (!search_) return get_first_file(pattern);
  if (!FindNextFileA(search_, &found_)) return nullptr;
  return skip_dot_entries() ? found_.cFileName : nullptr;
}

const char* directoryScanClass::next_directory() {
  for (const char* name = next_file(nullptr); name; name = next_file(nullptr)) {
    if (found_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return name;
  }
  return nullptr;
}

const char* directoryScanClass::current_name() const { return search_ ? found_.cFileName : nullptr; }

const char* directoryScanClass::current_path(byteObjectClass& buffer) const {
  if (!search_) return nullptr;
  buffer.set(folder_.text());
  buffer.append(found_.cFileName);
  if (found_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) buffer.append("\\");
  return buffer.text();
}

bool directoryScanClass::is_directory() const {
  if (!search_) {
    errormessage("*** directoryScanClass::current_file_name - NO FILE HANDLE. ***");
    return false;
  }
  return (found_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
