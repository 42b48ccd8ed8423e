// Program files: a file of any size but one record's is refused and leaves
// the program as it was; a file of one record reads as its bytes.
#include <cstring>

#include "fuzz_support.h"
#include "program_files.h"
#include "stored_records.h"

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
  return 0;
}
