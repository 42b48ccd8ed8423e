// The session list and the test list (both on the list dialog 138: title
// 1110, list box 1019, status line 1121), and the custom test editor on
// the same template. The session list holds "GO TO TEST LIST -->" and the
// ".SES" programs of the card's root and its "TESTS" folder; the test list
// the ".TES" programs of both. The highlighted entry's program is read as
// the preview; choosing an entry makes the preview the program to run.
// Keys reach the lists as WM_USER 18 UP, 19 DOWN, 22 SELECT (EDIT), 21
// done, 11 a value stored, 6 close; a list reports by posting the main
// dialog WM_COMMAND 11 with 19 (open the next list or the editor) or 22
// (a program was chosen).
#ifndef PROGRAM_LISTS_PAGE_H
#define PROGRAM_LISTS_PAGE_H

#include <windows.h>

#include <string>

#include "handheld_ids.h"
#include "stored_records.h"

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

// Replaces one row of a list box.
void set_list_row(HWND dialog, int item, int index, const wchar_t* text);

// The protocol-name alphabet: the index (0..36) of a character, 26 for a
// character outside it; the character of an index ('_' from 37 on).
int name_char_index(char c);
char name_char_at(int index);

// Forgets the remembered list positions (a new run of the program).
void reset_program_lists();

#endif
