#include "worker_event.h"

#include <chrono>

void workerEvent::set() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    signalled_ = true;
  }
  changed_.notify_one();
}

bool workerEvent::wait(int timeout_ms) {
  std::unique_lock<std::mutex> hold(lock_);
  if (timeout_ms < 0) {
    changed_.wait(hold, [this] { return signalled_; });
  } else if (!changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms),
                                [this] { return signalled_; })) {
    return false;
  }
  signalled_ = false;
  return true;
}
