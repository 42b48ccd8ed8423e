// Message boxes shown for real on the display, answered by a helper thread
// that finds the box and presses a button, as a person would.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "desktop/winlib/windows/message_pump.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"

namespace {

// Finds the box with this caption (waiting up to a minute for it), notes its
// owner when asked and presses the button.
void press_when_shown(const char* caption, int button, std::atomic<bool>* pressed, HWND* owner) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (!*pressed && std::chrono::steady_clock::now() < deadline) {
    HWND box = FindWindowA("#32770", caption);
    if (box) {
      if (owner) *owner = GetWindow(box, GW_OWNER);
      HWND control = GetDlgItem(box, button);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
      *pressed = true;
      return;
    }
    Sleep(20);  // the next look; the deadline bounds the wait
  }
}

LRESULT CALLBACK answering_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_USER + 7) return 1234;
  return DefWindowProcA(window, message, w, l);
}

}  // namespace

TEST(MessageBoxOnScreen, AQuestionIsAnsweredByItsButton) {
  std::atomic<bool> pressed{false};
  std::thread person(press_when_shown, "winlib box test", IDNO, &pressed, nullptr);
  int answer = yesnomessage("winlib box test", "Keep the %s?", "changes");
  person.join();
  EXPECT_TRUE(pressed);
  EXPECT_EQ(answer, answer_no);
}

TEST(MessageBoxOnScreen, AnErrorBoxIsClosed) {
  std::atomic<bool> pressed{false};
  std::thread person(press_when_shown, "*** ERROR ***", IDOK, &pressed, nullptr);
  errormessage("shown for real %d", 1);
  person.join();
  EXPECT_TRUE(pressed);
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
    std::thread person(press_when_shown, "*** ERROR ***", IDOK, &pressed, &owner);
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
