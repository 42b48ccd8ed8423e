// Records the electrode threads' notices for tests; while it lives it is
// the poster. Thread-safe.
#ifndef ELECTRODE_NOTICE_CAPTURE_H
#define ELECTRODE_NOTICE_CAPTURE_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "electrode_notices.h"

struct electrodeNotice {
  int target;
  uint32_t message;
  uintptr_t wparam;
};

class electrode_notice_capture {
 public:
  electrode_notice_capture() : previous_(set_electrode_notice_poster({&on_post, this})) {}
  ~electrode_notice_capture() { set_electrode_notice_poster(previous_); }
  electrode_notice_capture(const electrode_notice_capture&) = delete;
  electrode_notice_capture& operator=(const electrode_notice_capture&) = delete;

  std::vector<electrodeNotice> notices() const {
    std::lock_guard<std::mutex> hold(lock_);
    return notices_;
  }
  // Waits (real time) until at least count notices came; true when they did.
  bool wait_for(size_t count, int timeout_ms) const {
    std::unique_lock<std::mutex> hold(lock_);
    return posted_.wait_for(hold, std::chrono::milliseconds(timeout_ms),
                            [&] { return notices_.size() >= count; });
  }

 private:
  static bool on_post(void* context, int target, uint32_t message, uintptr_t wparam, intptr_t) {
    electrode_notice_capture* self = static_cast<electrode_notice_capture*>(context);
    {
      std::lock_guard<std::mutex> hold(self->lock_);
      self->notices_.push_back({target, message, wparam});
    }
    self->posted_.notify_all();
    return true;
  }
  mutable std::mutex lock_;
  mutable std::condition_variable posted_;
  std::vector<electrodeNotice> notices_;
  electrodeNoticePoster previous_;
};

#endif
