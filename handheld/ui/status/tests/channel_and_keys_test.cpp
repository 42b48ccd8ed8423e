// The channel cycle and its labels, the key log's ring, the keys' captions
// and colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handheld/ui/status/channel_cycle.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/colour_brushes.h"
#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/status/key_log.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/engine/stimulator/stimulator_reader.h"
#include "handheld/ui/dialogs/unit_drawing.h"

namespace {

using VanduChannelsAndKeys = VanduTest;

TEST_F(VanduChannelsAndKeys, NinePressesOfChannelGoRoundTheCycle) {
  channels.a_on = 1;
  channels.b_on = 1;
  channels.eye_a = kEyeNone;
  channels.eye_b = kEyeNone;
  const std::vector<std::wstring> labels = {
      L"    CHANNELS A(OD) AND B(OS)     ", L"    CHANNELS A(OS) AND B(OD)     ", L"         CHANNEL A ONLY         ",
      L"           CHANNEL A(OD)        ", L"           CHANNEL A(OS)        ", L"         CHANNEL B ONLY         ",
      L"          CHANNEL B(OD)         ", L"          CHANNEL B(OS)         ", L"        CHANNELS A AND B         ",
  };
  for (const std::wstring& label : labels) {
    next_channel_selection();
    EXPECT_EQ(channel_label(), label);
  }
  EXPECT_EQ(channels.eye_a.load(), kEyeNone);
  EXPECT_EQ(channels.eye_b.load(), kEyeNone);
  EXPECT_EQ(channels.current.load(), 0);
  channels.b_on = 0;
}

TEST_F(VanduChannelsAndKeys, BOnlyIsTheCurrentChannel) {
  channels.a_on = 1;
  channels.b_on = 0;
  channels.eye_a = kEyeOS;
  next_channel_selection();
  EXPECT_EQ(channels.a_on.load(), 0);
  EXPECT_EQ(channels.b_on.load(), 1);
  EXPECT_EQ(channels.current.load(), 1);
  EXPECT_EQ(channels.eye_a.load(), kEyeNone);
  channels.a_on = 0;
  channels.b_on = 0;
  EXPECT_STREQ(channel_label(), L"");
  channels.a_on = 1;
  channels.current = 0;
}

TEST_F(VanduChannelsAndKeys, AFullRingDumpsItsNewestFortyNine) {
  init_key_log();
  for (int k = 0; k < 60; ++k) log_key((L"K" + std::to_wstring(k)).c_str());
  EXPECT_TRUE(key_log_wrapped());
  dump_key_log();
  const std::string log = log_text();
  size_t count = 0;
  for (size_t at = log.find("keypress"); at != std::string::npos; at = log.find("keypress", at + 1)) ++count;
  EXPECT_EQ(count, 49u);
  const size_t first = log.find("\"0 A  A (                NONE)");
  ASSERT_NE(first, std::string::npos) << log;
  EXPECT_NE(log.find("[K11]", first), std::string::npos);
  EXPECT_NE(log.find("\"48 A  A (                NONE)"), std::string::npos);
  EXPECT_EQ(log.find("[K10]"), std::string::npos);
  EXPECT_EQ(key_log_next(), 1) << "the ring starts again";
}

TEST_F(VanduChannelsAndKeys, ABlankCaptionDisablesItsStimulatorKey) {
  set_key_caption(main_dialog, 2, L"");  // KEY_LOWER_LEFT: the stimulator's '3'
  EXPECT_TRUE(key_is_blank(2));
  EXPECT_TRUE(stimulator_key_disabled(3));
  set_key_caption(main_dialog, 2, L" ");
  EXPECT_FALSE(key_is_blank(2));
  EXPECT_FALSE(stimulator_key_disabled(3));
  set_key_caption(main_dialog, 9, L"");  // any other number is key 4
  EXPECT_TRUE(key_is_blank(4));
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"");
}

TEST_F(VanduChannelsAndKeys, KeyColoursAndThePlainKeyOnce) {
  EXPECT_EQ(key_colour_brush(KEY_UPPER_LEFT), brushes[0]);
  EXPECT_EQ(key_colour_brush(KEY_LOWER_LEFT), brushes[2]);
  EXPECT_EQ(key_colour_brush(KEY_UPPER_RIGHT), brushes[1]);
  EXPECT_EQ(key_colour_brush(KEY_LOWER_RIGHT), brushes[3]);
  EXPECT_EQ(key_colour_brush(1081), nullptr);
  set_plain_key_once();
  EXPECT_EQ(key_colour_brush(KEY_UPPER_LEFT), brushes[7]);
  EXPECT_EQ(key_colour_brush(KEY_UPPER_LEFT), brushes[0]);
}

}  // namespace
