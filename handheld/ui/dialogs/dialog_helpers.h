// Helpers every page dialog of the unit uses: texts and numbers into and
// out of its controls, focus and list selection, a scratch text, a small
// ring of saved values and the date text of a test folder.
#ifndef HANDHELD_UI_DIALOGS_DIALOG_HELPERS_H
#define HANDHELD_UI_DIALOGS_DIALOG_HELPERS_H

#include <windows.h>

#include <stddef.h>

void set_item_focus(HWND dialog, int id, bool select);
void select_list_item(HWND dialog, int id, int index);

void set_item_text(HWND dialog, int id, const wchar_t* text);
// At most 139 characters of narrow text, widened byte by byte.
void set_item_text_narrow(HWND dialog, int id, const char* text);
void set_item_int(HWND dialog, int id, int value);
void set_item_double(HWND dialog, int id, double value);
// The control's text (at most 127 characters) read as "%d" / "%lg"; 0 when
// it holds no number.
int get_item_int(HWND dialog, int id);
double get_item_double(HWND dialog, int id);

// Formats into one scratch buffer shared by every caller (each call
// overwrites it); the text is cut at the buffer's size, never beyond.
const size_t SCRATCH_TEXT_CAPACITY = 256;
const char* format_to_scratch(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// A ring of five values: push stores at the index and advances it; pop
// steps back and returns the value there.
void push_saved_value(int value);
int pop_saved_value();

// "T" and the two-digit year, month and day of the date into buffer
// (capacity characters). A buffer of fewer than 8 characters shows "***
// DATESTRING WILL NOT FIT IN BUFFER SUPPLIED ***", gets "ERR" when it holds
// more than 3, and gives false.
bool make_date_string(const SYSTEMTIME& date, wchar_t* buffer, size_t capacity);

#endif
