// A bound on work that must end: a watchdog thread ends the whole test
// program with a message naming the work when it has not ended within the
// bound. The bound is generous (minutes): it tells a loop from slow work on
// a loaded machine, and an ordinary run never comes near it.
#ifndef DESKTOP_WINLIB_TESTS_WATCHDOG_H
#define DESKTOP_WINLIB_TESTS_WATCHDOG_H

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

class watchdog {
 public:
  explicit watchdog(std::string work, std::chrono::seconds bound = std::chrono::seconds(180))
      : work_(std::move(work)), thread_([this, bound] { watch(bound); }) {}
  ~watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ended_ = true;
    }
    ended_signal_.notify_one();
    thread_.join();
  }
  watchdog(const watchdog&) = delete;
  watchdog& operator=(const watchdog&) = delete;

 private:
  void watch(std::chrono::seconds bound) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (ended_signal_.wait_for(lock, bound, [this] { return ended_; })) return;
    std::fprintf(stderr, "\n*** %s did not end within %lld s: a loop ***\n", work_.c_str(),
                 static_cast<long long>(bound.count()));
    std::fflush(stderr);
    std::abort();
  }

  std::string work_;
  std::mutex mutex_;
  std::condition_variable ended_signal_;
  bool ended_ = false;
  std::thread thread_;
};

#endif
