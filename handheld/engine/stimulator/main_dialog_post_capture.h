// Records what the engine posts to the dialogs, for tests. While it
// lives it is the poster; destroying it puts the previous one back.
// Thread-safe: worker threads post while the test reads.
#ifndef HANDHELD_ENGINE_STIMULATOR_MAIN_DIALOG_POST_CAPTURE_H
#define HANDHELD_ENGINE_STIMULATOR_MAIN_DIALOG_POST_CAPTURE_H

#include <stddef.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "handheld/engine/stimulator/main_dialog_post.h"

struct mainDialogNotice {
  int target;  // NOTICE_MAIN_DIALOG or NOTICE_TOP_DIALOG
  uint32_t message;
  uintptr_t wparam;
  intptr_t lparam;
};

class main_dialog_post_capture {
 public:
  main_dialog_post_capture();
  ~main_dialog_post_capture();
  main_dialog_post_capture(const main_dialog_post_capture&) = delete;
  main_dialog_post_capture& operator=(const main_dialog_post_capture&) = delete;

  std::vector<mainDialogNotice> notices() const;
  // Waits (real time, at most timeout_ms) until at least count notices
  // have been posted; true when they have.
  bool wait_for(size_t count, int timeout_ms) const;
  // The same for notices of one kind (their wparam) only.
  bool wait_for_kind(uintptr_t kind, size_t count, int timeout_ms) const;
  void clear();

 private:
  static bool on_post(void* context, int target, uint32_t message, uintptr_t wparam, intptr_t lparam);

  mutable std::mutex lock_;
  mutable std::condition_variable posted_;
  std::vector<mainDialogNotice> notices_;
  mainDialogPoster previous_;
};

#endif
