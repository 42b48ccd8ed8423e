// The main dialog: the program's permanent window, owner of the soft keys
// and the receiver of every page and worker notification.
#ifndef HANDHELD_UI_MAIN_DIALOG_H
#define HANDHELD_UI_MAIN_DIALOG_H

#include <windows.h>

// Null until the main dialog exists.
extern HWND main_dialog;

#endif
