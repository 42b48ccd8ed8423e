// The session list and the test list (both on the list dialog 138: title
// 1110, list box 1019, status line 1121), and the custom test editor on
// the same template. The session list holds "GO TO TEST LIST -->" and the
// ".SES" programs of the card's root and its "TESTS" folder; the test list
// the ".TES" programs of both. The highlighted entry's program is read as
// the preview; choosing an entry makes the preview the program to run.
// Keys reach the lists as PAGE_KEY_UP, PAGE_KEY_DOWN, PAGE_SELECT (edit),
// PAGE_KEY_DONE, MAIN_INTERNAL_COMMAND (a value stored) and PAGE_CLOSE; a
// list reports by posting the main dialog MAIN_INTERNAL_COMMAND with
// LIST_OPEN_NEXT (open the next list or the editor) or LIST_PROGRAM_CHOSEN.
#ifndef HANDHELD_UI_PAGES_PROGRAM_LISTS_PAGE_H
#define HANDHELD_UI_PAGES_PROGRAM_LISTS_PAGE_H

#include <windows.h>

#include <string>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/storage/stored_records.h"

const int LIST_DIALOG = 138;
const int LIST_TITLE = 1110;
const int LIST_BOX = 1019;
const int LIST_STATUS = 1121;

// Longest file name (with its extension) a list entry may have.
const size_t LIST_NAME_CHARACTERS = 63;

INT_PTR CALLBACK sessionListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK testListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Reads the program of list entry index (session list: ".SES", else
// ".TES") from the card's root, else its "TESTS" folder, into the preview
// and shows its title; false (with a message) when it cannot.
bool preview_program(HWND dialog, int index, bool session);
programRecord& preview();
// The preview's file name and the unit path it was read from.
const std::wstring& preview_name();
const std::wstring& preview_path();

// Forgets the remembered list positions (a new run of the program).
void reset_program_lists();

#endif
