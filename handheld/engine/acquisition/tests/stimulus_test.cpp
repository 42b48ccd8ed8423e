// Flash, background and backlight settings: the bytes the simulated
// stimulator receives and decodes, and the digital-to-analog converter's
// words.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/acquisition/stimulus.h"

namespace {

using bytes = std::vector<uint8_t>;
using words = std::vector<uint16_t>;

// The converter words shifted to the digital-to-analog converter since the
// last call.
words dac_words() {
  std::vector<sim_bus_byte> log(sim_bus_log(nullptr, 0));
  log.resize(sim_bus_log(log.data(), static_cast<uint32_t>(log.size())));
  sim_bus_log_clear();
  bytes dac;
  for (const sim_bus_byte& b : log) {
    if (b.device == SIM_DEV_DAC) dac.push_back(b.mosi);
  }
  words out;
  for (size_t i = 0; i + 1 < dac.size(); i += 2) out.push_back(static_cast<uint16_t>(dac[i] << 8 | dac[i + 1]));
  return out;
}

class Stimulus : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    load_default_calibration();  // no port yet: nothing sent
    board_options = 0;
    set_flash_fill_percent(0);
    set_background_fill_percent(0);
    open_stimulator();
    sent_to_stimulator();
    dac_words();
  }
  void TearDown() override {
    board_options = 0;
    set_flash_fill_percent(0);
    set_background_fill_percent(0);
    reset_calibration_table();
    SimulatedUnit::TearDown();
  }
};

TEST_F(Stimulus, FlashSettingsGiveTheirBytesAndConverterWords) {
  struct Case {
    int intensity;
    uint8_t mode;
    int period_ms;
    int options;       // board options
    double fill;       // flash fill percent
    int off1, off2;
    bytes sent;        // to the stimulator
    words dac;         // to the converter
  } cases[] = {
      {20000, 1, 0, 0, 0, 0, 0, {'f', 0x61, 0xA7, 1, 1, 0xA4, 0x71}, {0xF004, 0x1338}},
      {0, 1, 0, 0, 0, 0, 0, {'f', 0x00, 0x31, 1, 1, 0x05, 0xE7}, {0xF004, 0x1000}},
      {5000, 2, 20, 0, 0, 0, 0, {'f', 0x30, 0xD3, 2, 2, 0xAD, 0xF2}, {0xF004, 0x11B1}},
      {20000, 2, 20, 0, 0, 0, 0, {'f', 0x61, 0xA7, 2, 2, 0x95, 0x88}, {0xF004, 0x1338}},
      {30000, 2, 50, 0, 0, 0, 0, {'f', 0x61, 0xA7, 2, 4, 0xDD, 0x40}, {0xF004, 0x14DE}},
      {20000, 1, 0, 0, 0, 1, 0, {'f', 0x61, 0xA7, 1, 1, 0xA4, 0x71}, {0xF004, 0x1000}},
      // A second dome: both flashes at the full drive, the second one off.
      {20000, 1, 0, BOARD_DUAL_DOME, 0, 0, 1, {'f', 0x61, 0xA7, 1, 1, 0xA4, 0x71},
       {0xF004, 0x1338, 0xF00C, 0x3000}},
      {20000, 1, 0, BOARD_DUAL_DOME, 0, 0, 0, {'f', 0x61, 0xA7, 1, 1, 0xA4, 0x71},
       {0xF004, 0x1338, 0xF00C, 0x3338}},
      // A fill-in flash of 25 %: three quarters on flash 1, a quarter on flash 2.
      {20000, 1, 0, BOARD_FILL_IN, 25, 0, 0, {'f', 0x61, 0xA7, 1, 1, 0xA4, 0x71},
       {0xF004, 0x1000 | 624, 0xF00C, 0x3000 | 249}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.intensity << " " << c.period_ms << " options " << c.options);
    board_options = c.options;
    set_flash_fill_percent(c.fill);
    EXPECT_EQ(1, set_flash(c.intensity, c.mode, c.period_ms, c.off1, c.off2));
    EXPECT_EQ(c.sent, sent_to_stimulator());
    EXPECT_EQ(c.dac, dac_words());
    EXPECT_EQ(c.period_ms, flicker_period_ms.load());
    sim_stim_state state;
    sim_stim_get_state(&state);
    EXPECT_EQ(static_cast<uint32_t>(c.sent[1] << 8 | c.sent[2]), state.flash_word);
    EXPECT_EQ(c.mode, state.flash_mode);
  }
}

