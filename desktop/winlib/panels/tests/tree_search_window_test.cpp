#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/winlib/panels/tree_items.h"
#include "desktop/winlib/panels/tree_search.h"
#include "desktop/winlib/windows/window_helpers.h"

namespace {

std::vector<std::string> children_of(HWND tree, HTREEITEM item) {
  std::vector<std::string> texts;
  for (HTREEITEM at = tree_first_child(tree, item); at != nullptr;
       at = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(at)))) {
    texts.push_back(tree_item_text(tree, at));
  }
  return texts;
}

// The last item of the line of first children from the root.
HTREEITEM deepest_item(HWND tree) {
  HTREEITEM at = tree_first_child(tree, TVI_ROOT);
  while (HTREEITEM child = tree_first_child(tree, at)) at = child;
  return at;
}

// A person double-clicks the item's text: the tree selects it, tells its
// parent, and toggles the item open or shut.
void double_click(HWND tree, HTREEITEM item) {
  RECT rect{};
  std::memcpy(&rect, &item, sizeof item);  // TVM_GETITEMRECT takes the item in the rectangle
  ASSERT_TRUE(SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  // The tree follows a pressed button until it finds the release waiting.
  PostMessageA(tree, WM_LBUTTONUP, 0, at);
  SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
  pump();
  PostMessageA(tree, WM_LBUTTONUP, 0, at);
  SendMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  pump();
}

void click(HWND window, HWND control) {
  SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// Test folders: root\Data\Tests beside root\Data\Alpha and root\Data\Zulu,
// with a file that is not a folder and a hidden-by-name ".cache".
class TreeSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    start_up_texts();
    for (const char* name : {"Data\\Tests\\t.TST", "Data\\Zulu\\z.TST", "Data\\Alpha\\a.TST", "Data\\.cache\\c",
                             "Data\\notes.txt"}) {
      folder_.write(name, "x");
    }
    root_ = folder_.path().string();
    for (const char* name : {tree_search_path_setting, tree_search_subs_setting}) {
      const char* value = get_program_setting(name, true);
      saved_.push_back(value != nullptr ? value : "");
    }
  }
  void TearDown() override {
    delete search_;
    set_program_setting(tree_search_path_setting, saved_[0].c_str());
    set_program_setting(tree_search_subs_setting, saved_[1].c_str());
  }
  ceTreeSearchClass* open() {
    delete search_;
    search_ = new ceTreeSearchClass(nullptr, 40, 40, "Test Search", root_.c_str());
    search_->show();
    return search_;
  }

  temp_folder folder_;
  std::string root_;
  std::vector<std::string> saved_;
  ceTreeSearchClass* search_ = nullptr;
};

}  // namespace

TEST_F(TreeSearch, ShowsAPathThenListsItsSiblingsWhenExpanded) {
  open();
  char title[200] = {};
  GetWindowTextA(search_->hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "Directory Selection for Test Search");
  EXPECT_FALSE(search_->ready());

  search_->show_path((root_ + "\\Data\\Tests\\").c_str());
  EXPECT_TRUE(search_->ready());
  HWND tree = search_->tree();
  HTREEITEM tests = deepest_item(tree);
  EXPECT_STREQ(tree_path_of(tree, tests), (root_ + "\\Data\\Tests\\").c_str());
  HTREEITEM data = tree_parent_item(tree, tests);
  EXPECT_EQ(children_of(tree, data), std::vector<std::string>{"Tests"});
  EXPECT_EQ(tree_item_param(tree, data), tree_listed);

  // Shut, then opened again by a double click: the folder's other
  // sub-folders join the one of the path, each once.
  SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(data));
  double_click(tree, data);
  EXPECT_EQ(children_of(tree, data), (std::vector<std::string>{"Tests", "Alpha", "Zulu"}));
  EXPECT_EQ(tree_item_param(tree, data), tree_read);
  EXPECT_STREQ(search_->path_edit()->get_text(), (root_ + "\\Data\\").c_str());
  EXPECT_STREQ(search_->current_path(), (root_ + "\\Data\\").c_str());

  // Expanded again: the folder is not read twice.
  search_->expand_item(data);
  EXPECT_EQ(children_of(tree, data).size(), 3u);

  // A new item (parameter 0) opens on a double click: Alpha lists nothing.
  HTREEITEM alpha = tree_first_child(tree, data);
  alpha = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(alpha)));
  ASSERT_STREQ(tree_item_text(tree, alpha), "Alpha");
  double_click(tree, alpha);
  EXPECT_EQ(tree_item_param(tree, alpha), tree_read);
  EXPECT_TRUE(children_of(tree, alpha).empty());
}

