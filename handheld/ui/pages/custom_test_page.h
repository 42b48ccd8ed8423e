// The custom test editor (on the list dialog 138): the run configuration
// of a test whose title begins with "USER", shown as eleven rows and
// edited value by value through the numeric value entry; done builds the
// program from it and writes it back to the file it was read from. Its
// notices: PAGE_KEY_UP, PAGE_KEY_DOWN, PAGE_SELECT (edit), PAGE_KEY_DONE,
// MAIN_INTERNAL_COMMAND (a value stored) and PAGE_CLOSE.
#ifndef HANDHELD_UI_PAGES_CUSTOM_TEST_PAGE_H
#define HANDHELD_UI_PAGES_CUSTOM_TEST_PAGE_H

#include <windows.h>

#include "handheld/engine/storage/stored_records.h"

const int CUSTOM_ROWS = 11;

INT_PTR CALLBACK customTestProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the editor's rows from the run configuration.
void show_custom_rows(HWND dialog);

// Forgets the remembered row (a new run of the program).
void reset_custom_test_page();

#endif
