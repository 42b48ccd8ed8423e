#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "board_options.h"
#include "calibration_table.h"
#include "card_path.h"
#include "channel_selection.h"
#include "engine_message_capture.h"
#include "protocol_interpreter.h"
#include "protocol_program.h"
#include "record_init.h"
#include "sim_unit.h"
#include "simulated_unit.h"
#include "stimulator_link.h"
#include "system_parameters.h"
#include "test_files.h"
#include "test_folders.h"
#include "unit_clock.h"

namespace {

folderDate pinned_date() { return folderDate{2024, 3, 15}; }

// The simulated unit with its stimulator and a fresh storage card.
class Interpreter : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    load_default_calibration();
    open_stimulator();
    card_ = folder_ / "card";
    std::filesystem::create_directories(card_);
    set_card_root(card_.wstring().c_str());
    set_folder_date_source(pinned_date);
    copy_default_parameters();
    set_cfc_id("CFC7");
    g_ERG_directory_index = 0;
    g_protocol_number = 1;
    g_session_number = 0;
    g_run_count = 4;
    g_channels.a_on = 1;
    g_channels.b_on = 1;
    set_entered_test_id(nullptr);
    ASSERT_TRUE(set_ERG_directory(false));
    for (uint32_t input : {0u, 1u}) {
      sim_signal signal;
      sim_signal_defaults(input, &signal);
      sim_signal_set(input, &signal);
    }
    program_ = std::make_unique<programRecord>();
    clear_program(*program_);
  }
  void TearDown() override {
    send_8051_byte(COMMAND_DONE);
    reset_calibration_table();
    g_channels.a_on = 1;
    g_channels.b_on = 0;
    set_card_root(nullptr);
    set_folder_date_source(nullptr);
    reset_cfc_id();
    copy_default_parameters();
    SimulatedUnit::TearDown();
  }

  std::filesystem::path in_folder(const std::wstring& name) const { return card_ / "T240315_CFC7" / name; }
  std::vector<std::wstring> stored(const wchar_t* extension) const {
    std::vector<std::wstring> names;
    for (const auto& e : std::filesystem::directory_iterator(card_ / "T240315_CFC7")) {
      if (e.path().extension() == extension) names.push_back(e.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  void push(uint16_t opcode, uint32_t value) { ASSERT_TRUE(push_step(*program_, opcode, value, 0)); }
  // A single flash with pre and post milliseconds.
  static uint32_t rfr(uint32_t pre, uint32_t post) { return (pre << 24) | post; }

  std::filesystem::path card_;
  std::unique_ptr<programRecord> program_;
};

TEST_F(Interpreter, SingleFlashTestStoresBothChannels) {
  set_entered_test_id(L"AB12");
  push(OPCODE_TEST, 0);
  push(OPCODE_INTENSITY, 20000);
  push(OPCODE_RFR, rfr(20, 180));
  push(OPCODE_END_TEST, 0);
  std::strcpy(program_->Texts[0], "???");  // no title of its own: the caller's is kept
  ASSERT_TRUE(scan_program(*program_));
  engine_message_capture capture;
  ASSERT_TRUE(Execute(*program_, 0, 0, 0, 0, L"PHOTOPIC"));
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_FALSE(g_run_commands.running);

  const std::vector<std::wstring> names = stored(L".tst");
  ASSERT_EQ(names, (std::vector<std::wstring>{L"P01S00T0004A-AB12.tst", L"P01S00T0004B-AB12.tst"}));
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(std::filesystem::file_size(in_folder(names[channel])), 96681u);
    auto read = std::make_unique<testFileRecord>();
    ASSERT_TRUE(read_tst_file(*read, names[channel]));
    EXPECT_EQ(read->T, 0);
    EXPECT_EQ(read->N, 4);
    EXPECT_EQ(read->TestId[0], u'A');
    EXPECT_EQ(read->ProtocolName[0], u'P');
    EXPECT_EQ(read->FlickerMark, u'N');
    EXPECT_EQ(read->Config.Intensity, 20000);
    EXPECT_EQ(read->Config.PreTime, 20);
    EXPECT_EQ(read->Config.PostTime, 180);
    EXPECT_EQ(read->Average.Divisor, 1.0);
    EXPECT_EQ(read->Average.CollectionTime, 20u);
    EXPECT_NEAR(read->LastSweep.Time, 200.0, 1.0);
    // The b-wave rises well above the pre-flash baseline: the response was recorded.
    const double scale = read->Config.Scale;
    const int flash = read->Average.PointCount * 20 / 200;
    const int peak = read->Average.PointCount * 60 / 200;
    EXPECT_GT((read->Average.Data[peak] - read->Average.Data[flash / 2]) * scale, 0.0) << channel;
  }
}
}  // namespace
