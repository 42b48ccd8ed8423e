// What the main dialog does with the notices other threads post it
// (WM_USER, the kind in wParam, the value in lParam): the stimulator's
// bytes (its keys act as the soft keys) and complete messages, timer
// events and queued menu changes.
#ifndef HANDHELD_UI_FRAME_NOTICES_H
#define HANDHELD_UI_FRAME_NOTICES_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"

// 1 when handled, 0 for an unknown kind (and for a message the unit could
// not take).
INT_PTR handle_main_notice(WPARAM kind, LPARAM value);

// Complete messages whose notices have not come yet are forgotten (start-up).
void forget_completed_messages();

#endif
