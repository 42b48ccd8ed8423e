#include "handheld/ui/pages/program_lists_page.h"

#include <string.h>
#include <wchar.h>

#include <memory>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/ui/directory_dialog.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/ui/menus/road_state.h"
#include "handheld/ui/window_placement.h"

namespace {

const wchar_t kRoot[] = L"Storage Card";
const wchar_t kGoToTests[] = L"GO TO TEST LIST -->";

std::unique_ptr<programRecord> previewed;
std::wstring previewName;
std::wstring previewPath;
bool previewValid = false;

int sessionIndex = 0;
int testIndex = 0;
int listCount = 0;

int step_index(int index, int count, bool up) {
  if (count <= 0) return 0;
  if (up) return index <= 0 ? count - 1 : index - 1;
  return index >= count - 1 ? 0 : index + 1;
}

std::wstring program_title(const programRecord& program) {
  char text[64] = {};
  program_text(program, 0, text, sizeof text);
  return widen(std::string(text).substr(0, 63));
}

bool preview_is_custom() {
  if (!previewValid) return false;
  return strncmp(previewed->Texts[0], "USER", 4) == 0;
}

void show_test_status(HWND dialog) {
  set_item_text(dialog, LIST_STATUS, preview_is_custom() ? L"'SELECT' to EDIT test" : L"'SELECT' to select a TEST");
}

void show_go_to_tests(HWND dialog) {
  set_item_text(dialog, LIST_TITLE, L"'SELECT' to list TESTs");
  set_item_text(dialog, LIST_STATUS, L"'SELECT' to list TESTs");
}

// The name of the program without its extension (the name a called
// program's folder is looked for under).
std::wstring base_name() {
  const size_t dot = previewName.rfind(L'.');
  return dot == std::wstring::npos ? previewName : previewName.substr(0, dot);
}

void choose_preview(bool session) {
  if (!previewValid) return;
  choose_program(*previewed, base_name());
  road.sessionSelected = session;
  road.customRun = false;
  post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), LIST_PROGRAM_CHOSEN);
}

INT_PTR session_key(HWND dialog, WPARAM key) {
  switch (key) {
    case PAGE_KEY_UP:
    case PAGE_KEY_DOWN: {
      const bool up = key == PAGE_KEY_UP;
      sessionIndex = step_index(sessionIndex, listCount, up);
      select_list_item(dialog, LIST_BOX, sessionIndex);
      if (sessionIndex != 0) {
        if (preview_program(dialog, sessionIndex, true)) {
          set_item_text(dialog, LIST_STATUS, up ? L"'SELECT' to select a SESSION" : L"'SELECT' to select SESSION");
        }
      } else {
        previewValid = false;
        show_go_to_tests(dialog);
      }
      return TRUE;
    }
    case PAGE_SELECT:
      if (sessionIndex != 0) {
        choose_preview(true);
      } else {
        post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), LIST_OPEN_NEXT);
      }
      return TRUE;
    case MAIN_INTERNAL_COMMAND:
      return TRUE;
    case PAGE_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR test_key(HWND dialog, WPARAM key) {
  if (listCount == 0 && (key == PAGE_KEY_UP || key == PAGE_KEY_DOWN || key == PAGE_SELECT)) return TRUE;
  switch (key) {
    case PAGE_KEY_UP:
    case PAGE_KEY_DOWN:
      testIndex = step_index(testIndex, listCount, key == PAGE_KEY_UP);
      select_list_item(dialog, LIST_BOX, testIndex);
      preview_program(dialog, testIndex, false);
      show_test_status(dialog);
      return TRUE;
    case PAGE_SELECT:
      if (!previewValid) return TRUE;
      if (preview_is_custom()) {
        post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), LIST_OPEN_NEXT);
      } else {
        choose_preview(false);
      }
      return TRUE;
    case MAIN_INTERNAL_COMMAND:
      return TRUE;
    case PAGE_CLOSE:
      DestroyWindow(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

bool is_mouse_button(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK ||
         message == WM_RBUTTONDOWN || message == WM_RBUTTONUP;
}

// The card's programs of one kind (a pattern such as *.SES) into the list:
// those of its root, then those of its TESTS folder; the count listed.
int list_programs(HWND dialog, const wchar_t* pattern) {
  const int found = list_files_to_listbox(dialog, LIST_BOX, std::wstring(kRoot) + L"\\" + pattern, -1);
  return found + list_files_to_listbox(dialog, LIST_BOX, std::wstring(kRoot) + L"\\TESTS\\" + pattern, -1);
}

}  // namespace

