#include "desktop/winlib/drawing/r_bitmap.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/messages/system_text.h"
#include "platform/files/whole_file.h"

namespace {

// Larger files are refused before they are read: no picture of the
// program's comes near it.
constexpr size_t kLargestFile = 256u * 1024u * 1024u;

// Reads the rest of an open file; false when a read fails or the file is
// too large (both reported).
bool read_rest(rFileClass& file, std::vector<uint8_t>& bytes) {
  uint8_t chunk[65536];
  for (;;) {
    uint32_t got = file.read(chunk, sizeof chunk);
    if (got == 0xFFFFFFFFu) return false;
    if (got == 0) return true;
    if (bytes.size() + got > kLargestFile) {
      errormessage("*** BITMAP FILE TOO LARGE [%s] ***", file.name());
      return false;
    }
    bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < sizeof chunk) return true;
  }
}

// The whole file: its 14-byte header reported as the Part of the reader
// that failed, then every further byte.
bool read_whole_file(rFileClass& file, std::vector<uint8_t>& bytes) {
  bytes.assign(bmp_file_header_size, 0);
  uint32_t got = file.read(bytes.data(), bmp_file_header_size);
  if (got != bmp_file_header_size) {
    errormessage("*** FILE HEADER NOT INPUT, %d # %d ***", got == 0xFFFFFFFFu ? -1 : static_cast<int>(got),
                 static_cast<int>(bmp_file_header_size));
    return false;
  }
  return read_rest(file, bytes);
}

