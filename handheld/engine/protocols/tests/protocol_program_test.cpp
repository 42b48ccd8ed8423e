#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/tests/log_fixture.h"
#include "handheld/engine/protocols/protocol_program.h"

namespace {

std::string unpacked(uint32_t value) {
  char text[8];
  unpack_name(value, text, sizeof text);
  return text;
}

programRecord cleared() {
  programRecord program;
  std::memset(&program, 0x5A, sizeof program);
  clear_program(program);
  return program;
}

TEST(ProgramNames, PackTable) {
  struct {
    const char* text;
    uint32_t packed;
  } cases[] = {
      {"", 0},
      {"ABC", 39},
      {"abc", 39},
      {".", 26},
      {"_", 26},
      {"B", 1},
      {"0", 27},
      {"9", 36},
      {"BA", 37},
      {"END", 5960},
      {"999999", 2565726408u},    // the largest packed name
      {"SEVENCH", 0},             // seven characters: no name
      {"END REPEAT", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(pack_name(c.text), c.packed) << c.text;
  EXPECT_EQ(pack_name(nullptr), 0u);
}

TEST(ProgramNames, UnpackRoundTripsAndIsBounded) {
  for (const char* name : {"TEST", "RFR", "WAITOR", "BKG", "Z9_", "999999", "REPEAT", "END"}) {
    EXPECT_EQ(unpacked(pack_name(name)), name);
  }
  // Lower case and other characters come back as their symbols; a leading
  // 'A' is a leading zero digit and is not kept.
  EXPECT_EQ(unpacked(pack_name("wait.1")), "WAIT_1");
  EXPECT_EQ(unpacked(pack_name("ABC")), "BC");
  EXPECT_EQ(unpacked(0), "");
  // Values above the six-character range give seven symbols.
  EXPECT_EQ(unpacked(0xFFFFFFFFu).size(), 7u);

  char small[3];
  std::memset(small, 'x', sizeof small);
  unpack_name(pack_name("WAITOR"), small, sizeof small);
  EXPECT_STREQ(small, "WA");
}

TEST(ProgramTables, NamesByOpcodeBytes) {
  EXPECT_STREQ(program_operation_name(0x0816), "RFR");
  EXPECT_STREQ(program_unit_name(0x0816), "mSEC");
  EXPECT_STREQ(program_operation_name(0x000E), "TEST");
  EXPECT_STREQ(program_unit_name(0x000E), " ");
  EXPECT_STREQ(program_operation_name(0x0B15), "FILTER");
  EXPECT_STREQ(program_unit_name(0x0B15), "DIV");
  EXPECT_STREQ(program_operation_name(0x001A), "VERSION");
  EXPECT_STREQ(program_unit_name(0x0C00), "HZ");
  EXPECT_STREQ(program_operation_name(0x001B), "UNKNOWN");
  EXPECT_STREQ(program_unit_name(0x0D00), "?");
}

TEST(ProgramBuilding, PushStopsAtSixtyFourStepsAndAtABadCount) {
  programRecord program = cleared();
  for (int i = 0; i < 64; ++i) ASSERT_TRUE(push_step(program, OPCODE_NOP, i, 0));
  programRecord full = program;
  EXPECT_FALSE(push_step(program, OPCODE_TEST, 1, 1));
  EXPECT_EQ(std::memcmp(&program, &full, sizeof program), 0);

  for (int32_t bad : {-1, 65, 0x7FFFFFFF}) {
    program.StepCount = bad;
    programRecord before = program;
    EXPECT_FALSE(push_step(program, OPCODE_TEST, 1, 1)) << bad;
    EXPECT_EQ(std::memcmp(&program, &before, sizeof program), 0) << bad;
  }

  program.StepCount = 0;
  ASSERT_TRUE(push_step_pair(program, OPCODE_REPEAT_MS, 1000, 10, 5));
  EXPECT_EQ(program.Steps[0].Value, 1000u * 65536u + 10u);
  EXPECT_EQ(program.StepCount, 1);
}

TEST(ProgramBuilding, ClearKeepsOnlyTheCurrentStep) {
  programRecord program;
  std::memset(&program, 0x5A, sizeof program);
  program.CurrentStep = 7;
  clear_program(program);
  EXPECT_EQ(program.StepCount, 0);
  EXPECT_EQ(program.Reserved, 0);
  EXPECT_EQ(program.CurrentStep, 7);
  for (const programStep& step : program.Steps) {
    EXPECT_EQ(step.Opcode, 0);
    EXPECT_EQ(step.Name, 0u);
    EXPECT_EQ(step.Value, 0u);
  }
  for (const char* text : program.Texts) EXPECT_STREQ(text, "X1X");
}

// The file bytes of a small program, field by field at the offsets a reader
// of a ".tes" file uses.
TEST(ProgramBuilding, PushedProgramHasTheGoldenBytes) {
  programRecord program = cleared();
  program.CurrentStep = 0;
  std::strcpy(program.Texts[0], "FLASH 10");
  ASSERT_TRUE(push_step(program, OPCODE_TEST, 0, pack_name("TEST")));
  ASSERT_TRUE(push_step(program, OPCODE_INTENSITY, 3000, pack_name("INT")));
  ASSERT_TRUE(push_step_pair(program, OPCODE_REPEAT_MS, 1000, 10, pack_name("REPEAT")));
  ASSERT_TRUE(push_step(program, OPCODE_RFR, (20u << 24) + 180u, pack_name("RFR")));
  ASSERT_TRUE(push_step(program, OPCODE_END_REPEAT, 0, 0));
  ASSERT_TRUE(push_step(program, OPCODE_END_TEST_PAUSE, 0, pack_name("END")));

  std::vector<uint8_t> bytes(1292);
  ASSERT_TRUE(program_record_to_bytes(program, bytes.data(), bytes.size()));
  EXPECT_FALSE(program_record_to_bytes(program, bytes.data(), 1291));

  std::vector<uint8_t> expected(1292, 0);
  auto put = [&](size_t at, uint32_t value, size_t width) {
    for (size_t i = 0; i < width; ++i) expected[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  const uint32_t steps[][3] = {
      {0x000E, 968568, 0},        // TEST:   ((19*37+4)*37+18)*37+19
      {0x0404, 11452, 3000},      // INT:    (8*37+13)*37+19
      {0x080B, 1187109203u, 1000u * 65536 + 10},  // REPEAT
      {0x0816, 23475, (20u << 24) + 180},  // RFR:    (17*37+5)*37+17
      {0x000C, 0, 0},
      {0x0810, 5960, 0},          // END:    (4*37+13)*37+3
  };
  for (size_t i = 0; i < 6; ++i) {
    put(12 * i + 0, steps[i][0], 2);
    put(12 * i + 4, steps[i][1], 4);
    put(12 * i + 8, steps[i][2], 4);
  }
  put(768, 6, 4);
  for (size_t t = 0; t < 8; ++t) std::memcpy(&expected[780 + 64 * t], "X1X", 3);
  std::memcpy(&expected[780], "FLASH 10", 8);
  for (size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], expected[i]) << "byte " << i;

  programRecord back;
  ASSERT_TRUE(program_record_from_bytes(bytes.data(), bytes.size(), back));
  EXPECT_EQ(std::memcmp(&back, &program, sizeof back), 0);
}

class ProgramTexts : public LogFixture {};

TEST_F(ProgramTexts, IndexBeyondTheEightTextsIsLoggedAndGivesNothing) {
  programRecord program = cleared();
  std::strcpy(program.Texts[7], "+LAST");
  // A text that fills its field without a terminator is cut at 63.
  std::memset(program.Texts[2], 'Q', 64);
  char out[80];
  ASSERT_TRUE(program_text(program, 7, out, sizeof out));
  EXPECT_STREQ(out, "+LAST");
  ASSERT_TRUE(program_text(program, 2, out, sizeof out));
  EXPECT_EQ(std::string(out), std::string(63, 'Q'));
  ASSERT_TRUE(program_text(program, 2, out, 5));
  EXPECT_STREQ(out, "QQQQ");

  for (uint32_t bad : {8u, 0xFFFFFFFFu}) {
    std::strcpy(out, "old");
    EXPECT_FALSE(program_text(program, bad, out, sizeof out));
    EXPECT_STREQ(out, "");
  }
  EXPECT_NE(log_text().find("TITLE 8: NO SUCH PROGRAM TEXT"), std::string::npos) << log_text();
}

// ---- scan_program ----

struct stepSpec {
  uint16_t opcode;
  uint32_t value;
};

programRecord program_of(std::initializer_list<stepSpec> steps) {
  programRecord program = cleared();
  program.CurrentStep = 0;
  for (const stepSpec& s : steps) push_step(program, s.opcode, s.value, 0);
  return program;
}

uint32_t float_bits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

TEST(ScanProgram, FillsEndRepeatValuesAndRepeatIntervals) {
  set_stimulator_firmware_major(3);
  struct {
    const char* what;
    programRecord program;
    int step;
    uint32_t value;
  } cases[] = {
      {"RFR inside the block: END REPEAT gets 700",
       program_of({{OPCODE_TEST, 0}, {OPCODE_REPEAT_MS, 10}, {OPCODE_RFR, 180},
                   {OPCODE_END_REPEAT, 0}, {OPCODE_END_TEST, 0}}),
       3, 700},
      {"no RFR: END REPEAT keeps its value",
       program_of({{OPCODE_REPEAT, 5}, {OPCODE_WAIT, 100}, {OPCODE_END_REPEAT, 33}}), 2, 33},
      {"RFR before the REPEAT does not count",
       program_of({{OPCODE_RFR, 1}, {OPCODE_REPEAT, 5}, {OPCODE_END_REPEAT, 0}}), 2, 0},
      {"WAIT/REPEAT gives a REPEAT without interval its interval",
       program_of({{OPCODE_REPEAT_MS, 10}, {OPCODE_RFR, 1}, {OPCODE_WAIT_REPEAT, 1500},
                   {OPCODE_END_REPEAT, 0}}),
       0, 1500u * 65536 + 10},
      {"an interval already set stays",
       program_of({{OPCODE_REPEAT_MS, 250u * 65536 + 10}, {OPCODE_WAIT_REPEAT, 1500},
                   {OPCODE_END_REPEAT, 0}}),
       0, 250u * 65536 + 10},
      {"the innermost REPEAT takes it",
       program_of({{OPCODE_REPEAT, 2}, {OPCODE_REPEAT, 3}, {OPCODE_WAIT_REPEAT, 900},
                   {OPCODE_END_REPEAT, 0}, {OPCODE_END_REPEAT, 0}}),
       1, 900u * 65536 + 3},
      {"WAIT/REPEAT outside a block changes nothing",
       program_of({{OPCODE_REPEAT, 2}, {OPCODE_END_REPEAT, 0}, {OPCODE_WAIT_REPEAT, 900}}), 0,
       2},
      {"a sixth nested REPEAT is not tracked: the fifth takes the interval",
       program_of({{OPCODE_REPEAT, 1}, {OPCODE_REPEAT, 1}, {OPCODE_REPEAT, 1}, {OPCODE_REPEAT, 1},
                   {OPCODE_REPEAT, 5}, {OPCODE_REPEAT, 6}, {OPCODE_WAIT_REPEAT, 400}}),
       4, 400u * 65536 + 5},
      {"steps beyond the count are not scanned", [] {
         programRecord p = program_of({{OPCODE_REPEAT, 1}, {OPCODE_RFR, 1}});
         p.Steps[2] = programStep{OPCODE_END_REPEAT, 0, 0, 0};
         return p;
       }(), 2, 0},
  };
  for (auto& c : cases) {
    ASSERT_TRUE(scan_program(c.program)) << c.what;
    EXPECT_EQ(c.program.Steps[c.step].Value, c.value) << c.what;
  }
}

TEST(ScanProgram, SetsTheRunGlobals) {
  set_stimulator_firmware_major(2);
  programRecord program = program_of({{OPCODE_VERSION, (3u << 16) + 744},
                                      {OPCODE_FILTER, float_bits(31.6f)},
                                      {OPCODE_FLICKER2, 1}});
  ASSERT_TRUE(scan_program(program));
  programScanResult found = program_scan_result();
  EXPECT_EQ(found.RequiredMajor, 3);
  EXPECT_EQ(found.RequiredMinor, 744);
  EXPECT_FLOAT_EQ(found.FilterValue, 31.6f);
  EXPECT_TRUE(found.FilterSet);
  EXPECT_TRUE(found.FlickerIncompatible);

  set_stimulator_firmware_major(3);
  ASSERT_TRUE(scan_program(program));
  EXPECT_FALSE(program_scan_result().FlickerIncompatible);

  // A program without those steps starts from the defaults again.
  programRecord plain = program_of({{OPCODE_TEST, 0}, {OPCODE_END_TEST, 0}});
  ASSERT_TRUE(scan_program(plain));
  found = program_scan_result();
  EXPECT_EQ(found.FilterValue, 1.0f);
  EXPECT_FALSE(found.FilterSet);
  EXPECT_EQ(found.RequiredMajor, 0);
  EXPECT_EQ(found.RequiredMinor, 0);
}

TEST(ScanProgram, RefusesAStepCountOutsideOneToSixtyFour) {
  for (int32_t count : {0, -1, 65, 100000}) {
    engine_message_capture capture;
    programRecord program = program_of({{OPCODE_REPEAT, 1}, {OPCODE_RFR, 1}, {OPCODE_END_REPEAT, 0}});
    program.StepCount = count;
    EXPECT_FALSE(scan_program(program)) << count;
    EXPECT_EQ(program.Steps[2].Value, 0u) << count;
    auto shown = capture.messages();
    ASSERT_EQ(shown.size(), 1u) << count;
    EXPECT_EQ(shown[0].first, 0);
    EXPECT_EQ(shown[0].second,
              "*** INVALID PROGRAM ***\n" + std::to_string(count) + " steps\n(1 to 64 allowed)");
  }
  programRecord full = program_of({});
  for (int i = 0; i < 64; ++i) push_step(full, OPCODE_NOP, 0, 0);
  EXPECT_TRUE(scan_program(full));
}

}  // namespace
