#include "handheld/ui/dialogs/unit_drawing.h"

#include <wchar.h>

#include <atomic>
#include <initializer_list>

#include "handheld/ui/colour_brushes.h"
#include "handheld/engine/ids/handheld_ids.h"

HPEN solid_pens[COLOUR_COUNT];
HPEN dash_pens[COLOUR_COUNT];
HFONT small_font = nullptr;
HFONT fixed_font = nullptr;
namespace {

HFONT large_fixed_font = nullptr;

const COLORREF kColours[COLOUR_COUNT] = {
    0x0000FF, 0x00FFFF, 0x00FF00, 0xFF0000, 0xFF00FF, 0x000000, 0x808080, 0xFFFFFF,
};

std::atomic<bool> plainKeyOnce{false};

HFONT make_font(const wchar_t* face, int height, int width, int weight, BYTE pitch) {
  LOGFONTW font = {};
  font.lfHeight = height;
  font.lfWidth = width;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfPitchAndFamily = pitch;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

// The widest printable character of a font, measured on the device.
int widest_character(HDC dc, HFONT font, int& height) {
  HGDIOBJ old = SelectObject(dc, font);
  int widest = 0;
  height = 0;
  for (wchar_t c = 0x20; c < 0x7f; ++c) {
    SIZE size = {0, 0};
    if (!GetTextExtentPoint32W(dc, &c, 1, &size)) continue;
    if (size.cx > widest) widest = size.cx;
    if (size.cy > height) height = size.cy;
  }
  SelectObject(dc, old);
  return widest;
}

}  // namespace

HFONT make_cell_font(HDC dc, int cellWidth, int cellHeight) {
  // Whatever face the system gives for the name, its characters are
  // measured: the first size whose every character fits the cell is taken.
  for (int height = cellHeight; height >= 6; --height) {
    for (int width = cellWidth + 1; width >= 3; --width) {
      HFONT font = make_font(L"Courier New", height, width, 400, 0x31);
      if (font == nullptr) continue;
      int measuredHeight = 0;
      const int widest = widest_character(dc, font, measuredHeight);
      if (widest > 0 && widest <= cellWidth && measuredHeight <= cellHeight) return font;
      DeleteObject(font);
    }
  }
  return make_font(L"Courier New", cellHeight, cellWidth, 400, 0x31);
}

COLORREF colour_of(int index) { return index >= 0 && index < COLOUR_COUNT ? kColours[index] : 0; }

void create_pens_and_fonts() {
  for (int i = 0; i < COLOUR_COUNT; ++i) {
    if (solid_pens[i] == nullptr) solid_pens[i] = CreatePen(PS_SOLID, 1, kColours[i]);
    if (dash_pens[i] == nullptr) dash_pens[i] = CreatePen(PS_DASH, 1, kColours[i]);
  }
  if (small_font == nullptr) small_font = make_font(L"Times New Roman", 14, 4, 400, 0);
  if (fixed_font == nullptr) {
    HDC screen = GetDC(nullptr);
    fixed_font = make_cell_font(screen, CELL_WIDTH, CELL_HEIGHT);
    ReleaseDC(nullptr, screen);
  }
  if (large_fixed_font == nullptr) large_fixed_font = make_font(L"Courier New", 30, 15, 700, 0x31);
}

void delete_pens_and_fonts() {
  for (int i = 0; i < COLOUR_COUNT; ++i) {
    if (solid_pens[i] != nullptr) DeleteObject(solid_pens[i]);
    if (dash_pens[i] != nullptr) DeleteObject(dash_pens[i]);
    solid_pens[i] = dash_pens[i] = nullptr;
  }
  for (HFONT* font : {&small_font, &fixed_font, &large_fixed_font}) {
    if (*font != nullptr) DeleteObject(*font);
    *font = nullptr;
  }
}

void draw_colour_text(HDC dc, const wchar_t* text, int x, int y, int colour) {
  if (dc == nullptr || text == nullptr) return;
  const COLORREF previous = SetTextColor(dc, colour_of(colour));
  ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(wcslen(text)), nullptr);
  SetTextColor(dc, previous);
}

HBRUSH key_colour_brush(int control) {
  if (plainKeyOnce.exchange(false)) return brushes[7];
  switch (control) {
    case KEY_UPPER_LEFT: return brushes[0];
    case KEY_LOWER_LEFT: return brushes[2];
    case KEY_UPPER_RIGHT: return brushes[1];
    case KEY_LOWER_RIGHT: return brushes[3];
    default: return nullptr;
  }
}

void set_plain_key_once() { plainKeyOnce = true; }
