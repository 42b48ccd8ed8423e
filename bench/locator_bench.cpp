// Times the test locator's search as a person runs it ("Find TESTS." in the
// locator window, progress panel and first preview included) over a tree of
// 1000 stored tests: the root and nine sub-folders of 100 tests each. Prints
// the median of five runs of each search, and the tests found.
//
//   locator_bench [folder]
// Without a folder the tree is written into a temporary folder first,
// untimed, and removed at the end. Needs a display (windows are made).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/data/locator/tests/locator_fixture.h"
#include "desktop/windows/locator/locator_window.h"
#include "platform/modal/modal_ui.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// A message box goes to standard error and is answered as Enter would: the
// benchmark never waits for a person.
int box_to_stderr(HWND, const char* text, const char* caption, UINT type) {
  std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
  UINT buttons = type & MB_TYPEMASK;
  return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
}
int wide_box_to_stderr(HWND, const wchar_t* text, const wchar_t*, UINT) {
  std::fprintf(stderr, "%ls\n", text ? text : L"");
  return IDOK;
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Under Wine on a virtual display without a window manager, closing a
// managed top-level window (the progress panel, once a search) waits two
// seconds for a window manager that never answers. The benchmark makes its
// own windows unmanaged (Wine's per-program X11 setting, read at start-up,
// and ignored by Windows) and, when it had to set that, runs once more.
bool rerun_unmanaged(int* exit_code) {
  const char* key = "Software\\Wine\\AppDefaults\\locator_bench.exe\\X11 Driver";
  char value[8] = {};
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, key, "Managed", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
      value[0] == 'N') {
    return false;
  }
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const bool set = RegSetValueExA(handle, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2) == ERROR_SUCCESS;
  RegCloseKey(handle);
  if (!set) return false;
  STARTUPINFOA start;
  std::memset(&start, 0, sizeof start);
  start.cb = sizeof start;
  PROCESS_INFORMATION process;
  std::string command = GetCommandLineA();
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  *exit_code = static_cast<int>(code);
  return true;
}

struct searchCase {
  const char* label;
  bool subfolders;
  const char* test_id;
  const char* eye;
  const char* user_id;
};

}  // namespace

int main(int argc, char** argv) {
  int exit_code = 0;
  if (rerun_unmanaged(&exit_code)) return exit_code;
  modal_ui_install(modal_ui_calls{wide_box_to_stderr, box_to_stderr, nullptr});
  register_window_classes();

  std::filesystem::path made;
  std::string root;
  if (argc > 1) {
    root = argv[1];
  } else {
    made = std::filesystem::temp_directory_path() / ("locator_bench_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(made);
    root = made.string();
    root += '\\';
    write_locator_tree(root);
  }
  const char* old = get_program_setting(locator_root_setting, true);
  const std::string saved = old != nullptr ? old : "";
  set_program_setting(locator_root_setting, root.c_str());

  auto* locator = new testLocatorPanelClass(100, 10);
  pump();
  if (!locator->hwnd() || !locator->subfolder_box()) {
    // No window to search in (the display went away): nothing to measure.
    std::fprintf(stderr, "locator_bench: the test locator's window was not made\n");
    set_program_setting(locator_root_setting, saved.c_str());
    if (!made.empty()) {
      std::error_code ignored;
      std::filesystem::remove_all(made, ignored);
    }
    return 1;
  }
  const searchCase cases[] = {
      {"all tests, sub-folders", true, "", "", ""},
      {"all tests, root only", false, "", "", ""},
      {"test id pattern T1*", true, "T1*", "", ""},
      {"eye OD", true, "", "OD", ""},
      {"user id pattern (state files)", true, "", "", "J*"},
  };
  std::printf("%-32s %10s %8s %12s\n", "search", "median ms", "found", "files/s");
  for (const searchCase& c : cases) {
    if (locator->include_subfolders() != c.subfolders) {
      SendMessageA(locator->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                   reinterpret_cast<LPARAM>(locator->subfolder_box()));
    }
    locator->test_id_edit()->get_edit()->set_text(c.test_id);
    locator->eye_edit()->get_edit()->set_text(c.eye);
    locator->user_id_edit()->get_edit()->set_text(c.user_id);
    std::vector<double> times;
    for (int run = 0; run < 5; run++) {
      auto start = std::chrono::steady_clock::now();
      locator->find_tests();
      pump();
      times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    const int files = c.subfolders ? tree_folder_files * (tree_subfolders + 1) : tree_folder_files;
    std::printf("%-32s %10.1f %8d %12.0f\n", c.label, median, locator->found_count(), files / (median / 1000.0));
  }
  SendMessageA(locator->hwnd(), WM_CLOSE, 0, 0);
  pump();
  set_program_setting(locator_root_setting, saved.c_str());
  if (!made.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(made, ignored);
  }
  return 0;
}
