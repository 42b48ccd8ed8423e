// A fixture for the tests of a window: pop-up menus answer with the command
// in popup_answer, and every window object a test made must be gone when it
// ends.
#ifndef DESKTOP_WINLIB_TESTS_WINDOW_FIXTURE_H
#define DESKTOP_WINLIB_TESTS_WINDOW_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/winlib/windows/window_object.h"
#include "desktop/winlib/windows/window_tree.h"

class windowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    baseline_ = count_window_nodes();
    popup_answer = 0;
    saved_ = popup_menu_ui_install({scripted_popup});
  }
  void TearDown() override {
    popup_menu_ui_install(saved_);
    pump();
    EXPECT_EQ(count_window_nodes(), baseline_);
  }
  // Closes a window as its close box does.
  static void close(winTypeClass* window) {
    SendMessageA(window->hwnd(), WM_CLOSE, 0, 0);
    pump();
  }

  static inline int popup_answer = 0;
  // The window objects there were before the test.
  int baseline_ = 0;

 private:
  static BOOL WINAPI scripted_popup(HMENU, UINT, int, int, HWND, LPTPMPARAMS) { return popup_answer; }

  popup_menu_calls saved_{};
};

#endif
