#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/demo_card.h"
#include "tools/protocol_recorder.h"
#include "platform/unit/sim_unit.h"

namespace {

namespace fs = std::filesystem;

class Recorder : public ::testing::Test {
 protected:
  void SetUp() override {
    card_ = fs::temp_directory_path() / ("erg_recorder_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(card_);
    fs::create_directories(card_);
  }
  void TearDown() override { fs::remove_all(card_); }

  size_t count(const std::vector<std::wstring>& names, const wchar_t* ending) const {
    return std::count_if(names.begin(), names.end(), [ending](const std::wstring& n) {
      const std::wstring e(ending);
      return n.size() >= e.size() && n.compare(n.size() - e.size(), e.size(), e) == 0;
    });
  }
  fs::path card_;
};

// The demonstration session: four tests on both channels, minutes of unit
// time, every file the unit stores, nothing overrun on the board.
TEST_F(Recorder, DemoSessionStoresEveryTestWithItsFiles) {
  ASSERT_TRUE(write_demo_card(card_.wstring()));
  recordingResult result;
  ASSERT_TRUE(record_protocol(card_.wstring(), kDemoProtocol, L"DEMO01", result));
  EXPECT_TRUE(result.ran);
  EXPECT_TRUE(result.messages.empty()) << result.messages.front();
  EXPECT_GT(result.unit_ms, 3u * 60000u);
  EXPECT_LT(result.unit_ms, 6u * 60000u);

  EXPECT_EQ(count(result.stored, L".tst"), 8u);
  EXPECT_EQ(count(result.stored, L".s"), 8u);
  // 8, 3 and 10 flashes leave 7, 2 and 9 sample files per channel; the
  // flicker's 49 sweeps leave 48.
  EXPECT_EQ(count(result.stored, L".spl"), 2u * (7 + 2 + 9 + 48));
  EXPECT_EQ(std::count(result.stored.begin(), result.stored.end(), L"P01S01T0400B-DEMO01.tst"), 1);
  EXPECT_TRUE(fs::exists(card_ / "LOG"));

  // The test times (record byte 40) come from the unit's clock: each of
  // channel A's tests more than a second of unit time after the one before.
  std::vector<uint64_t> times;
  for (const std::wstring& name : result.stored) {
    if (name.size() < 12 || name[11] != L'A' || count({name}, L".tst") == 0) continue;
    std::ifstream file(fs::path(result.test_folder) / name, std::ios::binary);
    char bytes[1 + 48] = {};
    ASSERT_TRUE(file.read(bytes, sizeof bytes));
    uint64_t time = 0;
    std::memcpy(&time, bytes + 1 + 40, sizeof time);
    times.push_back(time);
  }
  ASSERT_EQ(times.size(), 4u);
  for (size_t i = 1; i < times.size(); ++i) EXPECT_GT(times[i], times[i - 1] + 10000000u) << i;

  // The start-up exchange gave the unit its stimulator's table: every record
  // carries the serial number packed in it, the log's boot record the unit
  // id and the stimulator's version.
  for (const std::wstring& name : result.stored) {
    if (count({name}, L".tst") == 0) continue;
    std::ifstream file(fs::path(result.test_folder) / name, std::ios::binary);
    char bytes[1 + 76] = {};
    ASSERT_TRUE(file.read(bytes, sizeof bytes));
    char16_t unit[7];
    std::memcpy(unit, bytes + 1 + 62, sizeof unit);
    EXPECT_EQ(std::u16string(unit, 7), u"1234567") << fs::path(name).string();
  }
  std::string log;
  for (const fs::directory_entry& entry : fs::directory_iterator(card_ / "LOG")) {
    std::ifstream file(entry.path(), std::ios::binary);
    log.append(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  EXPECT_NE(log.find("(unit 1234567)"), std::string::npos) << log.substr(0, 400);
  // The unit's clock follows the stimulator's (set at its power-on to
  // 2024-03-01), so the test folder is of that day.
  EXPECT_NE(result.test_folder.find(L"T240301_DEMO"), std::wstring::npos);
  EXPECT_NE(log.find("(8051_version 3.010)"), std::string::npos) << log.substr(0, 400);

  sim_counters counters{};
  sim_get_counters(&counters);
  EXPECT_EQ(0u, counters.rx_overruns);
  EXPECT_EQ(0u, counters.bus_contention);
  EXPECT_EQ(0u, counters.partial_words);
}

TEST_F(Recorder, MissingCardOrProgramIsRefusedWithItsReason) {
  recordingResult result;
  EXPECT_FALSE(record_protocol((card_ / "absent").wstring(), kDemoProtocol, nullptr, result));
  ASSERT_EQ(result.messages.size(), 1u);
  EXPECT_EQ(result.messages[0], "the card folder does not exist");

  EXPECT_FALSE(record_protocol(card_.wstring(), L"NONE.ses", nullptr, result));
  ASSERT_FALSE(result.messages.empty());
  EXPECT_EQ(result.messages.back(), "the program file cannot be read from the card");
}

}  // namespace
