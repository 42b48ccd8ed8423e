// The ini file: channels, cfc id and the system parameters, read over the
// defaults and written back.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/storage/ini_file.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/engine/storage/system_parameters.h"
#include "platform/files/whole_file.h"

namespace {

class IniFile : public CardFixture {
 protected:
  void SetUp() override {
    CardFixture::SetUp();
    reset_cfc_id();
  }
  void write_ini(const std::string& text) const {
    std::ofstream out(card_ / "VANDU.ini", std::ios::binary);
    out << text;
  }
  std::string read_ini() const {
    std::ifstream in(card_ / "VANDU.ini", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(IniFile, MissingFileKeepsDefaultsAndSaysSo) {
  engine_message_capture capture;
  store_system_parameter(PARAM_NOISE, 30);
  EXPECT_FALSE(read_ini_file());
  EXPECT_EQ(cfc_id(), "NOT_SET");
  EXPECT_EQ(system_parameter(PARAM_NOISE), 30);
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].first, 1);
  EXPECT_EQ(capture.messages()[0].second.rfind("-- NO INIT FILE --\n", 0), 0u);
  EXPECT_NE(capture.messages()[0].second.find("VANDU.ini\n-- FOUND --"), std::string::npos);
}

TEST_F(IniFile, ChannelLine) {
  struct Case {
    const char* line;
    int a_on, b_on, current;
  } cases[] = {
      {"0 0\n", 1, 0, 0},
      {"0 1\n", 0, 1, 1},
      {"1 1\n", 1, 1, 0},
      {"1 0\n", 1, 0, 0},
      {"4294967296 1\n", 1, 1, 0},
      {"99999999999999999999999 0\n", 1, 0, 0},
      {"-1 7\n", 1, 1, 0},
      {"x 1\n", 1, 0, 0},
  };
  for (const Case& c : cases) {
    write_ini(c.line);
    ASSERT_TRUE(read_ini_file()) << c.line;
    EXPECT_EQ(channels.a_on.load(), c.a_on) << c.line;
    EXPECT_EQ(channels.b_on.load(), c.b_on) << c.line;
    EXPECT_EQ(channels.current.load(), c.current) << c.line;
    EXPECT_EQ(cfc_id(), "NOT_SET") << "a file ending after line 1";
  }
}

TEST_F(IniFile, ParameterLines) {
  write_ini(
      "1 0\nABCDEFc\n[LPFREQ] 50000\n[noise] 99\n[FLASHFILL] 25\nnonsense\n[SHUTDOWN] 45\n"
      "[UNKNOWN] 3\n[BKGFILL]\n[ND2] 2.5\n");
  ASSERT_TRUE(read_ini_file());
  EXPECT_EQ(cfc_id(), "ABCDEFc");
  EXPECT_TRUE(parameter_listed(PARAM_DATASET));
  EXPECT_EQ(system_parameter(PARAM_LPFREQ), 50000) << "no range check";
  EXPECT_EQ(system_parameter(PARAM_NOISE), 30) << "keys are case-sensitive";
  EXPECT_DOUBLE_EQ(flash_fill.load(), 0.25);
  EXPECT_DOUBLE_EQ(flash_share.load(), 0.75);
  EXPECT_EQ(system_parameter(PARAM_BKGFILL), 0) << "a line without a value is skipped";
  EXPECT_EQ(shutdown_minutes(), 45);
  EXPECT_EQ(system_parameter(PARAM_ND2), 2.5);
}

TEST_F(IniFile, ValueThatIsNotAFiniteNumberIsSkipped) {
  write_ini("1 0\nCFC\n[NOISE] nan\n[SHUTDOWN] inf\n[ND1] 1e999\n[ND2] -inf\n[FLASHFILL] NAN\n[ND3] 1e300\n");
  ASSERT_TRUE(read_ini_file());
  EXPECT_EQ(system_parameter(PARAM_NOISE), 30);
  EXPECT_EQ(system_parameter(PARAM_SHUTDOWN), 30);
  EXPECT_EQ(shutdown_minutes(), 12);
  EXPECT_EQ(system_parameter(PARAM_ND1), 1);
  EXPECT_EQ(system_parameter(PARAM_ND2), 2);
  EXPECT_EQ(system_parameter(PARAM_FLASHFILL), 0);
  EXPECT_DOUBLE_EQ(flash_share.load(), 1.0);
  EXPECT_EQ(system_parameter(PARAM_ND3), 1e300) << "a finite value is stored unchecked";
}

TEST_F(IniFile, CfcIdIsOneWordCutTo31AndRefusedWithPathCharacters) {
  engine_message_capture capture;
  write_ini("1 0\n" + std::string(40, 'x') + "\n");
  ASSERT_TRUE(read_ini_file());
  EXPECT_EQ(cfc_id(), std::string(31, 'x'));
  EXPECT_FALSE(parameter_listed(PARAM_DATASET));
  for (const char* bad : {"..\\..\\X", "A/B", "C:D", "..", "a?b"}) {
    write_ini(std::string("1 0\n") + bad + "\n[NOISE] 40\n");
    ASSERT_TRUE(read_ini_file()) << bad;
    EXPECT_EQ(cfc_id(), "NOT_SET") << bad;
    EXPECT_EQ(system_parameter(PARAM_NOISE), 40) << bad;
  }
  EXPECT_EQ(capture.messages().size(), 5u);
}

TEST_F(IniFile, LongLinesAreReadWithinBounds) {
  write_ini("1 0\nCFC\n[" + std::string(5000, 'K') + "] 7\n[NOISE] 12\n" + std::string(3000, ' ') + "\n");
  ASSERT_TRUE(read_ini_file());
  EXPECT_EQ(system_parameter(PARAM_NOISE), 12);
}

TEST_F(IniFile, NulByteInALineLosesNoOtherLine) {
  const char text[] = "1 0\nCFC\n[ND1]\0 1.5\n[NOISE] 12\n";
  write_ini(std::string(text, sizeof text - 1));
  ASSERT_TRUE(read_ini_file());
  EXPECT_EQ(system_parameter(PARAM_ND1), 1);
  EXPECT_EQ(system_parameter(PARAM_NOISE), 12);
}

TEST_F(IniFile, WrittenFileReadsBack) {
  channels.a_on = 0;
  channels.b_on = 0;
  set_cfc_id("CFC7");
  store_system_parameter(PARAM_NOTCHFREQ, 60);
  store_system_parameter(PARAM_ND1, 0.75);
  ASSERT_TRUE(write_ini_file());
  const std::string text = read_ini();
  EXPECT_EQ(text.rfind("1  0\nCFC7\n[LPFREQ] 0\n[NOTCHFREQ] 60\n[SAMPLES] 1\n", 0), 0u) << text;
  EXPECT_NE(text.find("[ND1] 0.75\n[ND2] 2\n[ND3] 3\n[DATASET] 0\n"), std::string::npos) << text;

  channels.a_on = 1;
  channels.b_on = 1;
  ASSERT_TRUE(write_ini_file());
  copy_default_parameters();
  ASSERT_TRUE(read_ini_file());
  EXPECT_EQ(read_ini().rfind("1 1\n", 0), 0u);
  EXPECT_EQ(system_parameter(PARAM_NOTCHFREQ), 60);
  EXPECT_EQ(system_parameter(PARAM_ND1), 0.75);
  EXPECT_EQ(cfc_id(), "CFC7");
}

TEST_F(IniFile, UncreatableFileIsAFailure) {
  std::filesystem::create_directories(card_ / "VANDU.ini");
  EXPECT_FALSE(write_ini_file());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(card_), {}), 1) << "nothing left beside it";
}

