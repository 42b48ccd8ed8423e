// The numeric value entry page "Edit Numeric Value" (dialog 133): a number
// entered with the soft keys as a leading digit, a tenths digit and a
// power of ten, and a YES/NO switch that decides whether it is taken.
// The value of the fields is sign(leading) x (|leading| + 0.1 x tenths) x
// 10^exponent. Keys reach it as PAGE_KEY_UP, PAGE_KEY_DOWN, PAGE_KEY_TAB,
// PAGE_KEY_DONE; PAGE_CLOSE closes it. On done with "YES" the target takes
// the value and the window that asked is sent WM_USER
// (MAIN_INTERNAL_COMMAND, VALUE_STORED); the main dialog is then posted
// MAIN_INTERNAL_COMMAND with VALUE_PAGE_DONE (the page closes) either way.
#ifndef HANDHELD_UI_PAGES_VALUE_ENTRY_PAGE_H
#define HANDHELD_UI_PAGES_VALUE_ENTRY_PAGE_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"

const int VALUE_ENTRY_DIALOG = 133;
const int VALUE_CAPTION = 1101;
const int VALUE_TEXT = 1102;
const int VALUE_UNIT = 1104;
const int VALUE_LEADING = 1043;
const int VALUE_TENTHS = 1045;
const int VALUE_EXPONENT = 1044;
const int VALUE_UPDATE = 1103;

// Sent back to the window that asked for the value.
const LPARAM VALUE_STORED = 33;     // WM_USER (MAIN_INTERNAL_COMMAND, this) to the window that asked

// Store the request (one at a time; a new one replaces it) and ask the
// main dialog for the entry's menu, whose page opens the dialog. unit may
// be null.
void edit_integer_value(int* target, const wchar_t* caption, const wchar_t* unit, HWND notify);
void edit_double_value(double* target, const wchar_t* caption, const wchar_t* unit, HWND notify);

INT_PTR CALLBACK valueEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The split of a value into its three fields: the exponent of its
// magnitude's leading digit, the leading digit with the value's sign, and
// the tenths digit.
struct valueFields {
  int leading;
  int tenths;
  int exponent;
};
valueFields split_value(double value);
double fields_value(const valueFields& fields);

#endif
