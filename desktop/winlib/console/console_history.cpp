#include "desktop/winlib/console/console_history.h"

void consoleHistory::add(const char* text) {
  entries_[write_].set(text);
  write_ = ring_index(write_ + 1, size);
  entries_[write_].set(nullptr);
  browse_ = -1;
}

const char* consoleHistory::without_prompt(int index) {
  const byteObjectClass& entry = entries_[index];
  if (entry.length() < 3) return "";
  return entry.text() + 2;
}

const char* consoleHistory::previous() {
  browse_ = ring_index((browse_ >= 0 ? browse_ : write_) - 1, size);
  return without_prompt(browse_);
}

const char* consoleHistory::next() {
  browse_ = browse_ >= 0 ? ring_index(browse_ + 1, size) : write_;
  return without_prompt(browse_);
}

const char* consoleHistory::get(int k) const {
  const char* text = entries_[ring_index(write_ - 1 - k, size)].text();
  return text != nullptr ? text : "";
}