TEST_F(IniFile, FailedWriteKeepsTheOldFile) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a device that is always full";
#else
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  write_ini("1 1\nOLD7\n[NOISE] 44\n");
  // The new text goes first to "VANDU.ini.new", which here cannot take it.
  std::filesystem::create_symlink("/dev/full", card_ / "VANDU.ini.new");
  EXPECT_FALSE(write_ini_file());
  EXPECT_EQ(read_ini(), "1 1\nOLD7\n[NOISE] 44\n");
#endif
}

// A full card or a power cut while the ini file is replaced keeps the old
// file byte for byte; a failure names the file, and what a cut left beside
// it goes at the next start.
TEST_F(IniFile, AFailedOrCutWriteKeepsTheOldFile) {
  engine_message_capture capture;
  write_ini("1 1\nOLD7\n[NOISE] 44\n");
  for (wholeFileFault fault : {wholeFileFault::flush, wholeFileFault::killed}) {
    set_whole_file_fault(fault);
    EXPECT_FALSE(write_ini_file());
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_EQ(read_ini(), "1 1\nOLD7\n[NOISE] 44\n");
  }
  EXPECT_EQ(capture.messages().front().second, "*** UNABLE TO STORE ***\nStorage Card\\VANDU.ini");
  ASSERT_TRUE(std::filesystem::exists(card_ / "VANDU.ini.new"));
  ASSERT_TRUE(read_ini_file());
  EXPECT_FALSE(std::filesystem::exists(card_ / "VANDU.ini.new"));
  EXPECT_EQ(cfc_id(), "OLD7");
}

}  // namespace
