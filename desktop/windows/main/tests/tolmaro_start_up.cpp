// The program's start-up runs once for the whole test program, before its
// first test, as the entry runs it: the main window's class gets the main
// window's own procedure.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "desktop/windows/main/intro_window.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/windows/window_classes.h"

namespace {

// Without a window manager on the virtual display, Wine waits two seconds
// for one each time it hides a managed window: this program's windows are
// left unmanaged. Read when the display driver starts, so set before the
// first window.
void leave_windows_unmanaged() {
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  const std::wstring key =
      L"Software\\Wine\\AppDefaults\\" + std::filesystem::path(program).filename().wstring() + L"\\X11 Driver";
  RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Managed", REG_SZ, L"N", 4);
}

class tolmaroStartUp : public ::testing::Environment {
 public:
  void SetUp() override {
    leave_windows_unmanaged();
    message_capture capture;
    program_instance = GetModuleHandleA(nullptr);
    register_window_classes(intro_window_procedure);
    EXPECT_TRUE(capture.texts().empty());
  }
};

::testing::Environment* const start_up = ::testing::AddGlobalTestEnvironment(new tolmaroStartUp);

}  // namespace
