// The directory dialog (resource 132): browses the storage card's test
// folders and stored tests with the menu keys, shows a test, deletes a
// test's files or an empty folder. Its list is box 1019, its texts 1099,
// 1100 and 1101. The confirmation dialog (resource 202) asks before an
// empty folder is deleted.
#ifndef HANDHELD_UI_DIRECTORY_DIALOG_H
#define HANDHELD_UI_DIRECTORY_DIALOG_H

#include <windows.h>

#include <string>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/storage/stored_records.h"

constexpr int DIRECTORY_DIALOG = 132;
constexpr int DELETE_FOLDER_DIALOG = 202;
constexpr int DIRECTORY_LIST = 1019;
constexpr int DIRECTORY_TEXT_1 = 1099;
constexpr int DIRECTORY_TEXT_2 = 1100;
constexpr int DIRECTORY_TEXT_3 = 1101;

INT_PTR CALLBACK directoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK deleteFolderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The test last shown in the dialog, and its channel (0 A, 1 B).
testFileRecord& browsed_test_record();
int browsed_test_channel();

// Adds the names matching a unit path pattern, without their extension, to
// a list box: appended at position -1, else inserted there. The count added.
int list_files_to_listbox(HWND dialog, int item, const std::wstring& pattern, int position);

// Empties the list and fills it with "^", the folders and the tests of a
// unit folder; the count excludes "^".
int fill_folder_list(HWND dialog, int item, const std::wstring& folder);

// The list box's text at a position ("" when there is none).
std::wstring list_text(HWND dialog, int item, int position);

#endif
