#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/protocols/run_config_conversion.h"

namespace {

struct stepSpec {
  uint16_t opcode;
  uint32_t value;
};

programRecord program_of(std::initializer_list<stepSpec> steps) {
  programRecord program;
  std::memset(&program, 0, sizeof program);
  clear_program(program);
  for (const stepSpec& s : steps) push_step(program, s.opcode, s.value, 0);
  return program;
}

constexpr int32_t kStartBackground = 7;
constexpr int32_t kStartAdaptation = 12345;

class StepsToConfig : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_calibration_table();
    calibration_table[6] = 0.5;
    calibration_table[7] = -3.0;
    calibration_table[8] = 0.25;
    calibration_table[9] = 4.0;
  }
  void TearDown() override { reset_calibration_table(); }

  runConfig converted(const programRecord& program, bool expect_ok, int channel = 0,
                      int test_step = 0) {
    runConfig config;
    std::memset(&config, 0xEE, sizeof config);
    EXPECT_EQ(convert_steps_to_config(&program, test_step, &config, kStartBackground,
                                      kStartAdaptation, channel),
              expect_ok);
    return config;
  }
};

TEST_F(StepsToConfig, TestsOfTheCommonShapes) {
  struct {
    const char* what;
    programRecord program;
    int32_t intensity, background, adaptation, interval, count, pre, post;
  } cases[] = {
      {"single flash", program_of({{OPCODE_TEST, 0}, {OPCODE_RFR, (20u << 24) + 180}, {OPCODE_END_TEST, 0}}),
       0, kStartBackground, kStartAdaptation, 0, 1, 20, 180},
      {"WAIT right after BACKGROUND is the adaptation in seconds",
       program_of({{OPCODE_TEST, 0}, {OPCODE_BACKGROUND, 30}, {OPCODE_WAIT, 30999},
                   {OPCODE_INTENSITY, 3000}, {OPCODE_RFR, 180}, {OPCODE_END_TEST_PAUSE, 5000}}),
       3000, 30, 30, 0, 1, 0, 180},
      {"WAIT after INTENSITY leaves the starting adaptation",
       program_of({{OPCODE_TEST, 0}, {OPCODE_INTENSITY, 25}, {OPCODE_WAIT, 30000},
                   {OPCODE_RFR, 180}, {OPCODE_END_TEST, 0}}),
       25, kStartBackground, kStartAdaptation, 0, 1, 0, 180},
      {"REPEAT block with its WAIT/REPEAT",
       program_of({{OPCODE_TEST, 0}, {OPCODE_REPEAT_MS, 250u * 65536 + 10},
                   {OPCODE_RFR, (20u << 24) + 180}, {OPCODE_WAIT_REPEAT, 300},
                   {OPCODE_END_REPEAT, 0}, {OPCODE_TITLE, 3}, {OPCODE_END_TEST, 0}}),
       0, kStartBackground, kStartAdaptation, 300, 10, 20, 180},
      {"RFR fields are masked: bit 31 and bits 20-23 belong to no field",
       program_of({{OPCODE_TEST, 0}, {OPCODE_RFR, 0xFFFFFFFFu}, {OPCODE_END_TEST, 0}}),
       0, kStartBackground, kStartAdaptation, 0, 1, 127, 0xFFFFF},
      {"FLICKER(1) interval 100: post 400",
       program_of({{OPCODE_TEST, 0}, {OPCODE_RFR, (20u << 24) + 1}, {OPCODE_FLICKER1, (30u << 16) + 100},
                   {OPCODE_END_TEST, 0}}),
       0, kStartBackground, kStartAdaptation, 100, 30, 0, 400},
      {"FLICKER(1) interval 250: post 800",
       program_of({{OPCODE_TEST, 0}, {OPCODE_FLICKER1, (30u << 16) + 250}, {OPCODE_END_TEST, 0}}),
       0, kStartBackground, kStartAdaptation, 250, 30, 0, 800},
      {"FLICKER(1) interval 199: post 796",
       program_of({{OPCODE_TEST, 0}, {OPCODE_FLICKER1, (30u << 16) + 199}, {OPCODE_END_TEST, 0}}),
       0, kStartBackground, kStartAdaptation, 199, 30, 0, 796},
      {"FLICKER(2)",
       program_of({{OPCODE_TEST, 0}, {OPCODE_FLICKER2, (4000u << 20) + (180u << 10) + 10},
                   {OPCODE_END_TEST, 0}}),
       0, kStartBackground, kStartAdaptation, 4000, 10, 0, 180},
  };
  for (auto& c : cases) {
    engine_message_capture capture;
    runConfig config = converted(c.program, true);
    EXPECT_EQ(config.Intensity, c.intensity) << c.what;
    EXPECT_EQ(config.Background, c.background) << c.what;
    EXPECT_EQ(config.AdaptationTime, c.adaptation) << c.what;
    EXPECT_EQ(config.RepeatInterval, c.interval) << c.what;
    EXPECT_EQ(config.RepeatCount, c.count) << c.what;
    EXPECT_EQ(config.PreTime, c.pre) << c.what;
    EXPECT_EQ(config.PostTime, c.post) << c.what;
    EXPECT_EQ(config.SampleRate, 15000) << c.what;
    EXPECT_EQ(config.Filter, 0u) << c.what;
    EXPECT_TRUE(capture.messages().empty()) << c.what;
  }
}

