#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/winlib/files/file_info.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/files/rfile.h"
#include "desktop/winlib/tests/temp_folder.h"

namespace {

FILETIME utc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME s = {};
  s.wYear = year;
  s.wMonth = month;
  s.wDay = day;
  s.wHour = hour;
  s.wMinute = minute;
  s.wSecond = second;
  FILETIME t;
  SystemTimeToFileTime(&s, &t);
  return t;
}

void set_last_write(const std::string& path, const FILETIME& time) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetFileTime(h, nullptr, nullptr, &time);
  CloseHandle(h);
}

}  // namespace

TEST(RFile, WritesAndReadsBlocks) {
  message_capture capture;
  temp_folder folder;
  std::string dir = folder.path().string();
  rFileClass file;
  ASSERT_TRUE(file.open(dir.c_str(), "block.bin", rfile_write | rfile_open_always));
  EXPECT_EQ(file.name(), dir + "\\block.bin");
  EXPECT_EQ(file.write("hello", 5), 5u);
  EXPECT_NE(file.close(), 0);
  EXPECT_FALSE(file.is_open());

  ASSERT_TRUE(file.open(nullptr, (dir + "\\block.bin").c_str(), rfile_read | rfile_share_read | rfile_open_existing));
  char buffer[16] = {};
  EXPECT_EQ(file.read(buffer, sizeof buffer), 5u);
  EXPECT_STREQ(buffer, "hello");
  EXPECT_EQ(file.read(buffer, sizeof buffer), 0u);  // end of file
  EXPECT_TRUE(capture.texts().empty());
}

TEST(RFile, Refusals) {
  message_capture capture;
  temp_folder folder;
  folder.write("data.bin", "abc");
  std::string dir = folder.path().string();
  std::string path = dir + "\\data.bin";
  rFileClass file;
  char buffer[4];
  EXPECT_EQ(file.read(buffer, 3), 0u);  // not open: nothing, silently
  EXPECT_EQ(file.write("x", 1), 0u);
  EXPECT_EQ(file.close(), 1);
  EXPECT_TRUE(capture.texts().empty());

  EXPECT_FALSE(file.open(dir.c_str(), "missing.bin", rfile_read | rfile_open_existing, true));  // quiet
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_FALSE(file.open(dir.c_str(), "missing.bin", rfile_read | rfile_open_existing));
  EXPECT_FALSE(file.open(dir.c_str(), "data.bin", rfile_read));  // neither open nor create asked

  ASSERT_TRUE(file.open(dir.c_str(), "data.bin", rfile_write | rfile_open_existing));
  EXPECT_EQ(file.read(buffer, 3), 0xFFFFFFFFu);
  ASSERT_TRUE(file.open(dir.c_str(), "data.bin", rfile_read | rfile_open_existing));
  EXPECT_EQ(file.write("xyz", 3), 0u);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "rFileClass::open *** UNABLE TO OPEN FILE [" + dir + "\\missing.bin] ***",
                                 "rFileClass::open *** UNABLE TO OPEN FILE [" + path + "] ***",
                                 "rFileClass::read *** READ OF [" + path + "] FAILED ***",
                                 "rFileClass::write *** WRITE TO [" + path + "] FAILED (size 3) ***",
                             }));
}

TEST(FileInfo, AttributesAndTimes) {
  message_capture capture;
  temp_folder folder;
  folder.write("a.tst", "12345");
  std::string path = folder.file("a.tst");
  FILETIME written = utc(2004, 3, 5, 13, 45, 11);
  set_last_write(path, written);

  fileInfoClass info;
  EXPECT_EQ(info.compare_last_write(written), -2);
  ASSERT_TRUE(info.get(path.c_str(), 1));
  EXPECT_EQ(info.size(), 5u);
  EXPECT_STREQ(info.path(), path.c_str());
  EXPECT_EQ(info.compare_last_write(written), 0);
  EXPECT_EQ(info.compare_last_write(utc(2004, 3, 5, 13, 45, 10)), -1);
  EXPECT_EQ(info.compare_last_write(utc(2005, 1, 1, 0, 0, 0)), 1);
  FILETIME stored = info.last_write_utc();
  EXPECT_EQ(CompareFileTime(&written, &stored), 0);

  // The text is the local time, seconds rounded down to even ones.
  FILETIME local = info.last_write();
  SYSTEMTIME s;
  FileTimeToSystemTime(&local, &s);
  char expected[32];
  snprintf(expected, sizeof expected, "%02d%s%4d %02d:%02d:%02d", s.wDay, month_name(s.wMonth), s.wYear, s.wHour,
           s.wMinute, s.wSecond & ~1);
  char text[32];
  info.last_write_text(text, sizeof text);
  EXPECT_STREQ(text, expected);
  char small[8];
  info.last_write_text(small, sizeof small);
  EXPECT_EQ(std::string(small), std::string(expected).substr(0, 7));
  info.close();
  EXPECT_EQ(info.compare_last_write(written), -2);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** fileInfoClass: FILE IS NOT OPEN ***",
                                                       "*** fileInfoClass: FILE IS NOT OPEN ***"}));
}

TEST(FileInfo, MissingFiles) {
  message_capture capture;
  temp_folder folder;
  std::string missing = folder.file("none.tst");
  fileInfoClass info;
  EXPECT_FALSE(info.get(missing.c_str(), 0));
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_FALSE(info.get(missing.c_str(), 1));
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** CANNOT FIND FILE [" + missing + "] *** (fileInfoClass::get)"});
}

TEST(FileInfo, Search) {
  message_capture capture;
  temp_folder folder;
  folder.write("a.tst", "");
  folder.write("b.tst", "");
  folder.write("c.txt", "");
  folder.write("sub.tst\\d.tst", "");
  fileInfoClass info;
  std::set<std::string> names;
  std::set<std::string> folders;
  for (const char* name = info.find_first((folder.file("*.tst")).c_str()); name; name = info.find_next()) {
    (info.found_is_directory() ? folders : names).insert(name);
  }
  EXPECT_EQ(names, (std::set<std::string>{"a.tst", "b.tst"}));
  EXPECT_EQ(folders, std::set<std::string>{"sub.tst"});
  EXPECT_EQ(info.find_next(), nullptr);  // the search has been closed

  EXPECT_EQ(info.find_first(folder.file("no_folder\\*.tst").c_str()), nullptr);
  EXPECT_EQ(info.find_first(folder.file("*.none").c_str()), nullptr);
  EXPECT_TRUE(capture.texts().empty());
}

TEST(FileInfo, PathRelation) {
  temp_folder folder;
  std::string a = folder.path().string();
  struct {
    std::string a, b;
    int relation;
  } cases[] = {
      {a, a, 1},
      {a + "\\x", a + "\\X", 1},
      {a, a + "\\x\\y.tst", 2},
      {a + "\\x", a + "\\xy", 0},
      {a + "\\x\\y", a + "\\x", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(fileInfoClass::path_relation(c.a.c_str(), c.b.c_str()), c.relation) << c.b;

  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  SetCurrentDirectoryA(a.c_str());
  EXPECT_EQ(fileInfoClass::path_relation("x", (a + "\\X").c_str()), 1);
  SetCurrentDirectoryA(current);
}
