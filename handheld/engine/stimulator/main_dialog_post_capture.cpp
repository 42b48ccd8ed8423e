#include "handheld/engine/stimulator/main_dialog_post_capture.h"

#include <chrono>

main_dialog_post_capture::main_dialog_post_capture() {
  previous_ = set_main_dialog_poster(mainDialogPoster{&main_dialog_post_capture::on_post, this});
}

main_dialog_post_capture::~main_dialog_post_capture() { set_main_dialog_poster(previous_); }

bool main_dialog_post_capture::on_post(void* context, int target, uint32_t message, uintptr_t wparam,
                                       intptr_t lparam) {
  main_dialog_post_capture* self = static_cast<main_dialog_post_capture*>(context);
  {
    std::lock_guard<std::mutex> hold(self->lock_);
    self->notices_.push_back(mainDialogNotice{target, message, wparam, lparam});
  }
  self->posted_.notify_all();
  return true;
}

std::vector<mainDialogNotice> main_dialog_post_capture::notices() const {
  std::lock_guard<std::mutex> hold(lock_);
  return notices_;
}

bool main_dialog_post_capture::wait_for(size_t count, int timeout_ms) const {
  std::unique_lock<std::mutex> hold(lock_);
  return posted_.wait_for(hold, std::chrono::milliseconds(timeout_ms),
                          [&] { return notices_.size() >= count; });
}

bool main_dialog_post_capture::wait_for_kind(uintptr_t kind, size_t count, int timeout_ms) const {
  std::unique_lock<std::mutex> hold(lock_);
  return posted_.wait_for(hold, std::chrono::milliseconds(timeout_ms), [&] {
    size_t n = 0;
    for (const mainDialogNotice& p : notices_) n += p.wparam == kind ? 1 : 0;
    return n >= count;
  });
}

void main_dialog_post_capture::clear() {
  std::lock_guard<std::mutex> hold(lock_);
  notices_.clear();
}
