// The start-up file: whatever it holds, the settings read from it, once
// written, read back to the same settings.
#include <cstring>
#include <string>

#include "fuzz/fuzz_support.h"
#include "desktop/winlib/settings/startup_file.h"

namespace {

char folder[40];
char font[300];
char empty[1];
startupSetting settings[] = {{"DATA_FOLDER", folder, sizeof folder},
                             {"InstallPath", font, sizeof font},
                             {"", empty, sizeof empty}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool listed = [] {
    for (startupSetting& s : settings) startup_settings().add(&s);
    set_startup_file(fuzz_card().string().c_str(), "startup.ini");
    return true;
  }();
  (void)listed;
  std::strcpy(folder, "C:\\DATA");
  std::strcpy(font, "Arial");
  fuzz_write("startup.ini", data, size);
  read_startup_file();
  const std::string read_folder = folder, read_font = font, read_empty = empty;
  FUZZ_CHECK(write_startup_file());
  std::strcpy(folder, "x");
  std::strcpy(font, "x");
  FUZZ_CHECK(read_startup_file());
  FUZZ_CHECK(read_folder == folder && read_font == font && read_empty == empty);
  fuzz_forget_messages();
  return 0;
}
