#include "handheld/ui/menus/tests/road_fixture.h"

#include <string.h>

#include <algorithm>
#include <memory>

#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/storage/test_files.h"

void RoadTest::press(int control) {
  touch_key(control);
  pump_until_idle(150);
}

void RoadTest::store_patient_test(int P, int N, const char* id) {
  auto record = std::make_unique<testFileRecord>();
  memset(record.get(), 0, sizeof(testFileRecord));
  init_test_record(*record);
  record->P = P;
  record->N = N;
  for (size_t i = 0; id[i] != '\0' && i < 19; ++i) record->TestId[i] = static_cast<char16_t>(id[i]);
  record->Average.Divisor = 1.0;
  record->Average.PointCount = 4;
  ASSERT_TRUE(write_tst_file(*record, L".tst", 0));
}

std::vector<std::string> RoadTest::stored_tests() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(card_)) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), ::toupper);
    if (extension == ".TST") names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void RoadTest::write_program(const std::wstring& relative, const programRecord& program) const {
  std::filesystem::path path = card_ / relative;
  std::filesystem::create_directories(path.parent_path());
  ASSERT_TRUE(write_program_file(L"Storage Card\\" + relative, program));
}

namespace {

void set_text(programRecord& program, int index, const char* text) {
  memset(program.Texts[index], 0, sizeof program.Texts[index]);
  strncpy(program.Texts[index], text, sizeof program.Texts[index] - 1);
}

}  // namespace

programRecord flash_test_program(const char* title, int flashes) {
  programRecord program;
  memset(&program, 0, sizeof program);
  clear_program(program);
  set_text(program, 1, title);
  push_step(program, OPCODE_TITLE, 1, 0);
  push_step(program, OPCODE_TEST, 0, 0);
  push_step(program, OPCODE_INTENSITY, 3000, 0);
  push_step(program, OPCODE_REPEAT_MS, (1000u << 16) | static_cast<uint32_t>(flashes), 0);
  push_step(program, OPCODE_RFR, (20u << 24) | 180u, 0);
  push_step(program, OPCODE_END_REPEAT, 0, 0);
  push_step(program, OPCODE_END_TEST, 0, 0);
  set_text(program, 0, title);
  return program;
}

programRecord session_program(const char* title, const std::vector<const char*>& tests, int waitMs) {
  programRecord program;
  memset(&program, 0, sizeof program);
  clear_program(program);
  set_text(program, 0, title);
  set_text(program, 1, title);
  push_step(program, OPCODE_SESSION, 0, 0);
  push_step(program, OPCODE_TITLE, 1, 0);
  for (const char* test : tests) {
    push_step(program, OPCODE_WAIT, static_cast<uint32_t>(waitMs), 0);
    push_step(program, OPCODE_CALL, 0, pack_name(test));
  }
  push_step(program, OPCODE_END_SESSION, 0, 0);
  return program;
}
