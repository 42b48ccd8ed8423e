// The engine's notices and the stimulator message timer on the user
// interface's windows (Windows build).
#ifndef HANDHELD_ENGINE_STIMULATOR_MAIN_WINDOW_LINK_H
#define HANDHELD_ENGINE_STIMULATOR_MAIN_WINDOW_LINK_H

#include <windows.h>

#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/engine/stimulator/stimulator_message.h"

// Posts with PostMessageW to the main dialog, or to the dialog on top of it.
mainDialogPoster window_main_dialog_poster(HWND main_dialog);
// Timer 103 on the main window (SetTimer / KillTimer); its WM_TIMER goes to
// the window's timer handler.
stimulatorMessageTimer window_8051_message_timer(HWND main_window);

#endif
