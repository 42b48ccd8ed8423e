// What the directory dialog shows and does, apart from its window: the
// listing of a card folder ("^", today's and earlier test folders, stored
// tests), moving through it, showing an entry, descending and climbing,
// deleting a test's files and an empty folder.
#ifndef HANDHELD_ENGINE_STORAGE_DIRECTORY_BROWSER_H
#define HANDHELD_ENGINE_STORAGE_DIRECTORY_BROWSER_H

#include <string>
#include <vector>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/storage/stored_records.h"

// WM_USER codes from the menu keys besides the page notices (PAGE_CLOSE,
// PAGE_KEY_UP, PAGE_KEY_DOWN, PAGE_SELECT).
constexpr int BROWSE_DELETE_TEST = 35;
constexpr int BROWSE_DELETE_FOLDER = 38;

// What the dialog must do after a command.
enum browseAction {
  BROWSE_NOTHING,
  BROWSE_SHOW_TEST,           // send the main dialog MAIN_INTERNAL_COMMAND with PAGE_SHOW_BROWSED_TEST
  BROWSE_ASK_DELETE_FOLDER,   // post the main dialog MAIN_INTERNAL_COMMAND with PAGE_ASK_DELETE_FOLDER
  BROWSE_DESTROY,
};

struct directoryBrowser {
  std::wstring folder;                 // the unit path being listed
  std::vector<std::wstring> entries;   // "^" first
  int position = 0;
  bool top_level = true;
  int folder_files = 0;                // entries of the selected folder
  std::wstring text_1099, text_1100, text_1101;
  int shown_channel = 0;               // of the browsed test: 0 A, 1 B
};

// "^", the folders "???????_*", then the tests "P??S??T??*.TST" without
// their extension, each group in name order.
std::vector<std::wstring> folder_listing(const std::wstring& folder);

// A name without its extension: cut at the last '.' after the first
// character.
std::wstring without_extension(const std::wstring& name);

// The entry at a position joined to the folder being listed is a folder.
bool is_folder_entry(const directoryBrowser& browser, int position);

// Opens at the card's root.
void browser_open(directoryBrowser& browser);

// Runs one command; the record receives a browsed test. Selecting a test
// that cannot be read does nothing (the read says why).
browseAction browser_command(directoryBrowser& browser, int code, testFileRecord& record);

#endif
