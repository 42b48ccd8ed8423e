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
#include <filesystem>
#include <string>
#include <vector>

#include "edit_fields.h"
#include "locator_fixture.h"
#include "locator_window.h"
#include "modal_ui.h"
#include "registry_settings.h"
#include "window_classes.h"
#include "window_tree.h"

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

struct searchCase {
  const char* label;
  bool subfolders;
  const char* test_id;
  const char* eye;
  const char* user_id;
};

}  // namespace

int main(int argc, char** argv) {
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
