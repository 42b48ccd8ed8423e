// fileInfoClass: a file's attributes and times, and a search of a folder by
// pattern.
#ifndef DESKTOP_WINLIB_FILES_FILE_INFO_H
#define DESKTOP_WINLIB_FILES_FILE_INFO_H

#include <windows.h>

#include <cstddef>
#include <cstdint>

class fileInfoClass {
 public:
  fileInfoClass() = default;
  // Closes the file and the search.
  ~fileInfoClass();
  fileInfoClass(const fileInfoClass&) = delete;
  fileInfoClass& operator=(const fileInfoClass&) = delete;

  // Keeps the path, reads its attributes and, for an existing file, opens it
  // for reading (others may read too) and reads its information. The file
  // stays open until close. With report 1, a missing path or a file that
  // does not open is reported.
  bool get(const char* path, int report);
  // Reads up to count bytes from the open file: the bytes read, 0 when no
  // file is open or the read fails.
  uint32_t read(void* buffer, uint32_t count);
  // The system's comparison of time with the last-write time: -1, 0, 1;
  // -2 (reported) when no file is open.
  int compare_last_write(const FILETIME& time);
  FILETIME last_write_utc() const { return info_.ftLastWriteTime; }
  // The last-write time in local time.
  FILETIME last_write();
  // The local last-write time as "05Mar2004 13:45:10" (seconds at the
  // file system's 2-second resolution); empty (reported) on failure.
  void last_write_text(char* buffer, size_t size);
  uint64_t size() const { return (static_cast<uint64_t>(info_.nFileSizeHigh) << 32) | info_.nFileSizeLow; }
  DWORD attributes() const { return attributes_; }
  const char* path() const { return path_ ? path_ : ""; }

  // Starts a search; the first name found, or null (silent for a missing
  // file, folder or folder name; reported otherwise).
  const char* find_first(const char* pattern);
  // The next name, or null: at the end the search is closed silently.
  const char* find_next();
  bool found_is_directory() const { return (found_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

  // Closes the file.
  void close();

  // 1 when the two paths name the same place, 2 when b lies inside folder
  // a, else 0 (full paths, compared upper-cased).
  static int path_relation(const char* a, const char* b);

 private:
  void close_search();

  char* path_ = nullptr;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  DWORD attributes_ = INVALID_FILE_ATTRIBUTES;
  BY_HANDLE_FILE_INFORMATION info_ = {};
  HANDLE search_ = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA found_ = {};
};

#endif
