#include <gtest/gtest.h>

#include <string>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/winlib/panels/tree_items.h"

namespace {

class TreeItems : public ::testing::Test {
 protected:
  void SetUp() override {
    start_up_texts();
    tree_ = CreateWindowExA(0, WC_TREEVIEWA, "tree", WS_OVERLAPPEDWINDOW | TVS_HASLINES, 0, 0, 300, 300, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(tree_, nullptr);
  }
  void TearDown() override { DestroyWindow(tree_); }
  HWND tree_ = nullptr;
};

}  // namespace

TEST_F(TreeItems, TextsFlagsAndPaths) {
  HTREEITEM drive = tree_insert_item(tree_, TVI_ROOT, "C:");
  HTREEITEM data = tree_insert_item(tree_, drive, "Data");
  HTREEITEM tests = tree_insert_item(tree_, data, "Tests");
  EXPECT_EQ(tree_item_param(tree_, tests), 0);
  EXPECT_STREQ(tree_item_text(tree_, data), "Data");
  EXPECT_EQ(tree_parent_item(tree_, tests), data);
  EXPECT_EQ(tree_first_child(tree_, drive), data);

  tree_add_item_flags(tree_, drive, tree_separated);
  tree_add_item_flags(tree_, data, tree_separated | tree_listed);
  EXPECT_EQ(tree_item_flags(tree_, data, tree_listed | tree_read), tree_listed);
  EXPECT_TRUE(tree_item_has_flags(tree_, data, tree_separated | tree_listed));
  EXPECT_FALSE(tree_item_has_flags(tree_, data, tree_separated | tree_read));
  EXPECT_STREQ(tree_item_path(tree_, tests), "C:\\Data\\Tests");
  EXPECT_STREQ(tree_path_of(tree_, tests), "C:\\Data\\Tests\\");
  EXPECT_STREQ(tree_item_path(tree_, nullptr), "");
  EXPECT_STREQ(tree_path_of(tree_, nullptr), "");

  tree_set_item_text(tree_, tests, "Runs");
  EXPECT_STREQ(tree_item_text(tree_, tests), "Runs");
}

TEST_F(TreeItems, AnOverlongPathIsCutAndReported) {
  HTREEITEM at = TVI_ROOT;
  for (int i = 0; i < 6; ++i) at = tree_insert_item(tree_, at, std::string(60, static_cast<char>('a' + i)).c_str());
  message_capture capture;
  const std::string path = tree_path_of(tree_, at);
  EXPECT_EQ(path.size(), static_cast<size_t>(tree_text_size - 1));
  EXPECT_EQ(path.substr(0, 61), std::string(60, 'a') + "\\");
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_NE(capture.texts()[0].find("TREE PATH TOO LONG"), std::string::npos);
}
