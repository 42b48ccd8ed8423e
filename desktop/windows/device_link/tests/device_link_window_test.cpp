#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "desktop/windows/device_link/device_link.h"
#include "desktop/winlib/tests/message_capture.h"
#include "platform/rapi/rapi_standin.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/winlib/panels/tree_items.h"

namespace {

void write_file(const std::string& path) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
}

// What the person at the dialog does, one step per timer tick.
std::vector<std::function<void(HWND dialog, HWND tree)>> steps;
size_t next_step = 0;
// A step runs the dialog's own handlers, which may pump messages (this
// timer's among them): a tick during a step waits for the next one, so no
// step starts before the one before it has filled the tree.
bool in_step = false;

void CALLBACK drive_dialog(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowA(nullptr, "Select a file for display");
  if (dialog == nullptr || in_step || next_step >= steps.size()) return;
  // The dialog's start-up lets the status panel run waiting messages (this
  // timer among them) before the tree holds the card's folders.
  HWND tree = GetDlgItem(dialog, 1032);
  HTREEITEM root = tree ? TreeView_GetRoot(tree) : nullptr;
  if (root == nullptr || tree_first_child(tree, root) == nullptr) return;
  in_step = true;
  steps[next_step++](dialog, tree);
  in_step = false;
}

HTREEITEM child_named(HWND tree, HTREEITEM parent, const char* name) {
  for (HTREEITEM at = tree_first_child(tree, parent); at != nullptr; at = TreeView_GetNextSibling(tree, at)) {
    if (std::string(tree_item_text(tree, at)) == name) return at;
  }
  return nullptr;
}

std::vector<std::string> children(HWND tree, HTREEITEM parent) {
  std::vector<std::string> names;
  for (HTREEITEM at = tree_first_child(tree, parent); at != nullptr; at = TreeView_GetNextSibling(tree, at)) {
    names.push_back(tree_item_text(tree, at));
  }
  return names;
}

class DeviceLink : public ::testing::Test {
 protected:
  void SetUp() override {
    start_up_texts();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    card_ = std::string(temp) + "erg_unit_card_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(card_.c_str(), nullptr);
    CreateDirectoryA((card_ + "\\A_1").c_str(), nullptr);
    CreateDirectoryA((card_ + "\\LOG").c_str(), nullptr);
    for (const char* f : {"\\A_1\\P01S01T0101A.TST", "\\A_1\\P01S01T0101A-00.spl", "\\A_1\\P01S01T0102A.tst",
                          "\\A_1\\notes.txt", "\\LOG\\log.txt"}) {
      write_file(card_ + f);
    }
    std::wstring wide(card_.begin(), card_.end());
    rapi_standin_set_card(wide.c_str());
    rapi_standin_configure("");
    steps.clear();
    next_step = 0;
    timer_ = SetTimer(nullptr, 0, 20, drive_dialog);
  }
  void TearDown() override {
    KillTimer(nullptr, timer_);
    rapi_standin_configure("");
    rapi_standin_set_card(nullptr);
    for (const char* f : {"\\A_1\\P01S01T0101A.TST", "\\A_1\\P01S01T0101A-00.spl", "\\A_1\\P01S01T0102A.tst",
                          "\\A_1\\notes.txt", "\\LOG\\log.txt"}) {
      DeleteFileA((card_ + f).c_str());
    }
    RemoveDirectoryA((card_ + "\\A_1").c_str());
    RemoveDirectoryA((card_ + "\\LOG").c_str());
    RemoveDirectoryA(card_.c_str());
  }
  std::string card_;
  UINT_PTR timer_ = 0;
};

}  // namespace

TEST_F(DeviceLink, AFileChosenInTheLazyTreeEndsTheDialog) {
  std::vector<std::string> root_children, folder_children;
  std::string path_line;
  steps = {
      [&](HWND, HWND tree) {
        root_children = children(tree, TreeView_GetRoot(tree));
        TreeView_SelectItem(tree, child_named(tree, TreeView_GetRoot(tree), "A_1"));
      },
      [&](HWND dialog, HWND tree) {
        HTREEITEM folder = child_named(tree, TreeView_GetRoot(tree), "A_1");
        folder_children = children(tree, folder);
        char text[300];
        GetDlgItemTextA(dialog, 1031, text, sizeof text);
        path_line = text;
        // A sample file does not end the choice; the test file does.
        TreeView_SelectItem(tree, child_named(tree, folder, "P01S01T0101A-00.spl"));
      },
      [&](HWND dialog, HWND tree) {
        EXPECT_NE(FindWindowA(nullptr, "Select a file for display"), nullptr);
        (void)dialog;
        HTREEITEM folder = child_named(tree, TreeView_GetRoot(tree), "A_1");
        TreeView_SelectItem(tree, child_named(tree, folder, "P01S01T0101A.TST"));
      },
  };
  const char* chosen = connect_to_unit(nullptr);
  ASSERT_NE(chosen, nullptr);
  EXPECT_STREQ(chosen, "\\Storage Card\\A_1\\P01S01T0101A.TST");
  EXPECT_EQ(root_children, (std::vector<std::string>{"A_1", "LOG"}));
  EXPECT_EQ(folder_children,
            (std::vector<std::string>{"P01S01T0101A-00.spl", "P01S01T0101A.TST", "P01S01T0102A.tst"}));
  EXPECT_EQ(path_line, "\\Storage Card\\A_1\\");
}

TEST_F(DeviceLink, ClosingTheDialogIsACancel) {
  steps = {[](HWND dialog, HWND) { PostMessageA(dialog, WM_CLOSE, 0, 0); }};
  EXPECT_EQ(connect_to_unit(nullptr), nullptr);
}

TEST_F(DeviceLink, LinkFailuresGiveTheirMessagesAndNoDialog) {
  struct Case {
    const char* fault;
    const char* message;
  } cases[] = {
      {"init_refused", "*** Rapi Initialization failed"},
      {"init_failed", "*** Rapi Initialization failed."},
      {"init_silent", "*** Rapi Initialization timed out."},
  };
  for (const Case& c : cases) {
    message_capture capture;
    ASSERT_TRUE(rapi_standin_configure(c.fault));
    EXPECT_EQ(connect_to_unit(nullptr), nullptr) << c.fault;
    EXPECT_EQ(capture.texts(), std::vector<std::string>{c.message}) << c.fault;
    EXPECT_EQ(next_step, 0u);
  }
}

TEST(DeviceLinkEntries, AMissingCardListsNothing) {
  rapi_standin_set_card(L"C:\\nonexistent-card-folder");
  EXPECT_FALSE(find_unit_entries("\\Storage Card\\*", [](const unitEntry&, void*) {}, nullptr, false));
  rapi_standin_set_card(nullptr);
}
