#include "desktop/winlib/files/file_info.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/winlib/values/text_scan.h"

fileInfoClass::~fileInfoClass() {
  close();
  close_search();
  delete[] path_;
}

bool fileInfoClass::get(const char* path, int report) {
  close();
  delete[] path_;
  path_ = nullptr;
  if (!path) path = "";
  path_ = new char[strlen(path) + 1];
  strcpy(path_, path);
  info_ = BY_HANDLE_FILE_INFORMATION{};
  // The file is opened first and asked for its attributes, times and size
  // through the calls that ask for just them: the whole file information
  // also asks the volume for its serial number, a slow round trip on some
  // systems. The attributes by path only tell a missing file from one that
  // does not open.
  file_ = CreateFileA(path_, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  FILE_BASIC_INFO basic = {};
  LARGE_INTEGER size = {};
  if (file_ != INVALID_HANDLE_VALUE &&
      GetFileInformationByHandleEx(file_, FileBasicInfo, &basic, sizeof basic) && GetFileSizeEx(file_, &size)) {
    attributes_ = basic.FileAttributes;
    auto file_time = [](const LARGE_INTEGER& t) {
      return FILETIME{static_cast<DWORD>(t.QuadPart & 0xFFFFFFFF), static_cast<DWORD>(t.QuadPart >> 32)};
    };
    info_.ftCreationTime = file_time(basic.CreationTime);
    info_.ftLastAccessTime = file_time(basic.LastAccessTime);
    info_.ftLastWriteTime = file_time(basic.LastWriteTime);
    info_.dwFileAttributes = attributes_;
    info_.nFileSizeHigh = static_cast<DWORD>(static_cast<uint64_t>(size.QuadPart) >> 32);
    info_.nFileSizeLow = static_cast<DWORD>(static_cast<uint64_t>(size.QuadPart) & 0xFFFFFFFFu);
    return true;
  }
  close();
  attributes_ = GetFileAttributesA(path_);
  if (attributes_ == INVALID_FILE_ATTRIBUTES) {
    if (report == 1) errormessage("*** CANNOT FIND FILE [%s] *** (fileInfoClass::get)", path_);
    return false;
  }
  if (report == 1) errormessage("*** UNABLE TO OPEN FILE [%s] ***", path_);
  return false;
}

uint32_t fileInfoClass::read(void* buffer, uint32_t count) {
  DWORD got = 0;
  if (file_ == INVALID_HANDLE_VALUE || !ReadFile(file_, buffer, count, &got, nullptr)) return 0;
  return got;
}

int fileInfoClass::compare_last_write(const FILETIME& time) {
  if (file_ == INVALID_HANDLE_VALUE) {
    errormessage("*** fileInfoClass: FILE IS NOT OPEN ***");
    return -2;
  }
  return CompareFileTime(&time, &info_.ftLastWriteTime);
}

FILETIME fileInfoClass::last_write() {
  FILETIME local = {};
  if (!FileTimeToLocalFileTime(&info_.ftLastWriteTime, &local)) {
    errormessage("*** fileInfoClass::last_write --> %s ***", last_error_text(0));
  }
  return local;
}

void fileInfoClass::last_write_text(char* buffer, size_t size) {
  if (!buffer || size == 0) return;
  buffer[0] = 0;
  FILETIME local = {};
  if (!FileTimeToLocalFileTime(&info_.ftLastWriteTime, &local)) {
    errormessage("*** fileInfoClass::last_write --> %s ***", last_error_text(0));
    return;
  }
  WORD date = 0, time = 0;
  if (!FileTimeToDosDateTime(&local, &date, &time)) {
    errormessage("*** UNABLE TO CONVERT FILETIME TO DOS DATE AND TIME ***");
    return;
  }
  snprintf(buffer, size, "%02d%3.3s%4d %02d:%02d:%02d", date & 31, month_name((date >> 5) & 15), (date >> 9) + 1980,
           time >> 11, (time >> 5) & 63, (time & 31) * 2);
}

const char* fileInfoClass::find_first(const char* pattern) {
  close_search();
  search_ = FindFirstFileA(pattern ? pattern : "", &found_);
  if (search_ == INVALID_HANDLE_VALUE) {
    DWORD code = GetLastError();
    if (code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND && code != ERROR_DIRECTORY) {
      errormessage("*** fileInfoClass::find_first [%s] ***\n--> %s ***", pattern ? pattern : "",
                   last_error_text(code));
    }
    return nullptr;
  }
  return found_.cFileName;
}

const char* fileInfoClass::find_next() {
  if (search_ == INVALID_HANDLE_VALUE) return nullptr;
  if (FindNextFileA(search_, &found_)) return found_.cFileName;
  DWORD code = GetLastError();
  if (code != ERROR_NO_MORE_FILES) errormessage("*** fileInfoClass::find_next --> %s ***", last_error_text(code));
  close_search();
  return nullptr;
}

void fileInfoClass::close() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

void fileInfoClass::close_search() {
  if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
  search_ = INVALID_HANDLE_VALUE;
}

int fileInfoClass::path_relation(const char* a, const char* b) {
  const DWORD room = 512;
  char full_a[room], full_b[room], upper_a[room], upper_b[room];
  DWORD length_a = GetFullPathNameA(a ? a : "", room, full_a, nullptr);
  DWORD length_b = GetFullPathNameA(b ? b : "", room, full_b, nullptr);
  if (length_a == 0 || length_a >= room || length_b == 0 || length_b >= room) return 0;
  upper_copy(full_a, upper_a, room);
  upper_copy(full_b, upper_b, room);
  if (strcmp(upper_a, upper_b) == 0) return 1;
  if (length_b > length_a && strncmp(upper_a, upper_b, length_a) == 0 && upper_b[length_a] == '\\') return 2;
  return 0;
}
