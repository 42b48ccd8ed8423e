#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/heap_report.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/messages.h"

namespace {

std::vector<std::string> read_lines(const char* path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Opens the log on a fresh file and closes it again at the end.
class DebugLog : public ::testing::Test {
 protected:
  void SetUp() override {
    std::remove(path);
    log_open(path);
  }
  void TearDown() override {
    log_close();
    std::remove(path);
  }
  // The lines after the two head lines.
  std::vector<std::string> body() {
    std::vector<std::string> lines = read_lines(path);
    if (lines.size() < 3) return {};
    return std::vector<std::string>(lines.begin() + 3, lines.end());
  }
  const char* path = "winlib_debug_log_test.txt";
};

}  // namespace

TEST(DebugLogOff, NothingIsWrittenUntilTheLogIsOpened) {
  const char* path = "winlib_debug_log_off.txt";
  std::remove(path);
  EXPECT_FALSE(log_is_enabled());
  EXPECT_STREQ(log_file_name(), "QEVLOG.TXT");
  message_capture capture;
  log_message("nothing %d", 1);
  errormessage("not logged either");
  EXPECT_EQ(read_lines("QEVLOG.TXT").size(), 0u);
}

TEST_F(DebugLog, FirstWriteStartsTheFileWithItsHeadThenLinesAreAppended) {
  log_message("first %d", 1);
  log_message("second %s", "two");
  std::vector<std::string> lines = read_lines(path);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], std::string(66, '+'));
  EXPECT_EQ(lines[1].rfind("-- log start ", 0), 0u);
  EXPECT_EQ(lines[1].size(), 13u + 24u);
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "first 1");
  EXPECT_EQ(lines[4], "second two");

  log_open(path);  // opening again starts the file anew
  log_message("again");
  EXPECT_EQ(read_lines(path).size(), 4u);
}

TEST_F(DebugLog, LevelsIndentAndStayWithinTheirBounds) {
  log_enter("a");
  log_enter("b");
  log_enter("c");
  log_leave();
  log_message("d");
  for (int i = 0; i < 30; ++i) log_enter("deep");
  EXPECT_EQ(log_level(), 20);
  log_reset_level();
  for (int i = 0; i < 3; ++i) log_leave();
  EXPECT_EQ(log_level(), 0);
  log_message("e");
  std::vector<std::string> lines = body();
  ASSERT_EQ(lines.size(), 35u);
  EXPECT_EQ(lines[0], "a");
  EXPECT_EQ(lines[1], ".  b");
  EXPECT_EQ(lines[2], ".  .  c");
  EXPECT_EQ(lines[3], ".  .  d");
  EXPECT_EQ(lines[34], "e");
}

TEST_F(DebugLog, ErrorsAreLoggedAsFinishedTextsAndLongLinesAreCut) {
  message_capture capture;
  errormessage("%s", "100% done %d");
  log_message("%s", std::string(600, 'x').c_str());
  std::vector<std::string> lines = body();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "100% done %d");
  EXPECT_EQ(lines[1], std::string(511, 'x'));
}

TEST_F(DebugLog, AFileThatCannotBeOpenedIsReported) {
  message_capture capture;
  log_open("no_such_folder_for_the_log/log.txt");
  log_message("lost");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** UNABLE TO OPEN LOG FILE ***"});
  EXPECT_EQ(capture.captions(), std::vector<std::string>{"info"});
  log_open(std::string(300, 'n').c_str());  // refused; the error goes to the failing log
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** UNABLE TO OPEN LOG FILE ***",
                                                       "*** log_open: NO USABLE LOG FILE NAME ***",
                                                       "*** UNABLE TO OPEN LOG FILE ***"}));
  EXPECT_STREQ(log_file_name(), "no_such_folder_for_the_log/log.txt");
}

TEST_F(DebugLog, HexDumpOfTwentyBytes) {
  unsigned char data[20];
  for (int i = 0; i < 20; ++i) data[i] = static_cast<unsigned char>(0x20 + i * 3);
  data[0] = 0x00;
  data[1] = '%';
  data[19] = 0x7f;
  hex_dump("block", data, 20);
  std::vector<std::string> lines = body();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].rfind("*************** block #", 0), 0u);
  EXPECT_NE(lines[0].find(" / 20 ******************"), std::string::npos);
  EXPECT_EQ(lines[1], "       0  0025 2629 2c2f 3235 383b 3e41 4447 4a4d    |.%&),/258;>ADGJM|");
  EXPECT_EQ(lines[2], "      10  5053 567f         |PSV.|");
  EXPECT_EQ(lines[3], "*****************************************");
}

TEST_F(DebugLog, HexDumpPadsAnOddLastLine) {
  const unsigned char data[3] = {'a', 'b', 'c'};
  hex_dump("odd", data, 3);
  std::vector<std::string> lines = body();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "       0  6162 63      |abc|");
}

TEST_F(DebugLog, MemoryStateReports) {
  message_capture capture;
  memory_state_report("start", 2);
  memory_state_copy("copy", 1, 2);
  memory_ok("end");
  memory_state_report("bad", memory_state_count);
  std::vector<std::string> lines = body();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "MEM STATE (2) REPORT [start] NORMAL     0/      0 bytes.");
  EXPECT_EQ(lines[1], "MEM STATE (2) REPORT [copy] NORMAL     0/      0 bytes.");
  EXPECT_EQ(lines[2], "-- MEMORY OK AT end");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** memory_state_report: SNAPSHOT INDEX 16 OUT OF RANGE (0..15) ***"});
}
