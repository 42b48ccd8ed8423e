// The seam for modal user interface: every message box (and, as they come,
// every file, font and print dialog, pop-up menu and dialog that waits for a
// person) is called through one replaceable table. A program installs the
// real calls (the default); tests install a modal_capture, which records each
// call and answers it from a script, so no test ever waits for a person.
#ifndef PLATFORM_MODAL_MODAL_UI_H
#define PLATFORM_MODAL_MODAL_UI_H

#include <windows.h>

struct modal_ui_calls {
  int (*message_box_w)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
  int (*message_box_a)(HWND owner, const char* text, const char* caption, UINT type);
  // A modal dialog from a template of the instance's resources.
  INT_PTR (*dialog_box_param_a)(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param);
};

// The calls in force. Never null entries.
const modal_ui_calls& modal_ui();
// Replaces the table; returns the one it replaced.
modal_ui_calls modal_ui_install(const modal_ui_calls& calls);
// The platform's own calls.
const modal_ui_calls& modal_ui_platform();

// What programs call.
int modal_message_box(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
int modal_message_box(HWND owner, const char* text, const char* caption, UINT type);
INT_PTR modal_dialog_box(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param);

#endif
