#include "handheld/ui/frame/tests/harness_fixture.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "platform/ce/card_path.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/storage/ini_file.h"
#include "handheld/engine/storage/system_parameters.h"

namespace {

std::filesystem::path program_folder() {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path();
}

// Without a window manager on the virtual display, Wine waits two seconds
// for one each time it hides a managed window: this program's windows are
// left unmanaged. Read when the display driver starts, so set before the
// first window.
void leave_windows_unmanaged() {
  static bool done = false;
  if (done) return;
  done = true;
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::wstring key =
      L"Software\\Wine\\AppDefaults\\" + std::filesystem::path(program).filename().wstring() + L"\\X11 Driver";
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Managed", REG_SZ, L"N", 4);
}

}  // namespace

void VanduTest::SetUp() {
  leave_windows_unmanaged();
  // Libraries load from the program's folder and the card, never from
  // the folder the test was started in.
  SetCurrentDirectoryW(program_folder().c_str());
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  card_ = std::filesystem::temp_directory_path() / "vandu_tests" / info->test_suite_name() / info->name();
  std::error_code error;
  std::filesystem::remove_all(card_, error);
  std::filesystem::create_directories(card_);
  if (writeIni_) {
    set_card_root(card_.wstring().c_str());
    copy_default_parameters();
    write_ini_file();
  }
  options_.card = card_.wstring();
  ASSERT_TRUE(vandu_start(options_));
}

void VanduTest::TearDown() {
  vandu_stop();
  reset_log_state();
  set_card_root(nullptr);
}

std::string VanduTest::log_text() const {
  std::ifstream in(log_file_path(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int32_t battery_counts(double volts) { return static_cast<int32_t>(volts / 5.0 / 1.6001462936401368e-7 + 0.5); }
