#include "desktop/winlib/containers/string_list.h"

#include <new>

stringListClass::~stringListClass() { delete_list_items(this); }

byteObjectClass* stringListClass::append(const char* text) {
  byteObjectClass* copy = new (std::nothrow) byteObjectClass(text);
  if (!copy) return nullptr;
  if (!add(copy, 0)) {
    delete copy;
    return nullptr;
  }
  return copy;
}
