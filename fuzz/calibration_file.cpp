// The calibration file: a file without 30 numbers is refused and leaves the
// table as it was; a table read from a file, saved and read again is the
// same table (the file saved from it is the same).
#include <cmath>
#include <string>

#include "handheld/engine/storage/calibration_file.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "fuzz/fuzz_support.h"

namespace {

const char kFile[] = "Cal1234567.txt";

std::string table_text() {
  std::string text;
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) text += std::to_string(calibration_table[e].load()) + "\n";
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  set_unit_serial("1234567");
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) calibration_table[e] = e + 0.5;
  const std::string before = table_text();
  fuzz_write(kFile, data, size);
  if (!load_calibration_file()) {
    FUZZ_CHECK(table_text() == before);
    return 0;
  }
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) FUZZ_CHECK(std::isfinite(calibration_table[e].load()));
  FUZZ_CHECK(save_calibration_file());
  const std::string saved = fuzz_read(kFile);
  FUZZ_CHECK(load_calibration_file());
  FUZZ_CHECK(save_calibration_file());
  FUZZ_CHECK(fuzz_read(kFile) == saved);
  return 0;
}
