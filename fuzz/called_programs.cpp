// The search for called programs and the count of a program's tests over
// the programs it calls: four program files from the input (MAIN, and A, B,
// C in the places the search looks), which start out calling each other in
// a cycle. A count ends (the run's time-out catches a hang), never goes
// below zero, and the same files give the same count.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "handheld/engine/protocols/program_calls.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/storage/stored_records.h"

namespace {

constexpr size_t kProgramBytes = sizeof(programRecord);
const char* const kPlaces[] = {"MAIN.tes", "TESTS/A.tes", "TEST_LIB/B.ses", "SEL/C.tes"};

programRecord calling(std::initializer_list<const char*> calls, int tests) {
  programRecord program;
  std::memset(&program, 0, sizeof program);
  clear_program(program);
  for (int i = 0; i < tests; ++i) push_step(program, OPCODE_TEST, 0, pack_name("TEST"));
  for (const char* name : calls) push_step(program, OPCODE_CALL, 0, pack_name(name));
  return program;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  static const std::vector<uint8_t> base = [] {
    const programRecord programs[] = {calling({"A", "B", "A"}, 1), calling({"B", "C"}, 2), calling({"C"}, 1),
                                      calling({"A", "D"}, 1)};
    std::vector<uint8_t> bytes(sizeof programs);
    std::memcpy(bytes.data(), programs, sizeof programs);
    return bytes;
  }();
  const std::vector<uint8_t> files = fuzz_patched(base, data, size);
  for (size_t i = 0; i < 4; ++i) {
    const size_t from = i * kProgramBytes;
    const size_t length = from >= files.size() ? 0 : std::min(kProgramBytes, files.size() - from);
    fuzz_write(kPlaces[i], files.data() + from, length);
  }
  set_selected_protocol_name(L"SEL");
  programRecord main;
  if (!read_program_file(L"Storage Card\\MAIN.tes", main)) return 0;
  const int count = count_tests(main, 0);
  FUZZ_CHECK(count >= 0);
  FUZZ_CHECK(count_tests(main, 0) == count);
  return 0;
}
