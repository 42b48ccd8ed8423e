// Operator messages: show_message formats the text, echoes it on the
// remote-control line, keeps it in the history, logs it and asks for the
// message page, whose dialog shows the text on the colour of its kind.
#ifndef HANDHELD_UI_MESSAGE_DISPLAY_H
#define HANDHELD_UI_MESSAGE_DISPLAY_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/ui/message_text.h"

// Message dialog templates.
const int IDD_MESSAGE_SIX_LINES = 143;
const int IDD_MESSAGE_TEN_LINES = 144;
const int IDD_SHUTDOWN_WARNING = 129;

// kind: the message kind (colour); replace: the message page replaces the
// current menu level instead of being pushed over it; format: a narrow printf
// format (%s narrow text, %ls wide text), or null to show the buffer's text
// again. Safe to call from any thread.
void show_message(int kind, bool replace, const char* format, ...) MESSAGE_FORMAT(3, 4);

// The message dialogs' procedure: places the dialog by the layout, puts the
// buffer's text into the layout's control, paints the background in the
// colour of the layout's kind, and on close takes the history back.
INT_PTR CALLBACK messageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