TEST_F(TreeSearch, SettingsRoundTripThroughTheRegistry) {
  set_program_setting(tree_search_subs_setting, "FALSE");
  open();
  EXPECT_FALSE(button_is_checked(search_->subs_box()));
  click(search_->hwnd(), search_->subs_box());
  EXPECT_TRUE(button_is_checked(search_->subs_box()));
  EXPECT_STREQ(get_program_setting(tree_search_subs_setting, true), "TRUE");
  open();
  EXPECT_TRUE(button_is_checked(search_->subs_box()));
  click(search_->hwnd(), search_->subs_box());
  EXPECT_STREQ(get_program_setting(tree_search_subs_setting, true), "FALSE");

  // The close box keeps the window (hidden) and stores the chosen path.
  search_->show_path((root_ + "\\Data\\Zulu\\").c_str());
  HWND tree = search_->tree();
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(deepest_item(tree)));
  SendMessageA(search_->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(search_->hwnd()));
  EXPECT_FALSE(IsWindowVisible(search_->hwnd()));
  EXPECT_STREQ(get_program_setting(tree_search_path_setting, true), (root_ + "\\Data\\Zulu\\").c_str());
}

namespace {

std::string chosen_file;
std::string dialog_start;

BOOL choose_file(OPENFILENAMEA* record) {
  dialog_start = record->lpstrInitialDir != nullptr ? record->lpstrInitialDir : "";
  lstrcpynA(record->lpstrFile, chosen_file.c_str(), static_cast<int>(record->nMaxFile));
  return TRUE;
}

}  // namespace

TEST_F(TreeSearch, SystemSearchShowsTheFolderOfTheChosenFile) {
  set_program_setting(tree_search_path_setting, (root_ + "\\").c_str());
  chosen_file = root_ + "\\Data\\Alpha\\a.TST";
  file_dialog_calls calls{};
  calls.get_open_file_name = choose_file;
  const file_dialog_calls before = file_dialog_ui_install(calls);
  open();
  search_->hide();
  click(search_->hwnd(), search_->search_button());
  file_dialog_ui_install(before);
  EXPECT_EQ(dialog_start, root_ + "\\*");
  EXPECT_TRUE(IsWindowVisible(search_->hwnd()));
  EXPECT_STREQ(tree_path_of(search_->tree(), deepest_item(search_->tree())), (root_ + "\\Data\\Alpha\\").c_str());
}

// With ERG_TREE_SEARCH_HOLD=<seconds> the chooser stays on the screen with an
// expanded path, for a picture.
TEST_F(TreeSearch, HoldsForAPicture) {
  const char* hold = std::getenv("ERG_TREE_SEARCH_HOLD");
  if (hold == nullptr) GTEST_SKIP() << "ERG_TREE_SEARCH_HOLD not set";
  open();
  search_->show_path((root_ + "\\Data\\Tests\\").c_str());
  HWND tree = search_->tree();
  HTREEITEM data = tree_parent_item(tree, deepest_item(tree));
  SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(data));
  double_click(tree, data);
  const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold)) * 1000u;
  while (GetTickCount() < end) {
    pump();
    Sleep(20);
  }
}