// The client area of window in a new compatible bitmap (the caller deletes
// it), or null.
HBITMAP capture_client(HWND window, HDC window_dc, int& width, int& height) {
  RECT client;
  if (!GetClientRect(window, &client)) return nullptr;
  width = client.right - client.left;
  height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(window_dc, width, height);
  if (bitmap == nullptr) return nullptr;
  HDC memory = CreateCompatibleDC(window_dc);
  if (memory == nullptr) {
    DeleteObject(bitmap);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(memory, bitmap);
  BOOL copied = BitBlt(memory, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  if (!copied) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

}  // namespace

rBitmapClass::rBitmapClass(HINSTANCE instance, int resource_id) {
  mode_ = BMODE_RESOURCE;
  bitmap_ = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(resource_id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap_ == nullptr) {
    errormessage("*** rBitmapClass::init - LoadImage (ID %d) failed ***\n%s", resource_id, last_error_text(0));
    return;
  }
  if (GetObjectA(bitmap_, sizeof info_, &info_) == 0) {
    errormessage("*** rBitmapClass::init - GetObject (ID %d) failed ***\n%s", resource_id, last_error_text(0));
    if (!extract_bitmap_information(resource_id)) return;
  }
  valid_ = 1;
  display_ = {0, 0, info_.bmWidth, info_.bmHeight};
  display_valid_ = 1;
}

bool rBitmapClass::extract_bitmap_information(int) {
  if (GetObjectA(bitmap_, sizeof info_, &info_) != 0) return true;
  errormessage("*** rBitmapClass::extract_bitmap_information - UNABLE TO GET BITMAP INFO FROM HBITMAP ***\n%s",
               last_error_text(0));
  return false;
}

rBitmapClass::~rBitmapClass() {
  if (from_file_) file_.close();
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  delete[] dib_;
}

bool rBitmapClass::init_from_file(const char* folder, const char* name) {
  valid_ = 0;
  if (!file_.open(folder, name, rfile_read | rfile_open_existing | rfile_share_read)) return false;
  from_file_ = 1;
  std::vector<uint8_t> bytes;
  bool read = read_whole_file(file_, bytes);
  file_.close();
  from_file_ = 0;
  if (!read) return false;
  bmpLayout layout;
  if (const char* refusal = check_bmp_file(bytes.data(), bytes.size(), layout)) {
    errormessage("%s\n[%s]", refusal, name != nullptr ? name : "");
    return false;
  }
  auto* dib = new (std::nothrow) uint8_t[bytes.size() - bmp_file_header_size];
  if (dib == nullptr) {
    errormessage("*** CANNOT ALLOCATE FOR BitmapInfoHeaderp ***");
    return false;
  }
  std::memcpy(dib, bytes.data() + bmp_file_header_size, bytes.size() - bmp_file_header_size);
  std::memcpy(file_header_, bytes.data(), bmp_file_header_size);
  delete[] dib_;
  dib_ = dib;
  layout_ = layout;
  core_header_ = layout.header_size == bmp_v5_header_size;
  bits_ = dib_ + layout.pixel_offset - bmp_file_header_size;
  mode_ = BMODE_FILE;
  valid_ = 1;
  display_ = {0, 0, layout.width, layout.height < 0 ? -layout.height : layout.height};
  display_valid_ = 1;
  return true;
}

bool rBitmapClass::display(HDC dc, int x, int y, int width, int height, const paper& scale, DWORD rop) {
  display_ = {x, y, width, height};
  display_valid_ = 1;
  const int to_x = x + scale.x_origin;
  const int to_y = y + scale.y_origin;
  bool drawn = false;
  if (mode_ == BMODE_RESOURCE && bitmap_ != nullptr) {
    HDC memory = CreateCompatibleDC(dc);
    if (memory != nullptr) {
      HGDIOBJ old = SelectObject(memory, bitmap_);
      drawn = StretchBlt(dc, to_x, to_y, width, height, memory, 0, 0, info_.bmWidth, info_.bmHeight, rop) != 0;
      SelectObject(memory, old);
      DeleteDC(memory);
    }
  } else if (mode_ == BMODE_FILE && valid_) {
    const int rows = layout_.height < 0 ? -layout_.height : layout_.height;
    drawn = StretchDIBits(dc, to_x, to_y, width, height, 0, 0, layout_.width, rows, bits_,
                          reinterpret_cast<const BITMAPINFO*>(dib_), DIB_RGB_COLORS, rop) != 0;
  }
  if (!drawn) errormessage("*** rBitmapClass::display -> NO SCAN LINES SET ***");
  return drawn;
}

bool rBitmapClass::display_scaled(HDC dc, double x_mm, double y_mm, double width_mm, double height_mm,
                                  const paper& scale, DWORD rop) {
  return display(dc, scale.scale_x(x_mm), scale.scale_y(y_mm), scale.scale_x(width_mm), scale.scale_y(height_mm),
                 scale, rop);
}

int rBitmapClass::base_width() {
  if (mode_ == BMODE_NONE) {
    errormessage("*** rBitmapClass::base_width - CALLED WITH BMODE_NONE ***");
    return 0;
  }
  return mode_ == BMODE_FILE ? layout_.width : info_.bmWidth;
}

int rBitmapClass::base_height() {
  if (mode_ == BMODE_NONE) {
    errormessage("*** rBitmapClass::base_height - CALLED WITH BMODE_NONE ***");
    return 0;
  }
  if (mode_ == BMODE_FILE) return layout_.height < 0 ? -layout_.height : layout_.height;
  return info_.bmHeight;
}

int rBitmapClass::display_width() {
  if (mode_ == BMODE_NONE) {
    errormessage("*** rBitmapClass::display_width - CALLED WITH BMODE_NONE ***");
    return 0;
  }
  if (!display_valid_) {
    errormessage("*** rBitmapClass::display_width - CALLED WITH Display.Valid FALSE ***");
    return 0;
  }
  return display_.right;
}

int rBitmapClass::display_height() {
  if (mode_ == BMODE_NONE) {
    errormessage("*** rBitmapClass::display_height - CALLED WITH BMODE_NONE ***");
    return 0;
  }
  if (!display_valid_) {
    errormessage("*** rBitmapClass::display_height - CALLED WITH Display.Valid FALSE ***");
    return 0;
  }
  return display_.bottom;
}

double rBitmapClass::display_width_mm(const paper& scale) {
  int pixels = display_width();
  return scale.x_px_per_mm > 0 ? (pixels - scale.x_origin) / scale.x_px_per_mm : 0.0;
}

double rBitmapClass::display_height_mm(const paper& scale) {
  int pixels = display_height();
  return scale.y_px_per_mm > 0 ? (pixels - scale.y_origin) / scale.y_px_per_mm : 0.0;
}

HBITMAP rBitmapClass::make_device_bitmap(HDC dc) {
  HBITMAP made = nullptr;
  if (mode_ == BMODE_FILE && valid_) {
    made = CreateDIBitmap(dc, reinterpret_cast<const BITMAPINFOHEADER*>(dib_), CBM_INIT, bits_,
                          reinterpret_cast<const BITMAPINFO*>(dib_), DIB_RGB_COLORS);
  }
  if (made == nullptr) {
    errormessage("*** UNABLE TO ALLOCATE BITMAP HANDLE ***");
    return nullptr;
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = made;
  return made;
}

bool copy_window_to_clipboard(HWND window) {
  HDC window_dc = GetDC(window);
  if (window_dc == nullptr) {
    errormessage("*** UNABLE TO GET THE WINDOW'S DEVICE CONTEXT ***\n%s", last_error_text(0));
    return false;
  }
  int width = 0, height = 0;
  HBITMAP bitmap = capture_client(window, window_dc, width, height);
  ReleaseDC(window, window_dc);
  if (bitmap == nullptr) {
    errormessage("*** UNABLE TO COPY THE WINDOW INTO A BITMAP ***");
    return false;
  }
  if (!OpenClipboard(window)) {
    errormessage("*** UNABLE TO OPEN THE CLIPBOARD ***\n%s", last_error_text(0));
    DeleteObject(bitmap);
    return false;
  }
  EmptyClipboard();
  bool placed = SetClipboardData(CF_BITMAP, bitmap) != nullptr;
  CloseClipboard();
  if (!placed) {
    // Only a bitmap the clipboard took belongs to it.
    errormessage("*** UNABLE TO PUT THE BITMAP ON THE CLIPBOARD ***\n%s", last_error_text(0));
    DeleteObject(bitmap);
  }
  return placed;
}

bool save_window_image(HWND window) {
  HDC window_dc = GetDC(window);
  if (window_dc == nullptr) return false;
  int width = 0, height = 0;
  HBITMAP bitmap = capture_client(window, window_dc, width, height);
  bool saved = false;
  if (bitmap != nullptr) {
    static const char filter[] = "Bitmap Files (*.bmp)\0*.bmp\0\0";
    const char* name = file_name_dialog(window, "Save Image to", "image.bmp", filter, ".bmp", nullptr, 0, true,
                                        false, 0);
    if (name != nullptr) saved = save_bitmap_file(window, name, bitmap, window_dc);
    DeleteObject(bitmap);
  }
  ReleaseDC(window, window_dc);
  return saved;
}

bool save_bitmap_file(HWND owner, const char* file_name, HBITMAP bitmap, HDC dc) {
  BITMAP info;
  bmpLayout layout;
  bool ok = GetObjectA(bitmap, sizeof info, &info) != 0 &&
            bmp_save_layout(info.bmWidth, info.bmHeight,
                            bmp_save_bit_count(static_cast<uint32_t>(info.bmPlanes) * info.bmBitsPixel), layout);
  std::vector<uint8_t> header(bmp_file_header_size + bmp_info_header_size + 4 * layout.colours);
  std::vector<uint8_t> pixels;
  if (ok) {
    write_bmp_headers(layout, header.data());
    pixels.resize(layout.image_size);
    // GetDIBits reads the info header and writes the colour table after it.
    auto* bmi = reinterpret_cast<BITMAPINFO*>(header.data() + bmp_file_header_size);
    ok = GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.data(), bmi, DIB_RGB_COLORS) ==
         info.bmHeight;
  }
  if (ok) {
    ok = write_file_whole(file_name, "wb", [&](FILE* file) {
      return fwrite(header.data(), 1, header.size(), file) == header.size() &&
             fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size();
    });
  }
  if (!ok) MessageBoxA(owner, "Error", "Error", MB_OK);
  return ok;
}

HBITMAP load_bitmap_file(HDC dc, const char* path) {
  rFileClass file;
  if (!file.open(nullptr, path, rfile_read | rfile_open_existing | rfile_share_read)) return nullptr;
  std::vector<uint8_t> bytes;
  if (!read_whole_file(file, bytes)) return nullptr;
  if (bytes[0] != 'B' || bytes[1] != 'M') {
    errormessage("*** FILE IS NOT BITMAP TYPE [%s] ***", path);
    return nullptr;
  }
  bmpLayout layout;
  if (const char* refusal = check_bmp_file(bytes.data(), bytes.size(), layout)) {
    errormessage("%s\n[%s]", refusal, path);
    return nullptr;
  }
  const uint8_t* dib = bytes.data() + bmp_file_header_size;
  HBITMAP made = CreateDIBitmap(dc, reinterpret_cast<const BITMAPINFOHEADER*>(dib), CBM_INIT,
                                bytes.data() + layout.pixel_offset, reinterpret_cast<const BITMAPINFO*>(dib),
                                DIB_RGB_COLORS);
  if (made == nullptr) errormessage("*** Unable to create DI bitmap ***\n%s", last_error_text(0));
  return made;
}
