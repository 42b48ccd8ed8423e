#include "handheld/engine/stimulator/main_dialog_post.h"

#include <mutex>

namespace {

std::mutex poster_lock;
mainDialogPoster current = {nullptr, nullptr};

}  // namespace

mainDialogPoster set_main_dialog_poster(mainDialogPoster poster) {
  std::lock_guard<std::mutex> hold(poster_lock);
  mainDialogPoster previous = current;
  current = poster.post != nullptr ? poster : mainDialogPoster{nullptr, nullptr};
  return previous;
}

bool post_to_dialog(int target, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  std::lock_guard<std::mutex> hold(poster_lock);
  if (current.post == nullptr) return false;
  return current.post(current.context, target, message, wparam, lparam);
}

bool post_to_main_dialog(uintptr_t wparam, intptr_t lparam) {
  return post_to_dialog(NOTICE_MAIN_DIALOG, MAIN_DIALOG_NOTICE, wparam, lparam);
}

bool post_command_to_main_dialog(uintptr_t wparam, intptr_t lparam) {
  return post_to_dialog(NOTICE_MAIN_DIALOG, NOTICE_WM_COMMAND, wparam, lparam);
}
