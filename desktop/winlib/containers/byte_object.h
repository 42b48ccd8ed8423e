// byteObjectClass: the growable byte buffer that is also the library's text
// string. Its block always holds a NUL after the content, so the same object
// serves raw bytes and text; the content itself may hold NUL bytes.
//
// Every operation stays inside the block: indexes outside the content give
// 0 or are clamped, null sources are empty, and a buffer may be set from or
// appended with its own text.
#ifndef DESKTOP_WINLIB_CONTAINERS_BYTE_OBJECT_H
#define DESKTOP_WINLIB_CONTAINERS_BYTE_OBJECT_H

#include <cstdint>

#include "desktop/winlib/containers/list_payload.h"

class byteObjectClass : public listPayload {
 public:
  byteObjectClass() : byteObjectClass(nullptr, 0) {}
  byteObjectClass(const void* data, int32_t n);
  explicit byteObjectClass(const char* text);
  byteObjectClass(const byteObjectClass& other);
  byteObjectClass& operator=(const byteObjectClass& other);
  ~byteObjectClass() override;

  // Releases the block: capacity and length 0, no text.
  void release_block();

  // Content setters; each returns the text.
  const char* set_bytes(const void* data, int32_t n);
  const char* append_bytes(const void* data, int32_t n);
  const char* set(const char* text);          // null or "" empties the buffer
  const char* copy_string(const char* text);  // null empties the buffer
  const char* append(const char* text);       // null or "" leaves it unchanged
  const char* append_char(char c);
  const char* append_object(const byteObjectClass& other);
  const char* assign(const byteObjectClass& other);
  // Characters first..last (inclusive, 0-based) of source. first -1 means 0,
  // last -1 means the source's last character; a last index past the source
  // is taken as its last character; nothing left to copy empties the buffer.
  const char* set_substring(const char* source, int32_t first, int32_t last);
  const char* set_substring(const byteObjectClass& source, int32_t first, int32_t last);
  const char* set_int(int value);

  int to_int() const;  // 0 for a text that does not begin with a number
  void to_upper();
  void trim_right();  // trailing blanks, tabs and NULs; index 0 stays
  void trim();        // trim_right, then leading blanks and tabs

  char last_char() const;             // 0 when empty
  char char_at(int32_t index) const;  // 1-based; 0 outside the content
  char pop_char();                    // removes and returns the last byte; 0 when empty

  bool equals(const char* text) const;
  bool equals_nocase(const char* text) const;
  bool equals(const byteObjectClass& other) const;

  const char* text() const { return text_ ? text_ : ""; }
  int32_t length() const { return length_; }
  int32_t capacity() const { return capacity_; }

  // The content for display: bytes 32..127 as they are, others as "[%2.2x]".
  // One buffer shared by all calls, valid until the next call.
  virtual const char* printable() const;

 private:
  // A new block (null, reported, when out of memory); adopt releases the old
  // block and takes the new one.
  static char* allocate(int32_t size);
  void adopt(char* block, int32_t size);

  int32_t capacity_ = 0;
  int32_t length_ = 0;
  char* text_ = nullptr;
};

// Writes title and a hex and character dump of data (16 bytes a line) to
// the debug log.
void hex_dump(const char* title, const void* data, int count);

#endif
