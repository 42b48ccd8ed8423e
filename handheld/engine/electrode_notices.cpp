#include "electrode_notices.h"

#include <mutex>

namespace {

std::mutex poster_lock;
electrodeNoticePoster current = {nullptr, nullptr};

}  // namespace

electrodeNoticePoster set_electrode_notice_poster(electrodeNoticePoster poster) {
  std::lock_guard<std::mutex> hold(poster_lock);
  electrodeNoticePoster previous = current;
  current = poster.post != nullptr ? poster : electrodeNoticePoster{nullptr, nullptr};
  return previous;
}

bool post_electrode_notice(int target, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  std::lock_guard<std::mutex> hold(poster_lock);
  if (current.post == nullptr) return false;
  return current.post(current.context, target, message, wparam, lparam);
}
