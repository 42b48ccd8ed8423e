#include "desktop/winlib/containers/byte_object.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/messages.h"

namespace {

constexpr int32_t first_block = 8;
constexpr int32_t append_slack = 9;  // the NUL and 8 bytes to spare

bool blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

byteObjectClass::byteObjectClass(const void* data, int32_t n) {
  release_block();
  set_bytes(data, n);
}

byteObjectClass::byteObjectClass(const char* text) {
  release_block();
  set_bytes(nullptr, 0);
  set(text);
}

byteObjectClass::byteObjectClass(const byteObjectClass& other) : listPayload(other) {
  release_block();
  set_bytes(other.text_, other.length_);
}

byteObjectClass& byteObjectClass::operator=(const byteObjectClass& other) {
  assign(other);
  return *this;
}

byteObjectClass::~byteObjectClass() { release_block(); }

void byteObjectClass::release_block() {
  std::free(text_);
  text_ = nullptr;
  capacity_ = 0;
  length_ = 0;
}

char* byteObjectClass::allocate(int32_t size) {
  char* block = static_cast<char*>(std::malloc(static_cast<size_t>(size)));
  if (!block) errormessage("*** byteObjectClass: OUT OF MEMORY (%d bytes) ***", size);
  return block;
}

void byteObjectClass::adopt(char* block, int32_t size) {
  std::free(text_);
  text_ = block;
  capacity_ = size;
}

const char* byteObjectClass::set_bytes(const void* data, int32_t n) {
  if (n < 1 || !data) {
    if (!text_) {
      char* block = allocate(first_block);
      if (!block) return text();
      adopt(block, first_block);
    }
    length_ = 0;
    text_[0] = 0;
    return text_;
  }
  if (n > INT32_MAX - 1) {
    errormessage("*** byteObjectClass: OUT OF MEMORY (%d bytes) ***", n);
    return text();
  }
  if (n + 1 > capacity_) {
    // The data may lie in the old block: copy it before that goes.
    char* block = allocate(n + 1);
    if (!block) return text();
    std::memcpy(block, data, static_cast<size_t>(n));
    adopt(block, n + 1);
  } else {
    std::memmove(text_, data, static_cast<size_t>(n));
  }
  length_ = n;
  text_[n] = 0;
  return text_;
}

const char* byteObjectClass::append_bytes(const void* data, int32_t n) {
  if (length_ == 0) return set_bytes(data, n);
  if (!data || n < 1) return text();
  if (n > INT32_MAX - append_slack - length_) {
    errormessage("*** byteObjectClass: OUT OF MEMORY (%d bytes) ***", n);
    return text();
  }
  if (length_ + n + 2 > capacity_) {
    int32_t size = length_ + n + append_slack;
    char* block = allocate(size);
    if (!block) return text();
    std::memcpy(block, text_, static_cast<size_t>(length_));
    std::memcpy(block + length_, data, static_cast<size_t>(n));
    adopt(block, size);
  } else {
    std::memmove(text_ + length_, data, static_cast<size_t>(n));
  }
  length_ += n;
  text_[length_] = 0;
  return text_;
}

const char* byteObjectClass::set(const char* text) {
  if (!text || !*text) return set_bytes(nullptr, 0);
  return set_bytes(text, static_cast<int32_t>(std::strlen(text)));
}

const char* byteObjectClass::copy_string(const char* text) { return set(text); }

const char* byteObjectClass::append(const char* text) {
  if (!text || !*text) return this->text();
  return append_bytes(text, static_cast<int32_t>(std::strlen(text)));
}

const char* byteObjectClass::append_char(char c) { return append_bytes(&c, 1); }

const char* byteObjectClass::append_object(const byteObjectClass& other) {
  return append_bytes(other.text_, other.length_);
}

const char* byteObjectClass::assign(const byteObjectClass& other) {
  if (&other == this) return text();
  return set_bytes(other.text_, other.length_);
}

namespace {

// The bytes first..last of a source of length n, both clamped into it.
bool substring_range(int32_t n, int32_t& first, int32_t& last) {
  if (first < 0) first = 0;
  if (last == -1 || last >= n) last = n - 1;
  return n > 0 && first <= last;
}

}  // namespace

const char* byteObjectClass::set_substring(const char* source, int32_t first, int32_t last) {
  if (!source) return set_bytes(nullptr, 0);
  size_t n = std::strlen(source);
  if (n > static_cast<size_t>(INT32_MAX)) n = INT32_MAX;
  if (!substring_range(static_cast<int32_t>(n), first, last)) return set_bytes(nullptr, 0);
  return set_bytes(source + first, last - first + 1);
}

const char* byteObjectClass::set_substring(const byteObjectClass& source, int32_t first, int32_t last) {
  if (!substring_range(source.length_, first, last)) return set_bytes(nullptr, 0);
  return set_bytes(source.text_ + first, last - first + 1);
}

const char* byteObjectClass::set_int(int value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value);
  return set(digits);
}

int byteObjectClass::to_int() const {
  if (length_ == 0 || !text_) return 0;
  char* end = nullptr;
  long value = std::strtol(text_, &end, 10);
  if (end == text_) return 0;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void byteObjectClass::to_upper() {
  for (int32_t i = 0; i < length_; ++i) {
    text_[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(text_[i])));
  }
}

void byteObjectClass::trim_right() {
  for (int32_t i = length_ - 1; i >= 1; --i) {
    if (text_[i] != 0 && !blank(text_[i])) break;
    text_[i] = 0;
    --length_;
  }
}

void byteObjectClass::trim() {
  trim_right();
  int32_t lead = 0;
  while (lead < length_ && blank(text_[lead])) ++lead;
  if (lead == 0 || lead == length_) return;
  std::memmove(text_, text_ + lead, static_cast<size_t>(length_ - lead));
  length_ -= lead;
  text_[length_] = 0;
}

char byteObjectClass::last_char() const { return length_ > 0 ? text_[length_ - 1] : 0; }

char byteObjectClass::char_at(int32_t index) const {
  if (index < 1 || index > length_) return 0;
  return text_[index - 1];
}

char byteObjectClass::pop_char() {
  if (length_ < 1) return 0;
  char c = text_[--length_];
  text_[length_] = 0;
  return c;
}

bool byteObjectClass::equals(const char* other) const {
  return other && std::strcmp(text(), other) == 0;
}

bool byteObjectClass::equals_nocase(const char* other) const {
  if (!other) return false;
  const unsigned char* a = reinterpret_cast<const unsigned char*>(text());
  const unsigned char* b = reinterpret_cast<const unsigned char*>(other);
  for (;; ++a, ++b) {
    if (std::tolower(*a) != std::tolower(*b)) return false;
    if (!*a) return true;
  }
}

bool byteObjectClass::equals(const byteObjectClass& other) const {
  return length_ == other.length_ &&
         (length_ == 0 || std::memcmp(text_, other.text_, static_cast<size_t>(length_)) == 0);
}

const char* byteObjectClass::printable() const {
  static std::string shown;
  shown.clear();
  char hex[8];
  for (int32_t i = 0; i < length_; ++i) {
    unsigned char c = static_cast<unsigned char>(text_[i]);
    if (c >= 32 && c <= 127) {
      shown.push_back(static_cast<char>(c));
    } else {
      std::snprintf(hex, sizeof hex, "[%2.2x]", c);
      shown += hex;
    }
  }
  return shown.c_str();
}
