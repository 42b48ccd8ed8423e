#include "handheld/engine/remote/text_buffer.h"

#include <cstdio>
#include <cstring>
#include <string>

textBuffer::~textBuffer() { delete[] text_; }

void textBuffer::reallocate(int capacity) {
  char* grown = new char[capacity];
  grown[0] = '\0';
  delete[] text_;
  text_ = grown;
  capacity_ = capacity;
}

void textBuffer::assign(const char* bytes, int n) {
  if (n > 0 && bytes != nullptr) {
    if (capacity_ < n + 1) reallocate(n + 1);
    std::memmove(text_, bytes, static_cast<size_t>(n));
    text_[n] = '\0';
    length_ = n;
    return;
  }
  length_ = 0;
  if (text_ == nullptr) reallocate(8);
  text_[0] = '\0';
}

void textBuffer::assign_text(const char* text) {
  assign(text, text != nullptr ? static_cast<int>(std::strlen(text)) : 0);
}

void textBuffer::append(const char* bytes, int n) {
  if (length_ == 0) {
    assign(bytes, n);
    return;
  }
  if (bytes == nullptr || n <= 0) return;
  if (capacity_ < length_ + n + 2) {
    // The bytes may lie in the old array: both are copied before it is freed.
    const int capacity = length_ + n + 9;
    char* grown = new char[capacity];
    std::memcpy(grown, text_, static_cast<size_t>(length_));
    std::memcpy(grown + length_, bytes, static_cast<size_t>(n));
    delete[] text_;
    text_ = grown;
    capacity_ = capacity;
  } else {
    std::memmove(text_ + length_, bytes, static_cast<size_t>(n));
  }
  length_ += n;
  text_[length_] = '\0';
}

void textBuffer::append_text(const char* text) {
  if (text != nullptr && text[0] != '\0') append(text, static_cast<int>(std::strlen(text)));
}

int textBuffer::to_int() const {
  int value = 0;
  if (length_ == 0 || std::sscanf(text_, "%d", &value) != 1) return 0;
  return value;
}

char textBuffer::pop_last() {
  if (length_ == 0) return 0;
  --length_;
  const char last = text_[length_];
  text_[length_] = '\0';
  return last;
}

const char* printable(const unsigned char* bytes, size_t n) {
  thread_local std::string text;
  text.clear();
  if (bytes == nullptr) return text.c_str();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = bytes[i];
    if (b < 32 || b > 127) {
      char code[8];
      std::snprintf(code, sizeof code, "[%2.2x]", b);
      text += code;
    } else {
      text += static_cast<char>(b);
    }
  }
  return text.c_str();
}