programRecord& preview() {
  if (!previewed) {
    previewed = std::make_unique<programRecord>();
    memset(previewed.get(), 0, sizeof(programRecord));
  }
  return *previewed;
}

const std::wstring& preview_name() { return previewName; }
const std::wstring& preview_path() { return previewPath; }

bool preview_program(HWND dialog, int index, bool session) {
  preview();
  previewValid = false;
  const std::wstring name = list_text(dialog, LIST_BOX, index) + (session ? L".SES" : L".TES");
  if (name.size() > LIST_NAME_CHARACTERS) {
    show_message(MESSAGE_ERROR, false, "*** FILE NAME TOO LONG ***\n<%ls>", name.c_str());
    return false;
  }
  previewName = name;
  const std::wstring inRoot = std::wstring(kRoot) + L"\\" + name;
  const std::wstring inTests = std::wstring(kRoot) + L"\\TESTS\\" + name;
  if (read_program_file(inRoot, *previewed)) {
    previewPath = inRoot;
  } else if (read_program_file(inTests, *previewed)) {
    previewPath = inTests;
  } else {
    show_message(MESSAGE_ERROR, false, "*** UNABLE TO LOAD ***\n<%ls>\n*** err = [%d] ***", name.c_str(),
                 static_cast<int>(GetLastError()));
    return false;
  }
  previewValid = true;
  set_item_text(dialog, LIST_TITLE, program_title(*previewed).c_str());
  return true;
}

INT_PTR CALLBACK sessionListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (is_mouse_button(message)) return TRUE;
  switch (message) {
    case WM_INITDIALOG: {
      center_window_horizontally(dialog);
      previewValid = false;
      const int found = list_programs(dialog, L"*.SES");
      // Without sessions the test list stays reachable through entry 0.
      if (found == 0) show_message(MESSAGE_NOTICE, false, "*** NO SESSION FILES FOUND ***");
      SendDlgItemMessageW(dialog, LIST_BOX, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(kGoToTests));
      listCount = found + 1;
      if (sessionIndex >= listCount) sessionIndex = 0;
      if (road.sessionSelected && sessionIndex != 0 && preview_program(dialog, sessionIndex, true)) {
        set_item_text(dialog, LIST_STATUS, L"'SELECT' to select a SESSION");
      } else {
        show_go_to_tests(dialog);
      }
      select_list_item(dialog, LIST_BOX, sessionIndex);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    }
    case WM_USER:
      return session_key(dialog, wParam);
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK testListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (is_mouse_button(message)) return TRUE;
  switch (message) {
    case WM_INITDIALOG: {
      center_window_horizontally(dialog);
      previewValid = false;
      const int found = list_programs(dialog, L"*.TES");
      listCount = found;
      ShowWindow(dialog, SW_SHOW);
      if (found == 0) {
        show_message(MESSAGE_NOTICE, false, "*** NO TEST FILES FOUND ***");
        return TRUE;
      }
      if (testIndex >= listCount) testIndex = 0;
      select_list_item(dialog, LIST_BOX, testIndex);
      preview_program(dialog, testIndex, false);
      show_test_status(dialog);
      return TRUE;
    }
    case WM_USER:
      return test_key(dialog, wParam);
    default:
      return FALSE;
  }
}

void reset_program_lists() {
  sessionIndex = 0;
  testIndex = 0;
  listCount = 0;
  previewValid = false;
}
