#include <gtest/gtest.h>

#include <windows.h>

#include <cctype>
#include <string>
#include <utility>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/panels/directory_panel.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/controls/list_controls.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// The owner: keeps every WM_USER notice the panel sends it.
class noticeWindow : public winTypeClass {
 public:
  noticeWindow() : winTypeClass(nullptr, window_type::general) {
    set_hwnd(CreateWindowExA(0, "general", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, program_instance,
                             nullptr));
  }
  void draw(HDC, const paper&) override {}
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message == WM_USER) notices.emplace_back(wparam, lparam);
    return DefWindowProcA(hwnd(), message, wparam, lparam);
  }
  // The notices other than "result text changed".
  std::vector<std::pair<uintptr_t, intptr_t>> results() const {
    std::vector<std::pair<uintptr_t, intptr_t>> found;
    for (const auto& n : notices) {
      if (n.first != pseudo_dialog_text_changed) found.push_back(n);
    }
    return found;
  }

  std::vector<std::pair<uintptr_t, intptr_t>> notices;
};

std::vector<std::string> children_of(listTreeClass* tree, HTREEITEM item) {
  std::vector<std::string> texts;
  for (HTREEITEM at = tree->first_child(item); at != nullptr; at = tree->next_sibling(at)) {
    texts.push_back(tree->item_text(at));
  }
  return texts;
}

HTREEITEM selected_item(listTreeClass* tree) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree->hwnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void click(directoryPanelClass* panel, buttonClass* button) {
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button->hwnd()));
}

int menu_opened = 0;
int menu_answer = 0;
BOOL scripted_menu(HMENU, UINT, int, int, HWND, LPTPMPARAMS) {
  ++menu_opened;
  return menu_answer;
}

class DirectoryPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    start_up_texts();
    for (const char* name : {"Data\\Tests\\b.TST", "Data\\Tests\\a.TST", "Data\\Other\\x.TST"}) {
      folder_.write(name, "x");
    }
    root_ = folder_.path().string();
    owner_ = new noticeWindow();
  }
  void TearDown() override {
    delete owner_;  // and the panel beneath it
    pump();
  }
  directoryPanelClass* open(byteObjectClass* target = nullptr) {
    return new directoryPanelClass(owner_, "Select Root Test Directory", 50.0, 50.0, 77, target);
  }

  message_capture capture_;
  temp_folder folder_;
  std::string root_;
  noticeWindow* owner_ = nullptr;
};

}  // namespace

TEST_F(DirectoryPanel, OpensThePathWithOrWithoutATrailingBackslash) {
  const std::string wanted = root_ + "\\Data\\Tests\\";
  for (const std::string& path : {wanted, root_ + "\\Data\\Tests"}) {
    SCOPED_TRACE(path);
    directoryPanelClass* panel = open();
    ASSERT_TRUE(panel->is_ready());
    panel->fill_tree(path.c_str());
    listTreeClass* tree = panel->tree();
    HTREEITEM item = selected_item(tree);
    EXPECT_STREQ(tree->item_text(item), "{D}Tests");
    EXPECT_STREQ(panel->current_path(), wanted.c_str());
    EXPECT_STREQ(panel->path_field()->get_text(), wanted.c_str());
    EXPECT_STREQ(panel->result_text(), wanted.c_str());
    EXPECT_EQ(tree->item_data(tree->parent_item(item)), dirpanel_opened);
    delete panel;
  }
  EXPECT_TRUE(capture_.texts().empty());
}

TEST_F(DirectoryPanel, DriveLettersCompareWithoutCase) {
  directoryPanelClass* panel = open();
  panel->fill_tree(nullptr);
  const size_t drives = children_of(panel->tree(), TVI_ROOT).size();
  EXPECT_STREQ(panel->current_path(), "C:\\");
  std::string lower = root_;
  lower[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(lower[0])));
  panel->fill_tree((lower + "\\Data\\").c_str());
  EXPECT_EQ(children_of(panel->tree(), TVI_ROOT).size(), drives);
  EXPECT_STREQ(panel->tree()->item_text(selected_item(panel->tree())), "{D}Data");
}

