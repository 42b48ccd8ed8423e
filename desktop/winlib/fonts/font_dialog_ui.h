// The seam for the font dialog: one replaceable table of calls, in the manner
// of the message boxes' modal seam and the file dialogs' table. The program
// uses the platform's dialog (the default); tests install scripted calls
// that fill the dialog record as a person would, so no test waits for a
// person.
#ifndef DESKTOP_WINLIB_FONTS_FONT_DIALOG_UI_H
#define DESKTOP_WINLIB_FONTS_FONT_DIALOG_UI_H

#include <windows.h>

#include <commdlg.h>

struct font_dialog_calls {
  BOOL (*choose_font)(CHOOSEFONTA* record);
  // The reason of the last failure (a CDERR_ or CFERR_ code; 0 for a cancel).
  DWORD (*extended_error)();
};

// The calls in force. Never null entries.
const font_dialog_calls& font_dialog_ui();
// Replaces the table (null entries take the platform's); returns the one it
// replaced.
font_dialog_calls font_dialog_ui_install(const font_dialog_calls& calls);
// The platform's own calls.
const font_dialog_calls& font_dialog_ui_platform();

#endif