TEST_F(StepsToConfig, FilterAndTheChannelsCalibration) {
  programRecord program =
      program_of({{OPCODE_TEST, 0}, {OPCODE_FILTER, 0x41FCCCCDu}, {OPCODE_END_TEST, 0}});
  runConfig a = converted(program, true, 0);
  EXPECT_EQ(a.Filter, 0x41FCCCCDu);
  EXPECT_EQ(a.Scale, 0.5);
  EXPECT_EQ(a.Offset, -3.0);
  runConfig b = converted(program, true, 1);
  EXPECT_EQ(b.Scale, 0.25);
  EXPECT_EQ(b.Offset, 4.0);
  runConfig other = converted(program, true, 2);
  EXPECT_EQ(other.Scale, 0.5);
}

TEST_F(StepsToConfig, ForeignStepsStopTheWalkWithBothMessages) {
  for (uint16_t opcode : {OPCODE_NOP, OPCODE_CALL, OPCODE_SESSION, OPCODE_VERSION,
                          static_cast<uint16_t>(0x0004), static_cast<uint16_t>(0x000A)}) {
    engine_message_capture capture;
    programRecord program = program_of(
        {{OPCODE_TEST, 0}, {OPCODE_INTENSITY, 50}, {opcode, 0}, {OPCODE_INTENSITY, 99}, {OPCODE_END_TEST, 0}});
    runConfig config = converted(program, false);
    EXPECT_EQ(config.Intensity, 50) << "keeps what was set before the failure";
    auto shown = capture.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], std::make_pair(0, "### convert_steps_to_config:\nUNKNOWN OPERATION (" +
                                              std::to_string(opcode) + ") ###"));
    EXPECT_EQ(shown[1], std::make_pair(4, std::string("### convert_steps_to_config : NO 'END TEST' FOUND ###")));
  }
}

// The walk covers at most the 62 steps after the TEST and never step 64.
TEST_F(StepsToConfig, EndTestBeyondTheWalkIsNotFound) {
  struct {
    int test_step;
    int end_step;
    bool found;
  } cases[] = {
      {0, 62, true}, {0, 63, false}, {1, 63, true}, {5, 63, true}, {63, -1, false},
  };
  for (const auto& c : cases) {
    engine_message_capture capture;
    programRecord program = program_of({});
    for (int i = 0; i < 64; ++i) push_step(program, OPCODE_TITLE, 0, 0);
    program.Steps[c.test_step].Opcode = OPCODE_TEST;
    if (c.end_step >= 0) program.Steps[c.end_step].Opcode = OPCODE_END_TEST;
    converted(program, c.found, 0, c.test_step);
    auto shown = capture.messages();
    if (c.found) {
      EXPECT_TRUE(shown.empty()) << c.test_step << "/" << c.end_step;
    } else {
      ASSERT_EQ(shown.size(), 1u) << c.test_step << "/" << c.end_step;
      EXPECT_EQ(shown[0].second, "### convert_steps_to_config : NO 'END TEST' FOUND ###");
    }
  }
}

TEST_F(StepsToConfig, RefusesWithoutAProgramOrATestStep) {
  struct {
    const char* what;
    int test_step;
    bool null_program;
    const char* message;
  } cases[] = {
      {"null program", 0, true, "### convert_steps_to_config : program is null ###"},
      {"first step not TEST", 1, false, "### convert_steps_to_config : first step not TEST ###"},
      {"negative step", -1, false, "### convert_steps_to_config : first step not TEST ###"},
      {"step beyond the program", 64, false, "### convert_steps_to_config : first step not TEST ###"},
  };
  programRecord program = program_of({{OPCODE_TEST, 0}, {OPCODE_END_TEST, 0}});
  for (const auto& c : cases) {
    engine_message_capture capture;
    runConfig config;
    EXPECT_FALSE(convert_steps_to_config(c.null_program ? nullptr : &program, c.test_step, &config,
                                         0, 0, 0));
    auto shown = capture.messages();
    ASSERT_EQ(shown.size(), 1u) << c.what;
    EXPECT_EQ(shown[0], std::make_pair(4, std::string(c.message))) << c.what;
  }
  engine_message_capture capture;
  EXPECT_FALSE(convert_steps_to_config(&program, 0, nullptr, 0, 0, 0));
  EXPECT_EQ(capture.messages().size(), 1u);
}

