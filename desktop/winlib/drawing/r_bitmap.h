// Pictures: rBitmapClass holds an image from the program's resources or a
// BMP file and draws it stretched into a rectangle (the main window's logo).
// Beside it: a window's client area copied to the clipboard or saved as a
// BMP file, and a BMP file loaded as a device bitmap.
#ifndef DESKTOP_WINLIB_DRAWING_R_BITMAP_H
#define DESKTOP_WINLIB_DRAWING_R_BITMAP_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/drawing/bmp_layout.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/files/rfile.h"

constexpr uint8_t BMODE_NONE = 0;
constexpr uint8_t BMODE_FILE = 1;
constexpr uint8_t BMODE_MEMORY = 2;  // a packed DIB in memory: declared, made by nothing
constexpr uint8_t BMODE_RESOURCE = 3;

class rBitmapClass {
 public:
  // Nothing loaded (mode BMODE_NONE); init_from_file loads a file.
  rBitmapClass() = default;
  // A bitmap resource of instance (mode BMODE_RESOURCE).
  rBitmapClass(HINSTANCE instance, int resource_id);
  ~rBitmapClass();
  rBitmapClass(const rBitmapClass&) = delete;
  rBitmapClass& operator=(const rBitmapClass&) = delete;

  // Reads folder\name (name alone with a null folder) whole; the file must
  // hold what its headers say (BMP layout checked); mode BMODE_FILE.
  bool init_from_file(const char* folder, const char* name);

  // Draws the whole image stretched into (x, y, width, height) pixels, the
  // record's origin added. False, reported, when nothing could be drawn.
  bool display(HDC dc, int x, int y, int width, int height, const paper& scale, DWORD rop = SRCCOPY);
  bool display_scaled(HDC dc, double x_mm, double y_mm, double width_mm, double height_mm, const paper& scale,
                      DWORD rop = SRCCOPY);

  // The stored image's size (0, reported, with nothing loaded).
  int base_width();
  int base_height();
  // Where it was last drawn (0, reported, before it was drawn).
  int display_width();
  int display_height();
  double display_width_mm(const paper& scale);
  double display_height_mm(const paper& scale);

  // A device bitmap of the file's pixels for dc (owned by this object).
  HBITMAP make_device_bitmap(HDC dc);

  uint8_t mode() const { return mode_; }
  bool valid() const { return valid_ != 0; }

 private:
  bool extract_bitmap_information(int resource_id);

  uint8_t from_file_ = 0;
  uint8_t valid_ = 0;
  uint8_t spare_ = 0;
  uint8_t mode_ = BMODE_NONE;
  rFileClass file_;
  HBITMAP bitmap_ = nullptr;
  BITMAP info_ = {};
  uint8_t file_header_[bmp_file_header_size] = {};
  uint8_t* dib_ = nullptr;
  bool core_header_ = false;
  const uint8_t* bits_ = nullptr;
  bmpLayout layout_;
  uint8_t display_valid_ = 0;
  RECT display_ = {0, 0, 0, 0};  // x, y, width, height
};

// The client area of window into the clipboard as a bitmap (which then
// belongs to the clipboard). False, reported, on any failure.
bool copy_window_to_clipboard(HWND window);

// The client area of window saved as a BMP file chosen in a save dialog.
bool save_window_image(HWND window);

// bitmap (selectable into dc) written to file_name as a BMP file; a failing
// step shows "Error" and returns false.
bool save_bitmap_file(HWND owner, const char* file_name, HBITMAP bitmap, HDC dc);

// A BMP file as a device bitmap for dc (the caller deletes it), or null,
// reported.
HBITMAP load_bitmap_file(HDC dc, const char* path);

#endif
