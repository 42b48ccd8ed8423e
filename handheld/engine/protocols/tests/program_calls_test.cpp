#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/protocols/program_calls.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_program.h"

namespace {

class ProgramCalls : public CardFixture {
 protected:
  void SetUp() override {
    CardFixture::SetUp();
    set_selected_protocol_name(L"SEL");
  }
  void TearDown() override {
    set_selected_protocol_name(nullptr);
    CardFixture::TearDown();
  }

  // A program file on the card: its title, TEST steps, then CALLs.
  void put_program(const std::string& relative, const char* title, int tests,
                   std::vector<const char*> calls = {}) {
    programRecord program;
    std::memset(&program, 0, sizeof program);
    clear_program(program);
    std::strcpy(program.Texts[0], title);
    for (int i = 0; i < tests; ++i) push_step(program, OPCODE_TEST, 0, pack_name("TEST"));
    for (const char* name : calls) push_step(program, OPCODE_CALL, 0, pack_name(name));
    std::filesystem::create_directories((card_ / relative).parent_path());
    std::wstring unit_path = L"Storage Card\\" + std::filesystem::path(relative).wstring();
    for (wchar_t& c : unit_path) {
      if (c == L'/') c = L'\\';
    }
    ASSERT_TRUE(write_program_file(unit_path, program)) << relative;
  }

  std::string found_title(const char* name) {
    programRecord program;
    clear_program(program);
    if (!find_program_file(pack_name(name), program)) return "(none)";
    return program.Texts[0];
  }
};

const char* const kSearchOrder[] = {
    "SEL/CAL.tes",          "CAL.tes",          "CAL.ses",          "SEL/CAL.ses",
    "TEST_LIB/SEL/CAL.tes", "TEST_LIB/CAL.tes", "TEST_LIB/CAL.ses", "TEST_LIB/SEL/CAL.ses",
    "TESTS/SEL/CAL.tes",    "TESTS/CAL.tes",    "TESTS/CAL.ses",    "TESTS/SEL/CAL.ses",
};

TEST_F(ProgramCalls, TheFirstPlaceInSearchOrderWins) {
  for (const char* place : kSearchOrder) put_program(place, place, 1);
  for (const char* place : kSearchOrder) {
    EXPECT_EQ(found_title("CAL"), place);
    std::filesystem::remove(card_ / place);
  }
  EXPECT_EQ(found_title("CAL"), "(none)");
  EXPECT_NE(log_text().find("*** CALLED FILE [CAL] NOT FOUND FOR [SEL] ***"), std::string::npos)
      << log_text();
}

TEST_F(ProgramCalls, AFileOfTheWrongSizeIsPassedOver) {
  engine_message_capture capture;
  write_card_file("SEL/CAL.tes", 1291);
  put_program("TESTS/CAL.tes", "good", 1);
  EXPECT_EQ(found_title("CAL"), "good");
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].second, "*** PROGRAM FILE IS THE WRONG SIZE ***");
}

TEST_F(ProgramCalls, TheSelectedFolderIsUsedOnlyWhenItIsOneFolder) {
  put_program("TESTS/SEL/CAL.tes", "in folder", 1);
  put_program("TESTS/CAL.ses", "session", 1);
  put_program("x/CAL.tes", "outside", 1);
  for (const wchar_t* selected : {L"", L"..", L"..\\x", L"TESTS/SEL"}) {
    set_selected_protocol_name(selected);
    EXPECT_EQ(found_title("CAL"), "session");
  }
  set_selected_protocol_name(L"SEL");
  EXPECT_EQ(found_title("CAL"), "in folder");

  wchar_t kept[80];
  set_selected_protocol_name(std::wstring(70, L'N').c_str());
  get_selected_protocol_name(kept, 80);
  EXPECT_EQ(std::wstring(kept), std::wstring(63, L'N'));
  get_selected_protocol_name(kept, 4);
  EXPECT_EQ(std::wstring(kept), L"NNN");
}