// ---- The custom test ----

customTestSettings settings(int32_t count, int32_t pre, int32_t post, int32_t interval) {
  customTestSettings s;
  std::memset(&s, 0, sizeof s);
  s.Config.Intensity = 3000;
  s.Config.Background = 30;
  s.Config.AdaptationTime = 20;
  s.Config.RepeatCount = count;
  s.Config.PreTime = pre;
  s.Config.PostTime = post;
  s.Config.RepeatInterval = interval;
  s.Config.Unused = 99;
  const wchar_t name[] = L"USER flash\u00e9";
  std::memcpy(s.Name, name, sizeof name);
  return s;
}

std::vector<stepSpec> steps_of(const programRecord& p) {
  std::vector<stepSpec> out;
  for (int i = 0; i < p.StepCount; ++i) out.push_back({p.Steps[i].Opcode, p.Steps[i].Value});
  return out;
}

bool operator==(const stepSpec& a, const stepSpec& b) {
  return a.opcode == b.opcode && a.value == b.value;
}

void PrintTo(const stepSpec& s, std::ostream* os) {
  *os << std::hex << "{0x" << s.opcode << ", 0x" << s.value << "}";
}

TEST(ConfigToProgram, TheThreeShapes) {
  const std::vector<stepSpec> head = {
      {OPCODE_TEST, 0}, {OPCODE_INTENSITY, 3000}, {OPCODE_BACKGROUND, 30}, {OPCODE_WAIT, 20000}};
  struct {
    const char* what;
    customTestSettings s;
    std::vector<stepSpec> tail;
  } cases[] = {
      {"single flash", settings(1, 20, 180, 0),
       {{OPCODE_RFR, (20u << 24) + 180}, {OPCODE_END_TEST_PAUSE, 0}}},
      {"count 10, pre 0, interval 4000: flicker",
       settings(10, 0, 180, 4000),
       {{OPCODE_FLICKER2, 10u + (180u << 10) + (4000u << 20)}, {OPCODE_END_TEST_PAUSE, 0}}},
      {"interval 4001: REPEAT block", settings(10, 0, 180, 4001),
       {{OPCODE_REPEAT_MS, 4001u * 65536 + 10}, {OPCODE_RFR, 180}, {OPCODE_WAIT_REPEAT, 4001},
        {OPCODE_END_REPEAT, 0}, {OPCODE_END_TEST_PAUSE, 0}}},
      {"count 10, pre 20, post 180, interval 250", settings(10, 20, 180, 250),
       {{OPCODE_REPEAT_MS, 250u * 65536 + 10}, {OPCODE_RFR, (20u << 24) + 180},
        {OPCODE_WAIT_REPEAT, 250}, {OPCODE_END_REPEAT, 0}, {OPCODE_END_TEST_PAUSE, 0}}},
  };
  for (auto& c : cases) {
    engine_message_capture capture;
    programRecord program;
    std::memset(&program, 0x11, sizeof program);
    program.StepCount = 40;
    ASSERT_TRUE(convert_config_to_program(&c.s, &program)) << c.what;
    std::vector<stepSpec> expected = head;
    expected.insert(expected.end(), c.tail.begin(), c.tail.end());
    EXPECT_EQ(steps_of(program), expected) << c.what;
    EXPECT_STREQ(program.Texts[0], "USER flash?") << c.what;
    EXPECT_EQ(c.s.Config.Unused, 0) << c.what;
    EXPECT_TRUE(capture.messages().empty()) << c.what;
    // Names: FLICKER(2) and END REPEAT have none.
    char name[8];
    unpack_name(program.Steps[0].Name, name, sizeof name);
    EXPECT_STREQ(name, "TEST");
    unpack_name(program.Steps[program.StepCount - 1].Name, name, sizeof name);
    EXPECT_STREQ(name, "END");
    if (program.Steps[4].Opcode == OPCODE_REPEAT_MS) {
      unpack_name(program.Steps[6].Name, name, sizeof name);
      EXPECT_STREQ(name, "WAITOR");
      EXPECT_EQ(program.Steps[7].Name, 0u);
    }
  }
}

