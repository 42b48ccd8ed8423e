// An in-process serial line for tests: what the unit wrote, bytes to feed
// its reads, and a way to make every read fail.
#ifndef HANDHELD_ENGINE_TESTS_FAKE_SERIAL_ENDPOINT_H
#define HANDHELD_ENGINE_TESTS_FAKE_SERIAL_ENDPOINT_H

#include <atomic>
#include <chrono>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "handheld/engine/stimulator/serial_port.h"

class fake_serial_endpoint : public serial_endpoint {
 public:
  size_t write(const uint8_t* bytes, size_t n) override {
    std::lock_guard<std::mutex> hold(lock_);
    written_.insert(written_.end(), bytes, bytes + n);
    return n;
  }
  int read(uint8_t* out, size_t max, const std::atomic<bool>& cancelled) override {
    ++reads;
    if (failing) return -1;
    while (!cancelled) {
      {
        std::lock_guard<std::mutex> hold(lock_);
        if (!incoming_.empty()) {
          size_t n = 0;
          while (n < max && !incoming_.empty()) {
            out[n++] = incoming_.front();
            incoming_.pop_front();
          }
          return static_cast<int>(n);
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
  }
  void feed(const std::vector<uint8_t>& bytes) {
    std::lock_guard<std::mutex> hold(lock_);
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> written() {
    std::lock_guard<std::mutex> hold(lock_);
    return written_;
  }

  std::atomic<bool> failing{false};
  std::atomic<int> reads{0};

 private:
  std::mutex lock_;
  std::vector<uint8_t> written_;
  std::deque<uint8_t> incoming_;
};

#endif
