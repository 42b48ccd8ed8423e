// How the engine's threads notify the user interface's dialogs: messages
// posted, never waited for, to the main dialog or to the dialog on top of
// the dialog stack (the electrode check window while it shows). WM_USER
// (1024) notices give their kind in wParam and the value in lParam; a
// WM_COMMAND gives a command id and code. The user interface installs a
// poster that posts to its windows (window_main_dialog_poster,
// main_window_link.h); tests install a main_dialog_post_capture. Until one
// is installed, posts are dropped.
#ifndef HANDHELD_ENGINE_STIMULATOR_MAIN_DIALOG_POST_H
#define HANDHELD_ENGINE_STIMULATOR_MAIN_DIALOG_POST_H

#include <stdint.h>

#include "handheld/engine/ids/handheld_ids.h"

// Where a notice goes.
enum dialogTarget { NOTICE_MAIN_DIALOG = 0, NOTICE_TOP_DIALOG = 1 };

const uint32_t NOTICE_WM_COMMAND = 0x0111;
const uint32_t MAIN_DIALOG_NOTICE = 1024;  // WM_USER

// The internal command that ends an electrode measurement, with its code
// also in the command's high word.
const uintptr_t ELECTRODE_DONE_COMMAND =
    static_cast<uintptr_t>(MAIN_INTERNAL_COMMAND) | (static_cast<uintptr_t>(ELECTRODE_DONE_CODE) << 16);

struct mainDialogPoster {
  // True when the message was posted.
  bool (*post)(void* context, int target, uint32_t message, uintptr_t wparam, intptr_t lparam);
  void* context;
};

// Installs the poster (null post: drop everything); returns the previous one.
// Safe from any thread.
mainDialogPoster set_main_dialog_poster(mainDialogPoster poster);

// Posts message to the target; false when it was not posted.
bool post_to_dialog(int target, uint32_t message, uintptr_t wparam, intptr_t lparam);
// WM_USER with wparam and lparam to the main dialog.
bool post_to_main_dialog(uintptr_t wparam, intptr_t lparam);
// WM_COMMAND with wparam and lparam to the main dialog.
bool post_command_to_main_dialog(uintptr_t wparam, intptr_t lparam);

#endif
