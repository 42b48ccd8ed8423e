// A stack of folders: each push keeps the folder part of a path.
#ifndef DESKTOP_WINLIB_FILES_PATH_STACK_H
#define DESKTOP_WINLIB_FILES_PATH_STACK_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"

class pathStackClass {
 public:
  // A stack of capacity N holds N - 1 folders.
  explicit pathStackClass(int32_t capacity);
  ~pathStackClass();
  pathStackClass(const pathStackClass&) = delete;
  pathStackClass& operator=(const pathStackClass&) = delete;

  // Pushes the folder part of path and returns it; null ("*** PATH STACK
  // OVERFLOW ***") when full.
  const char* push_path(const char* path);
  // Removes the top folder and returns it (valid until the next pop); null
  // ("*** PATH STACK UNDERFLOW ***") when empty.
  const char* pop_path();
  // The top folder, "" when empty.
  const char* top_path() const;
  int32_t depth() const { return depth_; }

 private:
  int32_t capacity_;
  int32_t depth_ = 0;
  byteObjectClass* folders_;
  byteObjectClass popped_;
};

#endif
