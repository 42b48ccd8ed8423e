// The calibration file on the storage card: saved, loaded whole or not at
// all.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <filesystem>
#include <fstream>
#include <sstream>

#include "handheld/engine/storage/calibration_file.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "platform/ce/card_path.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"

namespace {

class CalibrationFile : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    std::filesystem::create_directories(folder_ / "card");
    set_card_root((folder_ / "card").wstring().c_str());
    reset_calibration_table();
    set_unit_serial("1234567");
    open_stimulator();
  }
  void TearDown() override {
    set_card_root(nullptr);
    reset_calibration_table();
    set_unit_serial("");
    SimulatedUnit::TearDown();
  }

  std::filesystem::path file() const { return folder_ / "card" / "Cal1234567.txt"; }

  void write_file(int values, const char* odd_line = nullptr) {
    std::ofstream out(file());
    for (int e = 0; e < values; ++e) out << (e == 5 && odd_line ? odd_line : std::to_string(e + 0.5)) << "\n";
  }

  static uint32_t frames_sent() { return sim_stim_records(nullptr, 0); }
};

TEST_F(CalibrationFile, SavesOneLinePerEntry) {
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) calibration_table[e] = e * 1.5e-5;
  calibration_table[3] = -1930.0;
  engine_message_capture shown;
  EXPECT_TRUE(save_calibration_file());
  std::ifstream in(file());
  std::stringstream text;
  text << in.rdbuf();
  std::string expected;
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) {
    char line[64];
    snprintf(line, sizeof line, "%.17lg\n", calibration_table[e].load());
    expected += line;
  }
  EXPECT_EQ(expected, text.str());
  ASSERT_EQ(1u, shown.messages().size());
  EXPECT_EQ("CALIBRATION SAVED\n\nto CFC.\n\n[Storage Card\\Cal1234567.txt]", shown.messages()[0].second);
}

TEST_F(CalibrationFile, ASaveReplacesTheFileOnlyWhenItIsWhole) {
  const auto text_of = [this] {
    std::ifstream in(file());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  };
  const auto files_in_card = [this] {
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "card")) n += entry.is_regular_file();
    return n;
  };
  calibration_table[0] = 4.8e-05;
  write_file(30);
  const std::string old_text = text_of();
  engine_message_capture shown;
  ASSERT_TRUE(save_calibration_file());
  // Every bit of the value is written, so that reading gives it back exactly.
  EXPECT_EQ(0u, text_of().find("4.8000000000000001e-05\n"));
  EXPECT_EQ(1u, files_in_card());
#ifndef _WIN32
  // A card that fills up mid-write: the calibration saved before stays.
  write_file(30);
  struct rlimit limit;
  ASSERT_EQ(0, getrlimit(RLIMIT_FSIZE, &limit));
  struct rlimit small = limit;
  small.rlim_cur = 40;
  void (*was)(int) = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(0, setrlimit(RLIMIT_FSIZE, &small));
  const bool saved = save_calibration_file();
  setrlimit(RLIMIT_FSIZE, &limit);
  signal(SIGXFSZ, was);
  EXPECT_FALSE(saved);
  EXPECT_EQ(old_text, text_of());
  EXPECT_EQ(1u, files_in_card());
  ASSERT_EQ(2u, shown.messages().size());
  EXPECT_EQ("*** cannot open file ***\nStorage Card\\Cal1234567.txt\n*** for storing calibration ***",
            shown.messages()[1].second);
#endif
}

TEST_F(CalibrationFile, LoadsAllThirtyAndKeepsTheUnitsSerialNumber) {
  write_file(30);
  unit_serial_to_table("1234567");
  const double serial_entry = calibration_table[UNIT_SERIAL_ENTRY];
  engine_message_capture shown;
  EXPECT_TRUE(load_calibration_file());
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) {
    EXPECT_EQ(e == UNIT_SERIAL_ENTRY ? serial_entry : e + 0.5, calibration_table[e].load()) << e;
  }
  EXPECT_EQ(30u, frames_sent());
  ASSERT_EQ(1u, shown.messages().size());
  EXPECT_EQ(1, shown.messages()[0].first);
  EXPECT_EQ("CALIBRATION UPDATTED\n\nfrom CFC.\n\n[Storage Card\\Cal1234567.txt]", shown.messages()[0].second);
  EXPECT_NE(std::string::npos, log_text().find("Calibration restored from CFC."));
}

TEST_F(CalibrationFile, AnIncompleteFileChangesNothing) {
  struct Case {
    int values;
    const char* odd_line;
    int read;
  } cases[] = {{12, nullptr, 12}, {0, nullptr, 0}, {30, "garbage", 5}, {30, "nan", 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.values);
    write_file(c.values, c.odd_line);
    engine_message_capture shown;
    EXPECT_FALSE(load_calibration_file());
    EXPECT_EQ(0.0, calibration_table[0].load());
    EXPECT_EQ(14.90119, calibration_table[10].load());
    EXPECT_EQ(0u, frames_sent());
    const std::string only = "*** only (" + std::to_string(c.read) + ") values read ***";
    EXPECT_NE(std::string::npos, log_text().find(only));
    ASSERT_EQ(1u, shown.messages().size());
    EXPECT_EQ(0, shown.messages()[0].first);
    EXPECT_EQ(only + "\nStorage Card\\Cal1234567.txt\n*** calibration not changed ***", shown.messages()[0].second);
  }
}

TEST_F(CalibrationFile, AMissingFileIsReported) {
  engine_message_capture shown;
  EXPECT_FALSE(load_calibration_file());
  ASSERT_EQ(1u, shown.messages().size());
  EXPECT_EQ("*** cannot open file ***\nStorage Card\\Cal1234567.txt\n*** for reading calibration ***",
            shown.messages()[0].second);
  EXPECT_EQ(0u, frames_sent());
}

TEST(CalibrationFileName, TheSerialNumberNamesTheFile) {
  struct Case {
    const char* serial;
    const wchar_t* name;
  } cases[] = {
      {"1234567", L"Storage Card\\Cal1234567.txt"},
      {"12 4567", L"Storage Card\\Cal12.txt"},
      {" 1234", L"Storage Card\\Cal 1234.txt"},
      {"ABCDEFGHIJKL", L"Storage Card\\CalABCDEFGHI.txt"},
      {"", L"Storage Card\\Cal.txt"},
  };
  for (const Case& c : cases) {
    wchar_t name[64];
    ASSERT_TRUE(calibration_file_name(c.serial, name, 64)) << c.serial;
    EXPECT_STREQ(c.name, name) << c.serial;
  }
  wchar_t small[8];
  EXPECT_FALSE(calibration_file_name("1234567", small, 8));
  EXPECT_STREQ(L"", small);
}

}  // namespace
