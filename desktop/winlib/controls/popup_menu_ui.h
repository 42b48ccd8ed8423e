// The seam for pop-up menu tracking: one replaceable table, in the manner of
// the message boxes' modal seam and the file and font dialogs' tables. The
// program tracks menus on the platform (the default); tests install a
// scripted call that records where the menu was opened and answers with a
// command, so no test waits for a person.
#ifndef DESKTOP_WINLIB_CONTROLS_POPUP_MENU_UI_H
#define DESKTOP_WINLIB_CONTROLS_POPUP_MENU_UI_H

#include <windows.h>

struct popup_menu_calls {
  // TrackPopupMenuEx's shape: x and y are screen pixels; with TPM_RETURNCMD
  // the result is the chosen command, 0 when the menu was dismissed.
  BOOL (*track_popup_menu)(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
};

// The calls in force. Never null entries.
const popup_menu_calls& popup_menu_ui();
// Replaces the table (null entries take the platform's); returns the one it
// replaced.
popup_menu_calls popup_menu_ui_install(const popup_menu_calls& calls);
const popup_menu_calls& popup_menu_ui_platform();

// Opens menu at the screen point for owner and returns the chosen command
// (0 for none).
int track_popup_command(HMENU menu, int screen_x, int screen_y, HWND owner);

#endif
