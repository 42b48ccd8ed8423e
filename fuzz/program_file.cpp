// Program files: a file of any size but one record's is refused and leaves
// the program as it was; a file of one record reads as its bytes. What reads
// the record then: its texts stay within 63 characters, a step count outside
// 1 to 64 is refused by the scan, and each TEST step's conversion to a run
// configuration that succeeds gives at least one flash at 15000 samples per
// second.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/protocols/run_config_conversion.h"
#include "handheld/engine/storage/stored_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  fuzz_write("FUZZ.tes", data, size);
  programRecord program;
  std::memset(&program, 0x5A, sizeof program);
  const programRecord before = program;
  if (!read_program_file(L"Storage Card\\FUZZ.tes", program)) {
    FUZZ_CHECK(std::memcmp(&program, &before, sizeof program) == 0);
    return 0;
  }
  FUZZ_CHECK(size == sizeof(programRecord));
  FUZZ_CHECK(std::memcmp(&program, data, sizeof program) == 0);

  for (uint32_t index = 0; index < 9; ++index) {
    char text[80];
    std::memset(text, 'x', sizeof text);
    const bool got = program_text(program, index, text, sizeof text);
    FUZZ_CHECK(got == (index < 8));
    FUZZ_CHECK(std::strlen(text) <= 63);
  }
  for (int step = 0; step < kProgramSteps; ++step) {
    if (program.Steps[step].Opcode != OPCODE_TEST) continue;
    runConfig config;
    std::memset(&config, 0, sizeof config);
    if (convert_steps_to_config(&program, step, &config, 0, 0, step % 2)) {
      FUZZ_CHECK(config.RepeatCount >= 1 && config.SampleRate == 15000);
    }
  }
  programRecord scanned = program;
  const bool scanned_whole = scan_program(scanned);
  if (program.StepCount < 1 || program.StepCount > kProgramSteps) FUZZ_CHECK(!scanned_whole);
  return 0;
}
