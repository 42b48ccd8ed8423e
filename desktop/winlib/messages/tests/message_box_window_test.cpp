// Message boxes shown for real on the display, answered by pressing a button
// as the box comes up, as a person would.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "desktop/winlib/windows/message_pump.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"

namespace {

// Presses a button of the box with this caption as the box comes up, noting
// its owner: a hook on the thread that shows the box sees it activated, so
// nothing waits or looks again.
struct boxAnswer {
  const char* caption;
  int button;
  bool pressed = false;
  HWND owner = nullptr;
};
boxAnswer* awaited = nullptr;

LRESULT CALLBACK answer_box(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_ACTIVATE && awaited != nullptr && !awaited->pressed) {
    HWND box = reinterpret_cast<HWND>(w);
    char name[16] = {};
    char caption[128] = {};
    GetClassNameA(box, name, sizeof name);
    GetWindowTextA(box, caption, sizeof caption);
    if (std::strcmp(name, "#32770") == 0 && std::strcmp(caption, awaited->caption) == 0) {
      awaited->owner = GetWindow(box, GW_OWNER);
      HWND control = GetDlgItem(box, awaited->button);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(awaited->button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
      awaited->pressed = true;
    }
  }
  return CallNextHookEx(nullptr, code, w, l);
}

// The answer stands while this lives: the boxes this thread shows meanwhile.
class boxAnswerer {
 public:
  explicit boxAnswerer(boxAnswer& answer)
      : hook_(SetWindowsHookExA(WH_CBT, answer_box, nullptr, GetCurrentThreadId())) {
    awaited = &answer;
  }
  ~boxAnswerer() {
    awaited = nullptr;
    UnhookWindowsHookEx(hook_);
  }
  boxAnswerer(const boxAnswerer&) = delete;
  boxAnswerer& operator=(const boxAnswerer&) = delete;

 private:
  HHOOK hook_;
};

LRESULT CALLBACK answering_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_USER + 7) return 1234;
  return DefWindowProcA(window, message, w, l);
}

}  // namespace

TEST(MessageBoxOnScreen, AQuestionIsAnsweredByItsButton) {
  boxAnswer no{"winlib box test", IDNO};
  boxAnswerer person(no);
  int answer = yesnomessage("winlib box test", "Keep the %s?", "changes");
  EXPECT_TRUE(no.pressed);
  EXPECT_EQ(answer, answer_no);
}

TEST(MessageBoxOnScreen, AnErrorBoxIsClosed) {
  boxAnswer ok{"*** ERROR ***", IDOK};
  boxAnswerer person(ok);
  errormessage("shown for real %d", 1);
  EXPECT_TRUE(ok.pressed);
}

TEST(MessageBoxOnScreen, AnErrorBoxBelongsToTheActiveWindowElseTheShownOne) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "winlib_box_owner_test";
  ASSERT_NE(RegisterClassA(&window_class), 0);
  HWND main = CreateWindowA("winlib_box_owner_test", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                            nullptr, nullptr, window_class.hInstance, nullptr);
  HWND hidden = CreateWindowA("winlib_box_owner_test", "hidden", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                              nullptr, window_class.hInstance, nullptr);
  HWND other = CreateWindowA("winlib_box_owner_test", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                             nullptr, nullptr, window_class.hInstance, nullptr);
  ASSERT_TRUE(main && hidden && other);
  struct {
    HWND active;
    HWND expected;
  } cases[] = {{other, other}, {main, main}, {nullptr, nullptr}};
  for (const auto& c : cases) {
    if (c.active) {
      SetActiveWindow(c.active);
    } else {
      // Nothing active: the first shown top-level window (here the only one).
      DestroyWindow(other);
      other = nullptr;
      SetActiveWindow(hidden);
    }
    HWND expected = c.expected ? c.expected : main;
    boxAnswer ok{"*** ERROR ***", IDOK};
    boxAnswerer person(ok);
    errormessage("owned box %d", 1);
    EXPECT_TRUE(ok.pressed);
    EXPECT_EQ(ok.owner, expected);
  }
  DestroyWindow(hidden);
  DestroyWindow(main);
}

TEST(PumpOneMessage, DispatchesOneWaitingMessage) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = answering_procedure;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = "winlib_pump_test";
  ASSERT_NE(RegisterClassA(&window_class), 0);
  HWND window = CreateWindowA("winlib_pump_test", "", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                              window_class.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  while (pump_one_message()) {
  }
  EXPECT_EQ(pump_one_message(), 0);
  PostMessageA(window, WM_USER + 7, 0, 0);
  EXPECT_EQ(pump_one_message(), 1234);
  EXPECT_EQ(pump_one_message(), 0);
  DestroyWindow(window);
}
