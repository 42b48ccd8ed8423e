// How the engine's threads notify the main dialog: WM_USER (1024) messages
// whose wParam gives the kind and lParam the value, posted and never waited
// for. The user interface installs a poster that posts to its main dialog
// (window_main_dialog_poster, main_window_link.h); tests install a
// main_dialog_post_capture. Until one is installed, posts are dropped.
#ifndef MAIN_DIALOG_POST_H
#define MAIN_DIALOG_POST_H

#include <stdint.h>

const uint32_t MAIN_DIALOG_NOTICE = 1024;  // WM_USER

// wParam kinds posted by the engine.
const uintptr_t NOTICE_STIMULATOR_BYTE = 1;     // lParam: one byte from the stimulator
const uintptr_t NOTICE_STIMULATOR_MESSAGE = 4;  // lParam: the id of a complete message
const uintptr_t NOTICE_TIMER_EVENT = 25;        // lParam: the timer's id

struct mainDialogPoster {
  // True when the message was posted.
  bool (*post)(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam);
  void* context;
};

// Installs the poster (null post: drop everything); returns the previous one.
// Safe from any thread.
mainDialogPoster set_main_dialog_poster(mainDialogPoster poster);

// Posts WM_USER with wparam and lparam to the main dialog; false when it was
// not posted.
bool post_to_main_dialog(uintptr_t wparam, intptr_t lparam);

#endif
