// A holder window for control tests: a "general" window object that keeps a
// control list, draws it (or a caller's drawing) and records the WM_USER
// notices it receives. Also a message pump that runs until the queue is idle.
#ifndef DESKTOP_WINLIB_CONTROLS_TESTS_CONTROL_TEST_WINDOW_H
#define DESKTOP_WINLIB_CONTROLS_TESTS_CONTROL_TEST_WINDOW_H

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "desktop/winlib/controls/control.h"
#include "desktop/winlib/windows/window_object.h"

class testHolderWindow : public winTypeClass {
 public:
  // A visible top-level window with a client area of width x height pixels.
  testHolderWindow(int width = 600, int height = 400);

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  controlListClass controls;
  // WM_USER (wParam, lParam) pairs received.
  std::vector<std::pair<uintptr_t, intptr_t>> notices;
  // WM_COMMAND (notification, window) received.
  std::vector<std::pair<unsigned, HWND>> commands;
  // Replaces the drawing of the control list (for printing tests).
  std::function<void(HDC, const paper&)> painter;
};

// One holder for the whole test program (a top-level window costs Wine
// seconds to take down); its controls and child windows stay until the end.
testHolderWindow& shared_holder();

// Dispatches waiting messages until none is left (and at most 2 seconds).
void pump_messages();

#endif
