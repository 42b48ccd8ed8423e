#include "desktop/winlib/files/path_stack.h"

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/files/path_names.h"

pathStackClass::pathStackClass(int32_t capacity)
    : capacity_(capacity > 0 ? capacity : 0), folders_(new byteObjectClass[capacity_ > 0 ? capacity_ : 1]) {}

pathStackClass::~pathStackClass() { delete[] folders_; }

const char* pathStackClass::push_path(const char* path) {
  if (depth_ >= capacity_ - 1) {
    errormessage("*** PATH STACK OVERFLOW ***");
    return nullptr;
  }
  path_directory(path, folders_[depth_]);
  return folders_[depth_++].text();
}

const char* pathStackClass::pop_path() {
  if (depth_ < 1) {
    errormessage("*** PATH STACK UNDERFLOW ***");
    return nullptr;
  }
  popped_.assign(folders_[--depth_]);
  folders_[depth_].set("");
  return popped_.text();
}

const char* pathStackClass::top_path() const { return depth_ > 0 ? folders_[depth_ - 1].text() : ""; }
