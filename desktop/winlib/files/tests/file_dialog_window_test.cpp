// The platform's own file dialog, shown for real on the display and worked
// by the test from a second thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/temp_folder.h"

namespace {

const char filter[] = "Test Files (*.tst)\0*.tst\0All Files\0*.*\0";

// Waits (at most 30 s) for the top-level window with this title, gives the
// file-name field a text when one is given, then presses the button.
void work_dialog(const char* title, std::string file_name, int button, std::atomic<bool>& found) {
  for (int waited = 0; waited < 3000; waited++) {
    HWND dialog = FindWindowA(nullptr, title);
    if (dialog) {
      found = true;
      Sleep(200);  // let it finish its own set-up
      if (!file_name.empty()) {
        HWND field = GetDlgItem(dialog, 0x47c);  // the file-name combo box
        HWND edit = field ? FindWindowExA(field, nullptr, "Edit", nullptr) : nullptr;
        SendMessageA(edit ? edit : field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file_name.c_str()));
      }
      PostMessageA(dialog, WM_COMMAND, button, 0);
      return;
    }
    Sleep(10);
  }
}

}  // namespace

TEST(FileDialogWindow, CancelledOpenDialog) {
  ASSERT_EQ(file_dialog_ui().get_open_file_name, file_dialog_ui_platform().get_open_file_name);
  message_capture capture;
  std::atomic<bool> found{false};
  std::thread person(work_dialog, "Cancel me", std::string(), IDCANCEL, std::ref(found));
  const char* chosen = file_name_dialog(nullptr, "Cancel me", "", filter, "tst", nullptr, 0, false, false, 0);
  person.join();
  EXPECT_TRUE(found);
  EXPECT_EQ(chosen, nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** GetOpenfileName failed ***\n*** UNKNOWN ERROR ***"});
}

TEST(FileDialogWindow, ChosenFile) {
  message_capture capture;
  temp_folder folder;
  folder.write("picked.tst", "");
  std::string path = folder.file("picked.tst");
  std::atomic<bool> found{false};
  std::thread person(work_dialog, "Pick a test", path, IDOK, std::ref(found));
  char result[MAX_PATH] = {};
  const char* chosen = file_name_dialog(nullptr, "Pick a test", (folder.path().string() + "\\").c_str(), filter,
                                        "tst", result, sizeof result, false, false, 0);
  person.join();
  EXPECT_TRUE(found);
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(std::string(result), path);
  EXPECT_TRUE(capture.texts().empty());
}
