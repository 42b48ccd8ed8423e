// stringListClass: an r_list that owns its byteObjectClass texts.
#ifndef DESKTOP_WINLIB_CONTAINERS_STRING_LIST_H
#define DESKTOP_WINLIB_CONTAINERS_STRING_LIST_H

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/containers/r_list.h"

class stringListClass : public r_list<byteObjectClass> {
 public:
  stringListClass() : r_list<byteObjectClass>("nameless") {}
  // Deletes every text, then empties the list.
  ~stringListClass() override;

  r_list<byteObjectClass>& list() { return *this; }
  // Appends an owned copy of text (null gives an empty text); returns the
  // copy, or null when the list refused it.
  byteObjectClass* append(const char* text);
};

#endif
