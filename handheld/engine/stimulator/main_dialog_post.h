// How the engine's threads notify the user interface's dialogs: messages
// posted, never waited for, to the main dialog or to the dialog on top of
// the dialog stack (the electrode check window while it shows). WM_USER
// (1024) notices give their kind in wParam and the value in lParam; a
// WM_COMMAND gives a command id and code. The user interface installs a
// poster that posts to its windows (window_main_dialog_poster,
// main_window_link.h); tests install a main_dialog_post_capture. Until one
// is installed, posts are dropped.
#ifndef MAIN_DIALOG_POST_H
#define MAIN_DIALOG_POST_H

#include <stdint.h>

// Where a notice goes.
enum dialogTarget { NOTICE_MAIN_DIALOG = 0, NOTICE_TOP_DIALOG = 1 };

const uint32_t NOTICE_WM_COMMAND = 0x0111;
const uint32_t MAIN_DIALOG_NOTICE = 1024;  // WM_USER

// WM_USER kinds posted to the main dialog.
const uintptr_t NOTICE_STIMULATOR_BYTE = 1;     // lParam: one byte from the stimulator
const uintptr_t NOTICE_STIMULATOR_MESSAGE = 4;  // lParam: the id of a complete message
const uintptr_t NOTICE_TIMER_EVENT = 25;        // lParam: the timer's id
// WM_USER kind posted to the top dialog: the electrode monitor's values.
const uintptr_t ELECTRODE_VALUES_READY = 2;

// Commands posted to the main dialog.
const uintptr_t ELECTRODE_DONE_COMMAND = 11u | (52u << 16);  // id 11, code 52
// The code again as the command's lParam, where the main dialog's menus read
// an internal command's code.
const intptr_t ELECTRODE_DONE_CODE = 52;
const uintptr_t RUN_ENDED_COMMAND = 1004;                     // lParam 21

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
