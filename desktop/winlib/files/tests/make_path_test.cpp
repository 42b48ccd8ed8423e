#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "desktop/winlib/files/make_path.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/temp_folder.h"

namespace {

std::string current_folder() {
  char folder[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, folder);
  return folder;
}

bool folder_exists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TEST(MakePath, CreatesEveryFolder) {
  message_capture capture;
  temp_folder folder;
  std::string root = folder.path().string();
  std::string start = current_folder();

  std::string path = root + "\\a\\b\\c\\file.tst";
  EXPECT_EQ(make_path(path.c_str(), true, false), static_cast<int>(path.size() - 8));
  EXPECT_TRUE(folder_exists(root + "\\a\\b\\c"));
  EXPECT_EQ(current_folder(), start);  // left as it was found
  EXPECT_EQ(make_path(path.c_str(), false, false), static_cast<int>(path.size() - 8));  // all there now
  EXPECT_EQ(make_path("file.tst", false, false), 0);
  EXPECT_TRUE(capture.texts().empty());

  // A relative path is walked from the current folder.
  SetCurrentDirectoryA(root.c_str());
  EXPECT_EQ(make_path("x\\y\\f.tst", true, false), 4);
  EXPECT_TRUE(folder_exists(root + "\\x\\y"));
  EXPECT_EQ(current_folder(), root);
  SetCurrentDirectoryA(start.c_str());
}

TEST(MakePath, MissingFolders) {
  message_capture capture;
  temp_folder folder;
  std::string root = folder.path().string();
  std::string start = current_folder();
  std::string path = root + "\\new\\deeper\\file.tst";
  const int refused = -static_cast<int>((root + "\\new").size());

  EXPECT_EQ(make_path(path.c_str(), false, false), refused);
  EXPECT_TRUE(capture.records().empty());

  capture.answer(answer_no);
  EXPECT_EQ(make_path(path.c_str(), true, true), refused);
  EXPECT_FALSE(folder_exists(root + "\\new"));

  capture.answer(answer_yes);
  capture.answer(answer_yes);
  EXPECT_EQ(make_path(path.c_str(), true, true), static_cast<int>(path.size() - 8));
  EXPECT_TRUE(folder_exists(root + "\\new\\deeper"));
  ASSERT_EQ(capture.records().size(), 3u);
  EXPECT_EQ(capture.records()[0].caption, "new");
  EXPECT_EQ(capture.records()[0].text, "create directory?");
  EXPECT_EQ(capture.records()[0].style & 0xF, box_yes_no);
  EXPECT_EQ(capture.records()[2].caption, "deeper");
  EXPECT_EQ(current_folder(), start);
}

TEST(MakePath, Refusals) {
  message_capture capture;
  temp_folder folder;
  folder.write("in_the_way", "a file");
  std::string root = folder.path().string();
  std::string start = current_folder();
  std::string blocked = root + "\\in_the_way";
  EXPECT_EQ(make_path((blocked + "\\f.tst").c_str(), true, false), -static_cast<int>(blocked.size()));
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** UNABLE TO CREATE DIRECTORY [" + blocked + "] ***"});
  EXPECT_EQ(current_folder(), start);

  // A network path that ends inside its "\\server\share" prefix.
  EXPECT_LT(make_path("\\\\server\\file.tst", false, false), 0);
}
