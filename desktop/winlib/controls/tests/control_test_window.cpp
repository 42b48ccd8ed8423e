#include "desktop/winlib/controls/tests/control_test_window.h"

testHolderWindow::testHolderWindow(int width, int height) : winTypeClass(nullptr, 99) {
  RECT r{0, 0, width, height};
  AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
  HWND window = CreateWindowExA(0, "general", "controls", WS_OVERLAPPEDWINDOW, 10, 10,
                                r.right - r.left, r.bottom - r.top, nullptr, nullptr, program_instance, nullptr);
  set_hwnd(window);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
}

void testHolderWindow::draw(HDC dc, const paper& scale) {
  if (painter) {
    painter(dc, scale);
    return;
  }
  controls.rescale(dc, scale);
}

intptr_t testHolderWindow::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      paper scale;
      scale.set_from_window(window);
      draw(dc, scale);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_USER:
      notices.emplace_back(wparam, lparam);
      return 0;
    case WM_COMMAND:
      commands.emplace_back(HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    default:
      return DefWindowProcA(window, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
}

testHolderWindow& shared_holder() {
  static testHolderWindow* holder = new testHolderWindow();
  return *holder;
}

void pump_messages() {
  DWORD start = GetTickCount();
  MSG msg;
  while (GetTickCount() - start < 2000) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