TEST_F(ProgramCalls, CountTestsFollowsCalls) {
  engine_message_capture capture;
  put_program("TESTS/THREE.tes", "three", 3);
  put_program("TESTS/TWO.ses", "two", 1, {"THREE"});
  programRecord program;
  clear_program(program);
  push_step(program, OPCODE_TEST, 0, 0);
  push_step(program, OPCODE_CALL, 0, pack_name("TWO"));
  push_step(program, OPCODE_CALL, 0, pack_name("NONE"));
  push_step(program, OPCODE_CALL, 0, pack_name("THREE"));
  program.Steps[62].Opcode = OPCODE_TEST;  // counted, though beyond the step count
  program.Steps[63].Opcode = OPCODE_TEST;  // never counted
  EXPECT_EQ(count_tests(program, 0), 1 + 1 + 3 + 3 + 1);
  EXPECT_EQ(count_tests(program, 0), 9) << "depth 0 starts again";
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_NE(log_text().find("*** CALLED FILE [NONE] NOT FOUND FOR [SEL] ***"), std::string::npos);
}

TEST_F(ProgramCalls, ASelfCallingProgramStopsAtTenLevelsWithOneMessage) {
  struct {
    const char* what;
    std::vector<const char*> calls;
  } cases[] = {
      {"one self call", {"LOOP"}},
      {"two self calls, which would otherwise double at every level", {"LOOP", "LOOP"}},
  };
  for (const auto& c : cases) {
    engine_message_capture capture;
    put_program("TESTS/LOOP.ses", "loop", 1, c.calls);
    programRecord program;
    clear_program(program);
    push_step(program, OPCODE_CALL, 0, pack_name("LOOP"));
    // Calls nest as deep as a run lets them: levels 1 to 9 each count their
    // TEST, and the call to level 10, which the run refuses, is stopped.
    EXPECT_EQ(count_tests(program, 0), 9) << c.what;
    auto shown = capture.messages();
    ASSERT_EQ(shown.size(), 1u) << c.what;
    EXPECT_EQ(shown[0], std::make_pair(0, std::string("*** CALLS NESTED TOO DEEPLY (>10) ***\n[LOOP]")))
        << c.what;
  }
}

// Programs that call in a fan-out: each called program is looked for once
// per count, however many times it is called.
TEST_F(ProgramCalls, AFanOutOfCallsCountsEachCalledProgramOnce) {
  engine_message_capture capture;
  put_program("TESTS/CC.tes", "cc", 1, std::vector<const char*>(62, "DD"));
  put_program("TESTS/BB.tes", "bb", 1, std::vector<const char*>(62, "CC"));
  std::vector<const char*> main_calls(61, "BB");
  main_calls.push_back("CC");
  put_program("MAIN.tes", "main", 1, main_calls);
  programRecord program;
  ASSERT_TRUE(find_program_file(pack_name("MAIN"), program));
  const size_t log_before = log_text().size();
  // MAIN's test, 61 BB of one test and 62 CC each, and one CC.
  EXPECT_EQ(count_tests(program, 0), 1 + 61 * (1 + 62) + 1);
  EXPECT_TRUE(capture.messages().empty());
  const std::string log = log_text().substr(log_before);
  const std::string missing = "*** CALLED FILE [DD] NOT FOUND";
  EXPECT_EQ(log.find(missing), log.rfind(missing)) << "the missing program is looked for once";
  EXPECT_NE(log.find(missing), std::string::npos);
  EXPECT_EQ(count_tests(program, 0), 3845) << "a new count looks again";
}

TEST_F(ProgramCalls, ACountThatCallsTooManyProgramsStopsWithAMessage) {
  // 63 programs that each call 63 different missing ones: more than a count
  // looks for.
  std::vector<std::string> names;
  for (int i = 0; i < 63; ++i) names.push_back("Q" + std::to_string(i));
  std::vector<const char*> top;
  for (int i = 0; i < 63; ++i) {
    const std::string& name = names[i];
    std::vector<std::string> missing;
    for (int j = 0; j < 63; ++j) missing.push_back("M" + std::to_string(i) + "_" + std::to_string(j));
    std::vector<const char*> calls;
    for (const std::string& m : missing) calls.push_back(m.c_str());
    put_program("TESTS/" + name + ".tes", name.c_str(), 0, calls);
    top.push_back(name.c_str());
  }
  engine_message_capture capture;
  programRecord program;
  clear_program(program);
  for (const char* name : top) push_step(program, OPCODE_CALL, 0, pack_name(name));
  count_tests(program, 0);
  auto shown = capture.messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].second.rfind("*** TOO MANY CALLED PROGRAMS TO COUNT (>256) ***\n[", 0), 0u)
      << shown[0].second;
}

}  // namespace
