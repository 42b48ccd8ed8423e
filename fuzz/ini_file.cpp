// The ini file: whatever it holds, the settings read from it, once written,
// read back to the same settings (the file written from them is the same).
#include "fuzz/fuzz_support.h"
#include "handheld/engine/storage/ini_file.h"
#include "handheld/engine/storage/system_parameters.h"

namespace {

// Defaults, the ini file from text read over them, then the file written.
std::string read_then_write(const std::string& text) {
  copy_default_parameters();
  reset_cfc_id();
  fuzz_write("VANDU.ini", text);
  read_ini_file();
  if (!write_ini_file()) fuzz_failed("the ini file could not be written", __FILE__, __LINE__);
  return fuzz_read("VANDU.ini");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  const std::string written = read_then_write(std::string(reinterpret_cast<const char*>(data), size));
  FUZZ_CHECK(read_then_write(written) == written);
  return 0;
}
