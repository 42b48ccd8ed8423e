// The unit's reader of its own test files: a refused file leaves the record
// as it was; an accepted one is the file's bytes after its flag byte, with
// both blocks' point counts in range.
#include <cmath>
#include <cstring>
#include <memory>

#include "fuzz/fuzz_support.h"
#include "handheld/engine/storage/stored_records.h"
#include "handheld/engine/storage/test_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  // The file: a flag byte, then the record.
  static const std::vector<uint8_t> base = [] {
    std::vector<uint8_t> bytes(1, 0);
    bytes.insert(bytes.end(), fresh_record_bytes().begin(), fresh_record_bytes().end());
    return bytes;
  }();
  const std::vector<uint8_t> file = fuzz_patched(base, data, size);
  fuzz_write("T240315_CFC7/FUZZ.TST", file.data(), file.size());

  auto record = std::make_unique<testFileRecord>();
  std::memset(record.get(), 0xA5, sizeof(testFileRecord));
  auto before = std::make_unique<testFileRecord>(*record);
  const bool read = read_tst_file(*record, L"FUZZ", L"Storage Card\\T240315_CFC7");
  if (!read) {
    FUZZ_CHECK(std::memcmp(record.get(), before.get(), sizeof(testFileRecord)) == 0);
    return 0;
  }
  FUZZ_CHECK(file.size() >= kTestFileBytes);
  FUZZ_CHECK(last_read_flag_byte() == file[0]);
  FUZZ_CHECK(std::memcmp(record.get(), file.data() + 1, sizeof(testFileRecord)) == 0);
  for (const samplesBlock* block : {&record->LastSweep, &record->Average}) {
    FUZZ_CHECK(block->PointCount >= 0 && block->PointCount <= kSamplesPerBlock);
    FUZZ_CHECK(std::isfinite(block->Divisor));
  }
  return 0;
}