TEST_F(Stimulus, TheStimulatorDecodesTheRequestedFlickerPeriod) {
  for (int intensity : {0, 5000, 20000, 30000}) {
    for (int period : {10, 20, 33, 50, 60}) {
      SCOPED_TRACE(testing::Message() << intensity << " at " << period << " ms");
      ASSERT_EQ(1, set_flash(intensity, 2, period, 0, 0));
      sim_stim_state state;
      sim_stim_get_state(&state);
      EXPECT_NEAR(period * 1000.0, state.flicker_period_us, 1.0);
    }
  }
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  sim_stim_state state;
  sim_stim_get_state(&state);
  EXPECT_EQ(0.0, state.flicker_period_us);
  EXPECT_EQ(0u, state.bad_records);
}

TEST_F(Stimulus, AnUnattainableFlickerPeriodSendsNothing) {
  engine_message_capture shown;
  ASSERT_EQ(1, set_flash(20000, 2, 20, 0, 0));
  sent_to_stimulator();
  dac_words();
  // 1 ms is shorter than the flash itself; 700 s needs a prescaler above 255.
  for (int period : {1, 700000, -5}) {
    SCOPED_TRACE(period);
    EXPECT_EQ(0, set_flash(20000, 2, period, 0, 0));
    EXPECT_TRUE(sent_to_stimulator().empty());
    EXPECT_TRUE(dac_words().empty());
    EXPECT_EQ(20, flicker_period_ms.load());
  }
  ASSERT_EQ(3u, shown.messages().size());
  for (const auto& m : shown.messages()) {
    EXPECT_EQ(0, m.first);
    EXPECT_EQ("*** UNATTAINABLE FLICKER TIME ***", m.second);
  }
  // The stimulator takes the next command as a command.
  ASSERT_EQ(1, set_flash(0, 1, 0, 0, 0));
  sim_stim_state state;
  sim_stim_get_state(&state);
  EXPECT_EQ(49u, state.flash_word);
  EXPECT_EQ(0u, state.partial);
  EXPECT_EQ(0u, state.bad_records);
}

TEST_F(Stimulus, BackgroundLevelsFollowEachDomesLine) {
  calibration_table[28] = 4e-05;
  calibration_table[29] = 0.5;
  struct Case {
    int intensity;
    int options;
    double fill;
    words dac;
  } cases[] = {
      {20000, 0, 0, {0xF000, 1474}},
      {8000, 0, 0, {0xF000, 983}},
      {0, 0, 0, {0xF000, 0x0000}},
      // Dome 2 on its own line: 4e-05 x 20000 + 0.5 = 1.3 V.
      {20000, BOARD_DUAL_DOME, 0, {0xF000, 1474, 0xF008, 0x2000 | 1064}},
      // A fill of 40 %: 60 % of the light on dome 1's line, 40 % on dome 2's.
      {20000, BOARD_FILL_IN, 40, {0xF000, 1146, 0xF008, 0x2000 | 671}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.intensity << " options " << c.options);
    board_options = c.options;
    set_background_fill_percent(c.fill);
    EXPECT_EQ(1, set_background(c.intensity));
    EXPECT_EQ(c.dac, dac_words());
  }
  EXPECT_TRUE(sent_to_stimulator().empty());
  // A line that gives no drive: 0.
  calibration_table[3] = -2.0;
  board_options = 0;
  set_background(20000);
  EXPECT_EQ((words{0xF000, 0x0000}), dac_words());
}

