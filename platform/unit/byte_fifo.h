// A first-in first-out queue of bytes with a fixed depth.
#ifndef PLATFORM_UNIT_BYTE_FIFO_H
#define PLATFORM_UNIT_BYTE_FIFO_H

#include <stdint.h>

#include <array>

namespace simunit {

template <unsigned Depth>
class ByteFifo {
 public:
  bool empty() const { return count_ == 0; }
  bool full() const { return count_ == Depth; }
  unsigned size() const { return count_; }
  void clear() { head_ = count_ = 0; }
  // Callers check full() and empty() first.
  void push(uint8_t b) {
    bytes_[(head_ + count_) % Depth] = b;
    ++count_;
  }
  uint8_t pop() {
    uint8_t b = bytes_[head_];
    head_ = (head_ + 1) % Depth;
    --count_;
    return b;
  }

 private:
  std::array<uint8_t, Depth> bytes_{};
  unsigned head_ = 0;
  unsigned count_ = 0;
};

}  // namespace simunit

#endif
