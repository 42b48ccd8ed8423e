// Proves the virtual display: a real window paints itself and the test reads
// back what it painted; a message box owned by it goes through the seam.
#include <gtest/gtest.h>

#include "platform/modal/modal_capture.h"

namespace {

const COLORREF kPaint = RGB(12, 200, 56);

LRESULT CALLBACK paint_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH brush = CreateSolidBrush(kPaint);
    RECT r = {10, 10, 60, 40};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

TEST(VirtualDisplay, AWindowPaintsAndThePixelReadsBack) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = paint_proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"PaintProbe";
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  ASSERT_NE(RegisterClassW(&wc), 0);
  HWND hwnd = CreateWindowW(L"PaintProbe", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            20, 20, 200, 120, nullptr, nullptr, instance, nullptr);
  ASSERT_NE(hwnd, nullptr);
  UpdateWindow(hwnd);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);

  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);

  HDC dc = GetDC(hwnd);
  EXPECT_EQ(GetPixel(dc, 30, 20), kPaint);
  EXPECT_EQ(GetPixel(dc, 100, 80), RGB(255, 255, 255));
  ReleaseDC(hwnd, dc);

  modal_capture capture;
  modal_message_box(hwnd, L"*** TEST ***", L"owner", MB_OK);
  ASSERT_EQ(capture.records().size(), 1u);
  EXPECT_EQ(capture.records()[0].owner, hwnd);

  DestroyWindow(hwnd);
  UnregisterClassW(L"PaintProbe", instance);
}