TEST_F(Stimulus, BacklightCountsGoToTheStimulator) {
  EXPECT_EQ(0.0, backlight_percent_to_counts(100));
  EXPECT_EQ(16000.0, backlight_percent_to_counts(0));
  EXPECT_DOUBLE_EQ(50.0, counts_to_backlight_percent(8000));
  EXPECT_EQ(4000.0, half_counts(8000));
  EXPECT_EQ(16000.0, double_counts(8000));

  set_backlight(100);
  EXPECT_EQ((bytes{'B', 0xC0, 0, 0, 0, 0xC0, 0, 0, 0}), sent_to_stimulator());
  set_backlight(0);
  EXPECT_EQ((bytes{'B', 0xCF, 0xA0, 0xF0, 0x60, 0xDF, 0x40, 0xE0, 0xC0}), sent_to_stimulator());
  store_backlight(0);
  EXPECT_EQ((bytes{'L', 0, 8, 0xCF, 0xA0, 0xF0, 0x60, 0xDF, 0x40, 0xE0, 0xC0}), sent_to_stimulator());
  sim_stim_state state;
  sim_stim_get_state(&state);
  EXPECT_EQ(4000u, state.backlight[0]);
  EXPECT_EQ(8000u, state.backlight[1]);
  EXPECT_EQ(4000u, state.stored_backlight[0]);
  EXPECT_EQ(8000u, state.stored_backlight[1]);
  EXPECT_EQ(0u, state.bad_records);
  EXPECT_NE(std::string::npos, log_text().find("-- backlight updated to 0"));
}

TEST_F(Stimulus, ABacklightLevelOutsideItsRangeIsHeldToIt) {
  // A level read from an edited ini file may lie anywhere; its counts must
  // still be the stimulator's own.
  const bytes full = {'B', 0xC0, 0, 0, 0, 0xC0, 0, 0, 0};
  const bytes off = {'B', 0xCF, 0xA0, 0xF0, 0x60, 0xDF, 0x40, 0xE0, 0xC0};
  struct Case {
    double percent;
    const bytes& sent;
  } cases[] = {{150, full}, {1e12, full}, {-20, off}, {-1e300, off}, {std::nan(""), full}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    set_backlight(c.percent);
    EXPECT_EQ(c.sent, sent_to_stimulator());
  }
  sim_stim_state state;
  sim_stim_get_state(&state);
  EXPECT_EQ(0u, state.bad_records);
}

TEST(StimulusConversions, FlashDriveAndConverterCounts) {
  reset_calibration_table();
  calibration_table[0] = 2e-04;
  calibration_table[1] = 0.5;
  // Without a quadratic the flash line, not limited.
  EXPECT_DOUBLE_EQ(6.5, flash_intensity_to_volts(0, 30000));
  calibration_table[22] = 0.09;
  calibration_table[23] = 4.2e-05;
  calibration_table[24] = 1.9e-10;
  EXPECT_DOUBLE_EQ(1.006, flash_intensity_to_volts(0, 20000));
  EXPECT_EQ(4.5, flash_intensity_to_volts(0, 200000));
  EXPECT_DOUBLE_EQ(6.5, flash_intensity_to_volts(1, 30000));
  EXPECT_DOUBLE_EQ(3686.4, volts_to_dac(4.5));
  EXPECT_EQ(4095.0, volts_to_dac(6.0));
  EXPECT_EQ(4095.0, volts_to_dac(5.0));
  reset_calibration_table();

  struct Case {
    double intensity, drive, duration;
  } cases[] = {{-5, 0, 10}, {0, 0, 10}, {5000, 10000, 2500}, {9999, 10000, 4999.5}, {10000, 10000, 5000},
               {20000, 20000, 5000}};
  for (const Case& c : cases) {
    double duration = 0;
    EXPECT_DOUBLE_EQ(c.drive, split_flash_intensity(c.intensity, &duration)) << c.intensity;
    EXPECT_DOUBLE_EQ(c.duration, duration) << c.intensity;
  }
}

}  // namespace
