// A small growable text: the remote-control line's typed line and its words.
// The buffer owns a NUL-terminated character array; its text is never null.
#ifndef HANDHELD_ENGINE_REMOTE_TEXT_BUFFER_H
#define HANDHELD_ENGINE_REMOTE_TEXT_BUFFER_H

#include <stddef.h>

class textBuffer {
 public:
  textBuffer() = default;
  ~textBuffer();
  textBuffer(const textBuffer&) = delete;
  textBuffer& operator=(const textBuffer&) = delete;

  // n > 0 and bytes non-null: the n bytes become the text (the array grows to
  // exactly n + 1 bytes when it is smaller). Otherwise the text is emptied.
  void assign(const char* bytes, int n);
  // A NUL-terminated text, or empty for null.
  void assign_text(const char* text);
  // Adds n bytes after the text (growing to length + n + 9 when fewer than
  // length + n + 2 bytes are allocated); null bytes or n <= 0 change nothing.
  void append(const char* bytes, int n);
  void append_text(const char* text);

  // The text read with "%d"; 0 when empty or not a number.
  int to_int() const;
  // Removes the last character and returns it; 0 when empty.
  char pop_last();

  const char* text() const { return text_ != nullptr ? text_ : ""; }
  int length() const { return length_; }
  int capacity() const { return capacity_; }
  bool empty() const { return length_ == 0; }

 private:
  void reallocate(int capacity);

  int capacity_ = 0;
  int length_ = 0;
  char* text_ = nullptr;
};

// The bytes as text: every byte below 32 or above 127 as "[%2.2x]", every
// other byte as itself. The result lives in a buffer of the calling thread,
// valid until that thread's next call.
const char* printable(const unsigned char* bytes, size_t n);

#endif
