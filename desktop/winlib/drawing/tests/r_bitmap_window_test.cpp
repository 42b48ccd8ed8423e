#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/drawing/r_bitmap.h"

namespace {

const COLORREF kColours[] = {RGB(248, 0, 0), RGB(0, 248, 0), RGB(0, 0, 248), RGB(128, 64, 32), RGB(8, 16, 24)};

std::string temp_path(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

// A 5 x 3 DIB section at bits per pixel, its pixels the colours above in turn.
HBITMAP make_picture(HDC dc, int bits) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
  } info = {};
  info.header.biSize = sizeof info.header;
  info.header.biWidth = 5;
  info.header.biHeight = 3;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bits);
  for (int i = 0; i < 5; ++i) {
    info.colours[i] = {GetBValue(kColours[i]), GetGValue(kColours[i]), GetRValue(kColours[i]), 0};
  }
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) SetPixel(memory, x, y, kColours[(x + y) % 5]);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  return bitmap;
}

COLORREF pixel(HDC dc, HBITMAP bitmap, int x, int y) {
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  COLORREF c = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteDC(memory);
  return c;
}

bool close_colour(COLORREF a, COLORREF b, int tolerance) {
  return abs(GetRValue(a) - GetRValue(b)) <= tolerance && abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace

TEST(Bitmaps, SavedFilesReadBackTheSamePixels) {
  HDC screen = GetDC(nullptr);
  for (int bits : {8, 16, 24, 32}) {
    HBITMAP picture = make_picture(screen, bits);
    ASSERT_NE(picture, nullptr) << bits;
    const std::string path = temp_path(("erg_bitmap_" + std::to_string(bits) + ".bmp").c_str());
    ASSERT_TRUE(save_bitmap_file(nullptr, path.c_str(), picture, screen)) << bits;
    HBITMAP loaded = load_bitmap_file(screen, path.c_str());
    ASSERT_NE(loaded, nullptr) << bits;
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        // Five bits a channel widen to eight by the platform's own rule.
        EXPECT_TRUE(close_colour(pixel(screen, loaded, x, y), kColours[(x + y) % 5], bits == 16 ? 8 : 0))
            << bits << " at " << x << "," << y;
      }
    }
    rBitmapClass file_picture;
    ASSERT_TRUE(file_picture.init_from_file(nullptr, path.c_str())) << bits;
    EXPECT_EQ(file_picture.base_width(), 5);
    EXPECT_EQ(file_picture.base_height(), 3);
    DeleteObject(loaded);
    DeleteObject(picture);
    DeleteFileA(path.c_str());
  }
  ReleaseDC(nullptr, screen);
}

TEST(Bitmaps, DrawsStretchedAndKeepsItsBaseSize) {
  HDC screen = GetDC(nullptr);
  HBITMAP picture = make_picture(screen, 24);
  const std::string path = temp_path("erg_bitmap_draw.bmp");
  ASSERT_TRUE(save_bitmap_file(nullptr, path.c_str(), picture, screen));
  rBitmapClass image;
  ASSERT_TRUE(image.init_from_file(nullptr, path.c_str()));

  HDC memory = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 300, 60);
  HGDIOBJ old = SelectObject(memory, target);
  paper scale;
  scale.rescale(300, 60, 100, 20);
  scale.set_origin(0, 0);
  ASSERT_TRUE(image.display(memory, 0, 0, 200, 30, scale));
  EXPECT_EQ(image.display_width(), 200);
  EXPECT_EQ(image.base_width(), 5);
  // Each source pixel is 40 x 10 on the target; the top row is source row 0.
  EXPECT_EQ(GetPixel(memory, 20, 5), kColours[0]);
  EXPECT_EQ(GetPixel(memory, 60, 5), kColours[1]);
  EXPECT_EQ(GetPixel(memory, 60, 15), kColours[2]);
  SelectObject(memory, old);
  DeleteObject(target);
  DeleteDC(memory);
  DeleteObject(picture);
  DeleteFileA(path.c_str());
  ReleaseDC(nullptr, screen);

  message_capture capture;
  rBitmapClass empty;
  EXPECT_EQ(empty.base_width(), 0);
  EXPECT_EQ(empty.display_height(), 0);
  EXPECT_FALSE(empty.init_from_file(nullptr, temp_path("erg_no_such_bitmap.bmp").c_str()));
  EXPECT_GE(capture.texts().size(), 3u);
}

TEST(Bitmaps, NonBitmapAndDamagedFilesAreRefused) {
  const std::string path = temp_path("erg_not_bitmap.bmp");
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const char bytes[] = "BXthis is not a picture at all, just text";
  DWORD written = 0;
  WriteFile(f, bytes, sizeof bytes, &written, nullptr);
  CloseHandle(f);
  message_capture capture;
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(load_bitmap_file(screen, path.c_str()), nullptr);
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_NE(capture.texts()[0].find("*** FILE IS NOT BITMAP TYPE ["), std::string::npos);
  rBitmapClass image;
  EXPECT_FALSE(image.init_from_file(nullptr, path.c_str()));
  EXPECT_FALSE(image.valid());
  ReleaseDC(nullptr, screen);
  DeleteFileA(path.c_str());
}

namespace {

LRESULT CALLBACK red_window(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &paint.rcPaint, red);
    DeleteObject(red);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, w, l);
}

}  // namespace

TEST(Bitmaps, WindowCopiedToTheClipboardAtItsClientSize) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = red_window;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ErgRedWindow";
  RegisterClassA(&wc);
  HWND window = CreateWindowA("ErgRedWindow", "red", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 240, 160, nullptr,
                              nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  MSG msg;
  for (int i = 0; i < 50 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&msg);
  RECT client;
  GetClientRect(window, &client);

  ASSERT_TRUE(copy_window_to_clipboard(window));
  ASSERT_TRUE(OpenClipboard(window));
  auto copied = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(copied, nullptr);
  BITMAP info;
  ASSERT_NE(GetObjectA(copied, sizeof info, &info), 0);
  EXPECT_EQ(info.bmWidth, client.right);
  EXPECT_EQ(info.bmHeight, client.bottom);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(pixel(screen, copied, client.right / 2, client.bottom / 2), RGB(255, 0, 0));
  ReleaseDC(nullptr, screen);
  CloseClipboard();
  DestroyWindow(window);
}
