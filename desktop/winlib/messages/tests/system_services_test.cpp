// The system's error texts and the walk of the process heap into the log.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/heap_walk.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/system_text.h"

TEST(SystemText, LastErrorOfTheThread) {
  std::string by_code = last_error_text(ERROR_FILE_NOT_FOUND);
  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(std::string(last_error_text(0)), by_code);
  EXPECT_EQ(by_code.find('\n'), std::string::npos);
}

TEST(HeapWalk, WalksTheProcessHeapIntoTheLog) {
  const char* path = "winlib_heap_walk_test.txt";
  std::remove(path);
  log_open(path);
  EXPECT_TRUE(heap_walk("test", nullptr, true));
  log_close();
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::remove(path);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[3], "-- Heap walk [test] start --------------------------------------");
  EXPECT_EQ(lines[4].rfind("-- Heap walk end [entries ", 0), 0u);
}