// What the custom test builds reads back as the settings it came from.
TEST(ConfigToProgram, RoundTripsThroughTheStepConversion) {
  for (customTestSettings s : {settings(1, 20, 180, 0), settings(10, 0, 180, 4000),
                               settings(10, 20, 180, 250), settings(60000, 100, 900, 65535)}) {
    programRecord program;
    std::memset(&program, 0, sizeof program);
    ASSERT_TRUE(convert_config_to_program(&s, &program));
    runConfig back;
    ASSERT_TRUE(convert_steps_to_config(&program, 0, &back, 0, 0, 0));
    EXPECT_EQ(back.Intensity, s.Config.Intensity);
    EXPECT_EQ(back.Background, s.Config.Background);
    EXPECT_EQ(back.AdaptationTime, s.Config.AdaptationTime);
    EXPECT_EQ(back.RepeatCount, s.Config.RepeatCount);
    EXPECT_EQ(back.PreTime, s.Config.PreTime);
    EXPECT_EQ(back.PostTime, s.Config.PostTime);
    if (s.Config.RepeatCount > 1) {
      EXPECT_EQ(back.RepeatInterval, s.Config.RepeatInterval);
    }
  }
}

TEST(ConfigToProgram, RefusesTimingsAndValuesItCannotStore) {
  struct {
    const char* what;
    customTestSettings s;
    const char* message;
  } cases[] = {
      {"data time does not fit between flashes", settings(10, 20, 180, 240),
       "*** Total data time ***\n(20 + 180 [+50])\n*** is incompatible with ***\n"
       "'mSec between samples'\n(240)"},
      {"one millisecond short", settings(10, 20, 180, 249),
       "*** Total data time ***\n(20 + 180 [+50])\n*** is incompatible with ***\n"
       "'mSec between samples'\n(249)"},
      {"pre time wider than its 7 bits", settings(1, 128, 180, 0),
       "*** PREFLASH DATA TIME (128) ***\nMUST BE 0 TO 127"},
      {"negative post time", settings(1, 0, -1, 0),
       "*** POSTFLASH DATA TIME (-1) ***\nMUST BE 0 TO 1048575"},
      {"flicker post time wider than its 10 bits", settings(10, 0, 1024, 2000),
       "*** POSTFLASH DATA TIME (1024) ***\nMUST BE 0 TO 1023"},
      {"flicker count wider than its 10 bits", settings(1024, 0, 180, 2000),
       "*** FLASHES PER TEST (1024) ***\nMUST BE 2 TO 1023"},
      {"interval 0 with a pre time: the data cannot fit", settings(10, 20, 180, 0),
       "*** Total data time ***\n(20 + 180 [+50])\n*** is incompatible with ***\n"
       "'mSec between samples'\n(0)"},
      {"negative interval with a pre time", settings(10, 20, 180, -250),
       "*** Total data time ***\n(20 + 180 [+50])\n*** is incompatible with ***\n"
       "'mSec between samples'\n(-250)"},
      {"interval 0 for several flashes", settings(10, 0, 180, 0),
       "*** mSEC BETWEEN FLASHES (0) ***\nMUST BE 1 TO 65535"},
      {"repeat interval wider than 16 bits", settings(10, 20, 180, 65536),
       "*** mSEC BETWEEN FLASHES (65536) ***\nMUST BE 1 TO 65535"},
      {"a post time that would overflow the sum", settings(10, 20, 0x7FFFFFFF, 1000),
       "*** Total data time ***\n(20 + 2147483647 [+50])\n*** is incompatible with ***\n"
       "'mSec between samples'\n(1000)"},
      {"repeat count wider than 16 bits", settings(65536, 20, 180, 1000),
       "*** FLASHES PER TEST (65536) ***\nMUST BE 2 TO 65535"},
      {"wait that overflows in milliseconds", [] {
         customTestSettings s = settings(1, 0, 180, 0);
         s.Config.AdaptationTime = 2147484;
         return s;
       }(),
       "*** WAIT [SEC] (2147484) ***\nMUST BE 0 TO 2147483"},
  };
  for (auto& c : cases) {
    engine_message_capture capture;
    programRecord program;
    std::memset(&program, 0x11, sizeof program);
    programRecord before = program;
    EXPECT_FALSE(convert_config_to_program(&c.s, &program)) << c.what;
    EXPECT_EQ(std::memcmp(&program, &before, sizeof program), 0) << c.what;
    auto shown = capture.messages();
    ASSERT_EQ(shown.size(), 1u) << c.what;
    EXPECT_EQ(shown[0], std::make_pair(0, std::string(c.message))) << c.what;
  }
  engine_message_capture capture;
  programRecord program;
  customTestSettings s = settings(1, 0, 180, 0);
  EXPECT_FALSE(convert_config_to_program(nullptr, &program));
  EXPECT_FALSE(convert_config_to_program(&s, nullptr));
  EXPECT_EQ(capture.messages().size(), 2u);
}

}  // namespace
