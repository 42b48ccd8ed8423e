// directoryScanClass: the entries of one folder, one at a time.
#ifndef DESKTOP_WINLIB_FILES_DIRECTORY_SCAN_H
#define DESKTOP_WINLIB_FILES_DIRECTORY_SCAN_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"

class directoryScanClass {
 public:
  // Empty folder and pattern, no search.
  directoryScanClass() = default;
  // Also runs reset with path.
  explicit directoryScanClass(const char* path);
  // Closes an open search.
  ~directoryScanClass();
  directoryScanClass(const directoryScanClass&) = delete;
  directoryScanClass& operator=(const directoryScanClass&) = delete;

  // Sets the folder to the folder part of path (or keeps the folder when
  // path is null), closes an open search and makes the pattern "*". False
  // (reported) with neither a path nor a folder.
  bool reset(const char* path);
  // Starts the search on folder + pattern (a given pattern replaces the
  // kept one) and gives its first entry other than "." and ".."; null when
  // nothing matches. Refused (reported) once a search was started.
  const char* get_first_file(const char* pattern = nullptr);
  // The next entry other than "." and ".." (the first when no search is
  // open); null at the end.
  const char* next_file(const char* pattern = nullptr);
  // The next entry that is a folder.
  const char* next_directory();

  // The current entry's name, or null without a search.
  const char* current_name() const;
  // Folder + name of the current entry ("\" added for a folder) into
  // buffer; null without a search.
  const char* current_path(byteObjectClass& buffer) const;
  // Whether the current entry is a folder; false (reported) without one.
  bool is_directory() const;

  const char* folder() const { return folder_.text(); }
  const char* pattern() const { return pattern_.text(); }

 private:
  void close_search();
  // Steps over "." and ".."; false at the end.
  bool skip_dot_entries();

  byteObjectClass folder_;
  byteObjectClass pattern_;
  uint8_t first_taken_ = 0;
  HANDLE search_ = nullptr;
  WIN32_FIND_DATAA found_ = {};
};

#endif
