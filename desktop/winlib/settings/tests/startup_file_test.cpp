#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/settings/startup_file.h"
#include "platform/files/whole_file.h"

namespace {

const char* file_name = "winlib_startup_test.ini";

void write_file(const std::string& text) {
  std::ofstream out(file_name, std::ios::binary);
  out << text;
}

// The file's text with Windows line ends read as line feeds.
std::string read_file() {
  std::ifstream in(file_name);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

// Two settings in the program's list for the length of a test.
class StartupFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::remove(file_name);
    startup_settings().add(&folder_setting);
    startup_settings().add(&font_setting);
    set_startup_file("", file_name);
  }
  void TearDown() override {
    startup_settings().clear();
    set_startup_file("", "NONE");
    std::remove(file_name);
  }
  char folder[32] = "C:\\DATA";
  char font[8] = "Arial";
  startupSetting folder_setting{"DATA_FOLDER", folder, sizeof folder};
  startupSetting font_setting{"FONT", font, sizeof font};
};

}  // namespace

TEST(StartupFileOff, NoneTouchesNothing) {
  message_capture capture;
  set_startup_file("", "NONE");
  EXPECT_TRUE(read_startup_file());
  EXPECT_TRUE(write_startup_file());
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(StartupFile, WriteThenReadRoundTrip) {
  ASSERT_TRUE(write_startup_file());
  EXPECT_EQ(read_file(), "[DATA_FOLDER] C:\\DATA\n[FONT] Arial\n");
  std::strcpy(folder, "changed");
  std::strcpy(font, "x");
  ASSERT_TRUE(read_startup_file());
  EXPECT_STREQ(folder, "C:\\DATA");
  EXPECT_STREQ(font, "Arial");
}

TEST_F(StartupFile, ReadingFillsKnownTagsWithinTheirTargets) {
  message_capture capture;
  write_file("comment before\r\n[UNKNOWN] ignored\r\n[FONT]   Courier New Bold\r\n  [DATA_FOLDER]D:\\x y\r\n\r\n");
  ASSERT_TRUE(read_startup_file());
  EXPECT_STREQ(font, "Courier");  // cut to its target
  EXPECT_STREQ(folder, "D:\\x y");
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(StartupFile, Failures) {
  message_capture capture;
  write_file("[FONT] Tahoma\n[DATA_FO");
  EXPECT_FALSE(read_startup_file());
  EXPECT_STREQ(font, "Tahoma");
  write_file("[" + std::string(70, 'T') + "] v\n[FONT] Helv\n");
  EXPECT_TRUE(read_startup_file());
  EXPECT_STREQ(font, "Helv");
  std::remove(file_name);
  EXPECT_FALSE(read_startup_file());
  set_startup_file("no_such_folder_for_startup", file_name);
  EXPECT_FALSE(write_startup_file());
  std::vector<captured_box> boxes = capture.records();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].text, "*** EOF IN TAG OF INITIALIZATION FILE ***");
  EXPECT_EQ(boxes[1].text, "*** TAG TOO LONG IN INITIALIZATION FILE [" + std::string(64, 'T') + "...] ***");
  EXPECT_EQ(boxes[2].caption, "info");
  EXPECT_EQ(boxes[2].text, std::string("*** UNABLE TO OPEN STARTUP FILE [") + file_name + "] FOR READING ***");
  EXPECT_EQ(boxes[3].caption, "info");
  EXPECT_NE(boxes[3].text.find("*** UNABLE TO OPEN [no_such_folder_for_startup"), std::string::npos);
}

// A full disk or a program killed while the file is replaced keeps the old
// file byte for byte; a failure names the file.
TEST_F(StartupFile, AFailedOrKilledWriteKeepsTheOldFile) {
  message_capture capture;
  const std::string old_text = "[DATA_FOLDER] D:\\OLD\n[FONT] Helv\n";
  for (wholeFileFault fault : {wholeFileFault::flush, wholeFileFault::close, wholeFileFault::killed}) {
    write_file(old_text);
    capture.clear();
    set_whole_file_fault(fault);
    EXPECT_FALSE(write_startup_file());
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_EQ(read_file(), old_text);
    ASSERT_EQ(capture.texts().size(), 1u);
    EXPECT_EQ(capture.texts()[0].rfind(std::string("*** UNABLE TO WRITE [") + file_name + "] ***\n", 0), 0u)
        << capture.texts()[0];
  }
  std::remove((std::string(file_name) + ".new").c_str());
}

// A line ends at LF, CR or CR LF; what was read reads the same after it is
// written and read again.
TEST_F(StartupFile, LineEndsAndRoundTripOfWhatWasRead) {
  struct Case {
    const char* text;
    const char* folder;
    const char* font;
  } cases[] = {
      {"[DATA_FOLDER] a\n[FONT] b\n", "a", "b"},
      {"[DATA_FOLDER] a\r[FONT] b\r", "a", "b"},
      {"[DATA_FOLDER] a\r\n[FONT] b\r\n", "a", "b"},
      {"[DATA_FOLDER] a\r\r\n\n[FONT] b", "a", "b"},
      {"[DATA_FOLDER]\r\tx\n[FONT]\t b c \r", "", "b c "},
  };
  for (const Case& c : cases) {
    std::strcpy(folder, "old");
    std::strcpy(font, "old");
    write_file(c.text);
    ASSERT_TRUE(read_startup_file()) << c.text;
    EXPECT_STREQ(folder, c.folder) << c.text;
    EXPECT_STREQ(font, c.font) << c.text;
    ASSERT_TRUE(write_startup_file());
    std::strcpy(folder, "old");
    std::strcpy(font, "old");
    ASSERT_TRUE(read_startup_file());
    EXPECT_STREQ(folder, c.folder) << c.text;
    EXPECT_STREQ(font, c.font) << c.text;
  }
}
