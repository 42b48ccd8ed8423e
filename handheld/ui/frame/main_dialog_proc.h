// The main dialog (resource 104): the program's permanent window with the
// four soft keys. It starts the unit up, receives every notice of the
// worker threads and the stimulator (WM_USER) and every key (WM_COMMAND,
// handed to the current menu).
#ifndef HANDHELD_UI_FRAME_MAIN_DIALOG_PROC_H
#define HANDHELD_UI_FRAME_MAIN_DIALOG_PROC_H

#include <windows.h>

#include <atomic>

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Cleared by start-up; the first paint after it asks the stimulator for
// its version again.
extern std::atomic<bool> first_paint_done;

#endif
