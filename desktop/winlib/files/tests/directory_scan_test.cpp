#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "desktop/winlib/files/directory_scan.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/temp_folder.h"

TEST(DirectoryScan, EntriesOfOneFolder) {
  message_capture capture;
  temp_folder folder;
  folder.write("a.TST", "");
  folder.write("b.txt", "");
  folder.write("sub\\c.TST", "");
  std::string dir = folder.path().string() + "\\";

  directoryScanClass scan((dir + "ignored.name").c_str());
  EXPECT_STREQ(scan.folder(), dir.c_str());
  EXPECT_STREQ(scan.pattern(), "*");
  EXPECT_EQ(scan.current_name(), nullptr);
  std::set<std::string> names;
  for (const char* name = scan.next_file(nullptr); name; name = scan.next_file(nullptr)) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"a.TST", "b.txt", "sub"}));
  EXPECT_EQ(scan.next_file(nullptr), nullptr);  // stays at the end

  ASSERT_TRUE(scan.reset(nullptr));  // the same folder again
  EXPECT_STREQ(scan.next_directory(), "sub");
  EXPECT_TRUE(scan.is_directory());
  byteObjectClass path;
  EXPECT_STREQ(scan.current_path(path), (dir + "sub\\").c_str());
  EXPECT_EQ(scan.next_directory(), nullptr);

  ASSERT_TRUE(scan.reset((dir + "x").c_str()));
  EXPECT_STREQ(scan.get_first_file("*.TST"), "a.TST");
  EXPECT_FALSE(scan.is_directory());
  EXPECT_STREQ(scan.current_path(path), (dir + "a.TST").c_str());
  EXPECT_EQ(scan.next_file(nullptr), nullptr);
  EXPECT_EQ(scan.get_first_file(nullptr), nullptr);  // once per search
  EXPECT_EQ(capture.texts(), std::vector<std::string>{
                                 "*** directoryScanClass::get_first_file - first file requested more than once. ***"});
}

TEST(DirectoryScan, EmptyFoldersAndMisuse) {
  message_capture capture;
  temp_folder folder;
  std::filesystem::create_directory(folder.path() / "empty");
  std::string empty = folder.file("empty") + "\\";

  directoryScanClass scan((empty + "x").c_str());
  EXPECT_EQ(scan.next_file(nullptr), nullptr);  // only "." and ".."
  ASSERT_TRUE(scan.reset(nullptr));
  EXPECT_EQ(scan.get_first_file("*.none"), nullptr);
  EXPECT_EQ(scan.current_name(), nullptr);  // nothing matched: no search
  EXPECT_TRUE(capture.texts().empty());

  directoryScanClass fresh;
  EXPECT_FALSE(fresh.reset(nullptr));
  EXPECT_FALSE(fresh.is_directory());
  byteObjectClass path;
  EXPECT_EQ(fresh.current_path(path), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** directoryScanClass::reset - NO PATH PROVIDED. ***",
                                 "*** directoryScanClass::current_file_name - NO FILE HANDLE. ***",
                             }));
}
