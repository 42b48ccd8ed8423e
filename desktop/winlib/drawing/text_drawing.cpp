#include "desktop/winlib/drawing/text_drawing.h"

#include <cstdarg>
#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/values/wide_text.h"

namespace {

// A formatted text of at most drawn_text_limit characters.
struct drawnText {
  char text[drawn_text_limit + 1];
  int length;
};

void format_drawn(drawnText* out, const char* format, va_list args) {
  int n = format_bounded(out->text, sizeof out->text, format, args);
  if (n < 0) out->text[0] = 0;
  out->length = static_cast<int>(std::strlen(out->text));
}

int text_length_of(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

SIZE measure(HDC dc, const char* text, int length) { return utf8_text_extent(dc, text, length); }

void write(HDC dc, int x, int y, const char* text, int length) { utf8_text_out(dc, x, y, text, length); }

// The first length bytes of a UTF-8 text (all of it for a negative length)
// as the wide text the platform draws: the A calls would read the bytes in
// the font's code page, whatever the program's.
std::wstring wide_part(const char* text, int length) {
  if (!text) return std::wstring();
  if (length < 0) return wide_text(text);
  return wide_text(std::string(text, static_cast<size_t>(length)).c_str());
}

}  // namespace

SIZE utf8_text_extent(HDC dc, const char* text, int length) {
  std::wstring wide = wide_part(text, length);
  SIZE size{};
  if (!GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size)) size = SIZE{};
  return size;
}

void utf8_text_out(HDC dc, int x, int y, const char* text, int length) {
  std::wstring wide = wide_part(text, length);
  const int count = static_cast<int>(wide.size());
  // A printer may print its glyphs wider than its context measures them
  // (a font sent to it keeps its own advances): each character is placed
  // where the context measured it, so a text ends where it was laid out.
  std::vector<int> ends(wide.size()), steps(wide.size());
  SIZE whole{};
  const bool placed = count > 0 && GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER &&
                      GetTextExtentExPointW(dc, wide.c_str(), count, 0, nullptr, ends.data(), &whole);
  if (placed) {
    for (int i = 0; i < count; ++i) steps[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
  }
  ExtTextOutW(dc, x, y, 0, nullptr, wide.c_str(), static_cast<UINT>(count), placed ? steps.data() : nullptr);
}

void text_out_scaled(HDC dc, const paper& scale, double x, double y, const char* text) {
  write(dc, scale.px_x(x), scale.px_y(y), text, text_length_of(text));
}

void text_out_printf(HDC dc, int x, int y, const char* format, ...) {
  drawnText t;
  va_list args;
  va_start(args, format);
  format_drawn(&t, format, args);
  va_end(args);
  write(dc, x, y, t.text, t.length);
}

void text_out_printf_scaled(HDC dc, const paper& scale, double x, double y, const char* format, ...) {
  drawnText t;
  va_list args;
  va_start(args, format);
  format_drawn(&t, format, args);
  va_end(args);
  write(dc, scale.px_x(x), scale.px_y(y), t.text, t.length);
}

SIZE text_out_justified(HDC dc, int x, int y, int justification, const char* format, ...) {
  drawnText t;
  va_list args;
  va_start(args, format);
  format_drawn(&t, format, args);
  va_end(args);
  SIZE size = measure(dc, t.text, t.length);
  switch (justification) {
    case justify_top_left:
      write(dc, x, y, t.text, t.length);
      break;
    case justify_top_centre:
      write(dc, x - size.cx / 2, y, t.text, t.length);
      break;
    case justify_bottom_right:
      write(dc, x - size.cx, y - size.cy, t.text, t.length);
      break;
    default:
      report_error("### JUSTIFICATION %d NOT IMPLEMENTED ###", justification);
      break;
  }
  return size;
}

int text_height_px(HDC dc, const char* format, ...) {
  drawnText t;
  va_list args;
  va_start(args, format);
  format_drawn(&t, format, args);
  va_end(args);
  return measure(dc, t.text, t.length).cy;
}

int text_width_px(HDC dc, const char* format, ...) {
  drawnText t;
  va_list args;
  va_start(args, format);
  format_drawn(&t, format, args);
  va_end(args);
  return measure(dc, t.text, t.length).cx;
}

double text_height_scaled(HDC dc, const paper& scale, const char* text) {
  return scale.mm_y(measure(dc, text, text_length_of(text)).cy);
}

double text_width_scaled(HDC dc, const paper& scale, const char* text) {
  return scale.mm_x(measure(dc, text, text_length_of(text)).cx);
}

double text_width_screen(HWND window, HFONT font, const char* text) {
  HDC dc = GetDC(window);
  if (!dc) return 0.0;
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE size = measure(dc, text, text_length_of(text));
  if (old) SelectObject(dc, old);
  ReleaseDC(window, dc);
  return screen_paper.mm_x(size.cx);
}

void text_size_scaled(HDC dc, const paper& scale, const char* text, mmPointClass* size) {
  if (!size) return;
  SIZE s = measure(dc, text, text_length_of(text));
  size->x = scale.mm_x(s.cx);
  size->y = scale.mm_y(s.cy);
}

SIZE text_extent(HDC dc, const char* text, HFONT font) {
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE size = measure(dc, text, text_length_of(text));
  if (old) SelectObject(dc, old);
  return size;
}

std::string fitted_text(HDC dc, const char* text, int width) {
  std::string whole = text ? text : "";
  if (utf8_text_extent(dc, whole.c_str(), -1).cx <= width) return whole;
  // Where each character ends (UTF-8 continuation bytes are 10xxxxxx): a
  // cut never splits one.
  std::vector<size_t> ends{0};
  for (size_t i = 1; i <= whole.size(); ++i) {
    if (i == whole.size() || (static_cast<unsigned char>(whole[i]) & 0xC0) != 0x80) ends.push_back(i);
  }
  auto cut = [&](size_t k) { return whole.substr(0, ends[k]) + "..."; };
  auto fits = [&](size_t k) { return utf8_text_extent(dc, cut(k).c_str(), -1).cx <= width; };
  if (!fits(0)) return std::string();
  // The most characters that leave room for the ellipsis.
  size_t low = 0, high = ends.size() - 1;
  while (low < high) {
    size_t middle = (low + high + 1) / 2;
    if (fits(middle))
      low = middle;
    else
      high = middle - 1;
  }
  return cut(low);
}
