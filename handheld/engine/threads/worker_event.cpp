#include "handheld/engine/threads/worker_event.h"

#include <chrono>
#include <exception>

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

bool eventThread::start(void (*body)()) {
  std::lock_guard<std::mutex> hold(lock_);
  if (thread_.joinable()) return true;
  quit = false;
  try {
    thread_ = std::thread(body);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void eventThread::stop(void (*before_stop)()) {
  std::lock_guard<std::mutex> hold(lock_);
  if (!thread_.joinable()) return;
  if (before_stop) before_stop();
  quit = true;
  event.set();
  thread_.join();
}
