// rFileClass: a file opened by folder and name, read and written in raw
// blocks through the system's file handle.
#ifndef DESKTOP_WINLIB_FILES_RFILE_H
#define DESKTOP_WINLIB_FILES_RFILE_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"

// Mode bits of rFileClass::open; a mode carries one of rfile_open_always
// and rfile_open_existing.
constexpr uint16_t rfile_read = 1;
constexpr uint16_t rfile_write = 2;
constexpr uint16_t rfile_open_always = 4;    // open, or create when missing
constexpr uint16_t rfile_open_existing = 8;  // open an existing file only
constexpr uint16_t rfile_share_read = 16;

class rFileClass {
 public:
  rFileClass() = default;
  // Closes the file.
  ~rFileClass();
  rFileClass(const rFileClass&) = delete;
  rFileClass& operator=(const rFileClass&) = delete;

  // Opens folder\name (name alone without a folder); an open file is closed
  // first. A failure is reported unless quiet.
  bool open(const char* folder, const char* name, uint16_t mode, bool quiet = false);
  // Bytes read; 0 when not open; 0xFFFFFFFF (reported) when the read fails.
  uint32_t read(void* buffer, uint32_t count);
  // Bytes written; 0 when not open or (reported) when the write fails.
  uint32_t write(const void* buffer, uint32_t count);
  // Closes the file; 1 when it was not open.
  int close();

  const char* name() const { return name_.text(); }
  uint16_t mode() const { return mode_; }
  bool is_open() const { return open_ != 0; }

 private:
  byteObjectClass name_;
  uint16_t mode_ = 0;
  uint8_t open_ = 0;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

#endif