// A person double-clicks the item's text: the tree selects it and toggles
// it open or shut.
void double_click(listTreeClass* tree, HTREEITEM item) {
  RECT rect{};
  ASSERT_TRUE(tree->item_rect_text_only(item, &rect));
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  // The tree follows a pressed button until it finds the release waiting.
  PostMessageA(tree->hwnd(), WM_LBUTTONUP, 0, at);
  SendMessageA(tree->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  pump();
  PostMessageA(tree->hwnd(), WM_LBUTTONUP, 0, at);
  SendMessageA(tree->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  pump();
}

TEST_F(DirectoryPanel, AFolderFillsWhenThePersonOpensIt) {
  directoryPanelClass* panel = open();
  panel->fill_tree((root_ + "\\").c_str());
  listTreeClass* tree = panel->tree();
  HTREEITEM root = selected_item(tree);
  // Fill the root, then open its folder Data, which the tree knows nothing of.
  double_click(tree, root);
  HTREEITEM data = tree->first_child(root);
  ASSERT_STREQ(tree->item_text(data), "{D}Data");
  double_click(tree, data);
  EXPECT_EQ(children_of(tree, data), (std::vector<std::string>{"{D}Other", "{D}Tests"}));
  EXPECT_STREQ(panel->current_path(), (root_ + "\\Data\\").c_str());
  // A folder without sub-folders loses its button once opened.
  HTREEITEM other = tree->first_child(data);
  double_click(tree, other);
  TVITEMA record = {};
  record.mask = TVIF_CHILDREN;
  record.hItem = other;
  ASSERT_TRUE(SendMessageA(tree->hwnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record)));
  EXPECT_EQ(record.cChildren, 0);
}

TEST_F(DirectoryPanel, FoldersFillOnceAndFilesEndTheirPaths) {
  directoryPanelClass* panel = open();
  panel->fill_tree((root_ + "\\Data\\Other\\").c_str());
  listTreeClass* tree = panel->tree();
  HTREEITEM data = tree->parent_item(selected_item(tree));
  panel->fill_folder(data, false);
  panel->fill_folder(data, false);
  EXPECT_EQ(children_of(tree, data), (std::vector<std::string>{"{D}Other", "{D}Tests"}));

  // The right-click menu on the selected folder adds its files.
  popup_menu_calls calls{scripted_menu};
  const popup_menu_calls before = popup_menu_ui_install(calls);
  HTREEITEM tests = tree->next_sibling(tree->first_child(data));
  tree->select_item(tests);
  menu_answer = dirpanel_show_files;
  NMHDR header{tree->hwnd(), 0, static_cast<UINT>(NM_RCLICK)};
  SendMessageA(panel->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(menu_opened, 1);
  EXPECT_EQ(children_of(tree, tests), (std::vector<std::string>{"a.TST", "b.TST"}));
  HTREEITEM file = tree->first_child(tests);
  EXPECT_STREQ(tree->item_path(file), (root_ + "\\Data\\Tests\\a.TST").c_str());

  // Not on a file.
  tree->select_item(file);
  SendMessageA(panel->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
  EXPECT_EQ(menu_opened, 1);
  popup_menu_ui_install(before);
}

TEST_F(DirectoryPanel, ADoubleOkGivesOneResult) {
  byteObjectClass target;
  directoryPanelClass* panel = open(&target);
  panel->fill_tree((root_ + "\\Data\\").c_str());
  click(panel, panel->ok_button());
  click(panel, panel->ok_button());
  click(panel, panel->cancel_button());
  pump();
  SendMessageA(panel->hwnd(), WM_CLOSE, 0, 0);
  pump();
  EXPECT_EQ(owner_->results(), (std::vector<std::pair<uintptr_t, intptr_t>>{{pseudo_dialog_ok, 77}}));
  EXPECT_STREQ(target.text(), (root_ + "\\Data\\").c_str());
  EXPECT_NE(find_window_node(panel), nullptr);  // the owner deletes it
}

TEST_F(DirectoryPanel, CancelAndTheCloseBoxReportTheirCodes) {
  byteObjectClass target;
  directoryPanelClass* panel = open(&target);
  panel->fill_tree((root_ + "\\Data\\").c_str());
  click(panel, panel->cancel_button());
  pump();
  EXPECT_EQ(owner_->results(), (std::vector<std::pair<uintptr_t, intptr_t>>{{pseudo_dialog_cancelled, 77}}));
  EXPECT_STREQ(target.text(), (root_ + "\\Data\\").c_str());
  delete panel;

  owner_->notices.clear();
  panel = open();
  panel->fill_tree((root_ + "\\Data\\").c_str());
  SendMessageA(panel->hwnd(), WM_CLOSE, 0, 0);
  pump();
  EXPECT_EQ(owner_->results(), (std::vector<std::pair<uintptr_t, intptr_t>>{{pseudo_dialog_open, 77}}));
  EXPECT_FALSE(owner_->notices.empty());
}
