// Message boxes shown for real on the display, answered by a helper thread
// that finds the box and presses a button, as a person would.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

#include "message_pump.h"
#include "message_box.h"
#include "messages.h"

namespace {

// Finds the box with this caption (for at most 20 seconds) and presses the
// button.
void press_when_shown(const char* caption, int button, std::atomic<bool>* pressed) {
  for (int i = 0; i < 400 && !*pressed; ++i) {
    HWND box = FindWindowA("#32770", caption);
    if (box) {
      HWND control = GetDlgItem(box, button);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
      *pressed = true;
      return;
    }
    Sleep(50);
  }
}

LRESULT CALLBACK answering_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_USER + 7) return 1234;
  return DefWindowProcA(window, message, w, l);
}

}  // namespace

TEST(MessageBoxOnScreen, AQuestionIsAnsweredByItsButton) {
  std::atomic<bool> pressed{false};
  std::thread person(press_when_shown, "winlib box test", IDNO, &pressed);
  int answer = yesnomessage("winlib box test", "Keep the %s?", "changes");
  person.join();
  EXPECT_TRUE(pressed);
  EXPECT_EQ(answer, answer_no);
}

TEST(MessageBoxOnScreen, AnErrorBoxIsClosed) {
  std::atomic<bool> pressed{false};
  std::thread person(press_when_shown, "*** ERROR ***", IDOK, &pressed);
  errormessage("shown for real %d", 1);
  person.join();
  EXPECT_TRUE(pressed);
}

// Finds the box with this caption (for at most 20 seconds), notes its owner
// and closes it.
void close_noting_owner(const char* caption, HWND* owner, std::atomic<bool>* pressed) {
  for (int i = 0; i < 400 && !*pressed; ++i) {
    HWND box = FindWindowA("#32770", caption);
    if (box) {
      *owner = GetWindow(box, GW_OWNER);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      *pressed = true;
      return;
    }
    Sleep(50);
  }
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
    HWND owner = nullptr;
    std::atomic<bool> pressed{false};
    std::thread person(close_noting_owner, "*** ERROR ***", &owner, &pressed);
    errormessage("owned box %d", 1);
    person.join();
    EXPECT_TRUE(pressed);
    EXPECT_EQ(owner, expected);
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
