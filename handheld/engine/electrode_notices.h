// How the electrode threads tell the user interface that results are ready:
// the completion command WM_COMMAND (11, 52) to the main dialog, and WM_USER
// code 2 to the top dialog (the electrode check window). The user interface
// installs a poster; tests install their own. Until one is installed,
// notices are dropped.
#ifndef ELECTRODE_NOTICES_H
#define ELECTRODE_NOTICES_H

#include <stdint.h>

enum electrodeNoticeTarget { NOTICE_MAIN_DIALOG = 0, NOTICE_TOP_DIALOG = 1 };

const uint32_t NOTICE_WM_COMMAND = 0x0111;
const uint32_t NOTICE_WM_USER = 1024;
const uintptr_t ELECTRODE_DONE_COMMAND = 11u | (52u << 16);  // id 11, code 52
const uintptr_t ELECTRODE_VALUES_READY = 2;

struct electrodeNoticePoster {
  // True when the message was posted.
  bool (*post)(void* context, int target, uint32_t message, uintptr_t wparam, intptr_t lparam);
  void* context;
};

// Installs the poster (null post: drop everything); returns the previous one.
electrodeNoticePoster set_electrode_notice_poster(electrodeNoticePoster poster);
bool post_electrode_notice(int target, uint32_t message, uintptr_t wparam, intptr_t lparam);

#endif
