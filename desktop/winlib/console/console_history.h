// The debug console's ring of the last 30 lines, with a browse position for
// the Up and Down keys. Portable.
#ifndef DESKTOP_WINLIB_CONSOLE_CONSOLE_HISTORY_H
#define DESKTOP_WINLIB_CONSOLE_CONSOLE_HISTORY_H

#include "desktop/winlib/containers/byte_object.h"

class consoleHistory {
 public:
  static constexpr int size = 30;

  // Stores text as the latest line; the entry after it is emptied and
  // browsing ends.
  void add(const char* text);
  // One line back (Up) or forward (Down) from the browse position (from the
  // latest line when not browsing), wrapping round the ring: the line
  // without the "> " it starts with, or "" for a line shorter than 3.
  const char* previous();
  const char* next();
  // The k-th most recent line (0: the latest).
  const char* get(int k) const;

  int write_index() const { return write_; }
  int browse_index() const { return browse_; }

 private:
  const char* without_prompt(int index);

  byteObjectClass entries_[size];
  int write_ = 0;
  int browse_ = -1;
};

// The positive remainder of value by size (the ring's index arithmetic).
inline int ring_index(int value, int size) { return ((value % size) + size) % size; }

#endif
