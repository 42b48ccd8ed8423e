#include "handheld/ui/directory_dialog.h"

#include <memory>
#include <vector>

#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/storage/directory_browser.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/window_placement.h"

namespace {

directoryBrowser browser;
std::unique_ptr<testFileRecord> browsedRecord;

testFileRecord& record() {
  if (!browsedRecord) browsedRecord = std::make_unique<testFileRecord>();
  return *browsedRecord;
}

void show_browser(HWND dialog) {
  HWND list = GetDlgItem(dialog, DIRECTORY_LIST);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& entry : browser.entries) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(browser.position), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  SetDlgItemTextW(dialog, DIRECTORY_TEXT_1, browser.text_1099.c_str());
  SetDlgItemTextW(dialog, DIRECTORY_TEXT_2, browser.text_1100.c_str());
  SetDlgItemTextW(dialog, DIRECTORY_TEXT_3, browser.text_1101.c_str());
}

}  // namespace

testFileRecord& browsed_test_record() { return record(); }
int browsed_test_channel() { return browser.shown_channel; }

INT_PTR CALLBACK directoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      place_window_above_keys(dialog);
      browser = directoryBrowser{};
      browser_open(browser);
      show_browser(dialog);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    case WM_USER: {
      const browseAction action = browser_command(browser, static_cast<int>(wParam), record());
      switch (action) {
        case BROWSE_SHOW_TEST:
          if (main_dialog != nullptr) SendMessageW(main_dialog, WM_COMMAND, MAIN_INTERNAL_COMMAND, PAGE_SHOW_BROWSED_TEST);
          break;
        case BROWSE_ASK_DELETE_FOLDER:
          if (main_dialog != nullptr) PostMessageW(main_dialog, WM_COMMAND, MAIN_INTERNAL_COMMAND, PAGE_ASK_DELETE_FOLDER);
          break;
        case BROWSE_DESTROY:
          DestroyWindow(dialog);
          return TRUE;
        case BROWSE_NOTHING:
          break;
      }
      show_browser(dialog);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK deleteFolderDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_INITDIALOG) return FALSE;
  center_window(dialog);
  ShowWindow(dialog, SW_SHOW);
  return TRUE;
}

int list_files_to_listbox(HWND dialog, int item, const std::wstring& pattern, int position) {
  int added = 0;
  for (const std::wstring& name : card_matches(pattern)) {
    const std::wstring text = without_extension(name);
    if (position < 0) {
      SendDlgItemMessageW(dialog, item, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else {
      SendDlgItemMessageW(dialog, item, LB_INSERTSTRING, static_cast<WPARAM>(position + added),
                          reinterpret_cast<LPARAM>(text.c_str()));
    }
    ++added;
  }
  return added;
}

int fill_folder_list(HWND dialog, int item, const std::wstring& folder) {
  const std::vector<std::wstring> entries = folder_listing(folder);
  SendDlgItemMessageW(dialog, item, LB_RESETCONTENT, 0, 0);
  for (const std::wstring& entry : entries) {
    SendDlgItemMessageW(dialog, item, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  return static_cast<int>(entries.size()) - 1;
}

std::wstring list_text(HWND dialog, int item, int position) {
  const LRESULT length = SendDlgItemMessageW(dialog, item, LB_GETTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == LB_ERR || length < 0) return {};
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  SendDlgItemMessageW(dialog, item, LB_GETTEXT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(text.data()));
  return text.data();
}
