// What the main dialog does with the notices other threads post it
// (WM_USER, the kind in wParam, the value in lParam): the stimulator's
// bytes (its keys act as the soft keys) and complete messages, timer
// events and queued menu changes.
#ifndef NOTICES_H
#define NOTICES_H

#include <windows.h>

const WPARAM NOTICE_BYTE = 1;
const WPARAM NOTICE_ID_TYPE = 3;
const WPARAM NOTICE_MESSAGE = 4;
const WPARAM NOTICE_TIMER = 25;
const WPARAM NOTICE_MENU_REQUEST = 26;

// 1 when handled, 0 for an unknown kind (and for a message the unit could
// not take).
INT_PTR handle_main_notice(WPARAM kind, LPARAM value);

// Complete messages whose notices have not come yet are forgotten (start-up).
void forget_completed_messages();

#endif
