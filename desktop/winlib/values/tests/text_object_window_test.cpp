// Text objects: their layout and drawing on a memory bitmap at a known page
// scale, a drag through the mouse items with the font dialog behind its
// seam, and a text bound to a value repainting in a real window.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/values/double_objects.h"
#include "desktop/winlib/fonts/font_dialog_ui.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/windows/mouse_items.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/winlib/values/text_object.h"

namespace {

// A white 32-bit bitmap in a memory context.
class canvas {
 public:
  canvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    clear();
  }
  ~canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  canvas(const canvas&) = delete;
  canvas& operator=(const canvas&) = delete;

  HDC dc() const { return dc_; }
  void clear() {
    GdiFlush();
    std::memset(bits_, 0xFF, static_cast<size_t>(width_) * height_ * 4);
  }
  // The colours (0x00RRGGBB), without the alpha byte that GDI leaves alone.
  std::vector<uint32_t> pixels() const {
    GdiFlush();
    const uint32_t* p = static_cast<const uint32_t*>(bits_);
    std::vector<uint32_t> out(p, p + static_cast<size_t>(width_) * height_);
    for (uint32_t& each : out) each &= 0xFFFFFF;
    return out;
  }
  // Texts written as they stand, in the font, at pixel points.
  void write(HFONT font, const std::vector<std::pair<POINT, std::string>>& texts) {
    HGDIOBJ old = SelectObject(dc_, font);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
    for (const auto& t : texts) TextOutA(dc_, t.first.x, t.first.y, t.second.data(), static_cast<int>(t.second.size()));
    SelectObject(dc_, old);
  }
  int dark_pixels() const {
    int n = 0;
    for (uint32_t p : pixels()) n += p != 0xFFFFFF;
    return n;
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  void* bits_ = nullptr;
};

SIZE extent(HFONT font, const std::string& text) {
  canvas c(1, 1);
  HGDIOBJ old = SelectObject(c.dc(), font);
  SIZE size{};
  GetTextExtentPoint32A(c.dc(), text.data(), static_cast<int>(text.size()), &size);
  SelectObject(c.dc(), old);
  return size;
}

// 4 pixels per millimetre.
paper page() {
  paper p;
  p.rescale(400, 200, 100, 50);
  return p;
}

// Scripted font dialogs.
struct fontDialog {
  static int calls;
  static CHOOSEFONTA seen;
  static LOGFONTA start;
  static BOOL choose(CHOOSEFONTA* record) {
    ++calls;
    seen = *record;
    start = *record->lpLogFont;
    std::strcpy(record->lpLogFont->lfFaceName, "Courier New");
    record->lpLogFont->lfHeight = -24;
    return TRUE;
  }
  static BOOL cancel(CHOOSEFONTA* record) {
    ++calls;
    seen = *record;
    return FALSE;
  }
  static DWORD no_error() { return 0; }
};
int fontDialog::calls = 0;
CHOOSEFONTA fontDialog::seen{};
LOGFONTA fontDialog::start{};

class scriptedFontDialog {
 public:
  explicit scriptedFontDialog(BOOL (*choose)(CHOOSEFONTA*)) {
    fontDialog::calls = 0;
    previous_ = font_dialog_ui_install(font_dialog_calls{choose, fontDialog::no_error});
  }
  ~scriptedFontDialog() { font_dialog_ui_install(previous_); }

 private:
  font_dialog_calls previous_;
};

bool font_alive(HFONT font) { return GetObjectType(font) == OBJ_FONT; }

}  // namespace

// ---- layout and drawing ---------------------------------------------------

TEST(TextObject, LinesAreLaidOutByTheirJustification) {
  const paper scale = page();
  const std::string first = "WWWW", second = "WW";
  struct row {
    int32_t code;
    const char* what;
  };
  const row rows[] = {{justify_left_top, "left, top"},
                      {justify_centre, "centred"},
                      {justify_centre_top, "centred in x"},
                      {justify_left_middle, "centred in y"},
                      {justify_page_centre_top, "page middle"}};
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    paper filled;
    textObjectClass text;
    text.init_sized(nullptr, first.c_str(), 2, 20, 10, filled, 5.0, 400, "Arial");
    text.set_format_text(second.c_str(), 1);
    text.set_justification(r.code);
    canvas drawn(400, 200), expected(400, 200);
    text.paint(drawn.dc(), scale);

    // The adjustments of codes 4, 5 and 8 apply again to each line from
    // where the line before left them; code 10 starts each line afresh
    // from the page's middle.
    SIZE a = extent(text.font(), first), b = extent(text.font(), second);
    POINT p1{80, 40};
    if (r.code == justify_centre || r.code == justify_centre_top) p1.x -= a.cx / 2;
    if (r.code == justify_centre || r.code == justify_left_middle) p1.y -= a.cy / 2;
    if (r.code == justify_page_centre_top) p1.x = 200 - a.cx / 2;
    POINT p2{p1.x, p1.y + a.cy};
    if (r.code == justify_centre || r.code == justify_centre_top) p2.x -= b.cx / 2;
    if (r.code == justify_centre || r.code == justify_left_middle) p2.y -= b.cy / 2;
    if (r.code == justify_page_centre_top) p2.x = 200 - b.cx / 2;
    expected.write(text.font(), {{p1, first}, {p2, second}});
    EXPECT_GT(drawn.dark_pixels(), 0);
    EXPECT_EQ(drawn.pixels(), expected.pixels());

    // The box: its corner where line 1 went, its size that of the block;
    // the reference point stays.
    EXPECT_DOUBLE_EQ(text.x(), p1.x / 4.0);
    EXPECT_DOUBLE_EQ(text.y(), p1.y / 4.0);
    EXPECT_DOUBLE_EQ(text.width(), a.cx / 4.0);
    EXPECT_DOUBLE_EQ(text.height(), (a.cy + b.cy) / 4.0);
    EXPECT_DOUBLE_EQ(text.reference_x(), 20.0);
  }
}

TEST(TextObject, ATextIsDrawnAsItStandsAndOnlyWhenShown) {
  const paper scale = page();
  paper filled;
  textObjectClass text;
  text.init_sized(nullptr, "100% %d %s", 1, 5, 5, filled, 5.0, 400, "Arial");
  canvas drawn(400, 200), expected(400, 200);
  text.paint(drawn.dc(), scale);
  expected.write(text.font(), {{POINT{20, 20}, "100% %d %s"}});
  EXPECT_GT(drawn.dark_pixels(), 0);
  EXPECT_EQ(drawn.pixels(), expected.pixels());

  drawn.clear();
  text.hide();
  text.paint(drawn.dc(), scale);
  EXPECT_EQ(drawn.dark_pixels(), 0);
  text.show();
  text.line(0)->set_shown(false);
  text.paint(drawn.dc(), scale);
  EXPECT_EQ(drawn.dark_pixels(), 0);
  EXPECT_GT(text.width(), 0.0);  // still laid out
}

TEST(TextObject, AnOpaqueTextFillsItsLinesWithItsBackground) {
  const paper scale = page();
  paper filled;
  textObjectClass text;
  text.init_sized(nullptr, "ab", 1, 5, 5, filled, 5.0, 400, "Arial");
  text.set_opaque();
  text.style().set_flag(false);
  text.set_background_color(RGB(255, 0, 0));
  canvas drawn(400, 200);
  text.paint(drawn.dc(), scale);
  const RECT& b = text.bounds();
  std::vector<uint32_t> px = drawn.pixels();
  EXPECT_EQ(px[static_cast<size_t>(b.top) * 400 + b.right - 1], 0xFF0000u);  // red
  EXPECT_EQ(px[static_cast<size_t>(b.top) * 400 + b.right], 0xFFFFFFu);
}

TEST(TextObject, AnOwnFontKeepsItsSizeInMillimetresOnEverySurface) {
  paper filled;
  textObjectClass own;
  own.init_sized(nullptr, "T", 1, 0, 0, filled, 4.0, 400, "Arial");
  HFONT screen_font = own.font();
  paper printer;
  printer.rescale(23.622 * 200, 23.622 * 280, 200, 280);
  canvas c(10, 10);
  own.paint(c.dc(), printer);
  EXPECT_EQ(own.logfont().lfHeight, 94);  // int(4 x 23.622)
  EXPECT_NE(own.font(), screen_font);
  EXPECT_FALSE(font_alive(screen_font));

  textObjectClass shared;
  shared.init(nullptr, program_font, "T", 1, 0, 0, filled);
  shared.paint(c.dc(), printer);
  EXPECT_EQ(shared.font(), program_font);
  EXPECT_TRUE(font_alive(program_font));
}

TEST(TextObject, FormatsOfLinesByIndex) {
  message_capture capture;
  paper filled;
  textObjectClass text;
  text.set_name("readout");
  text.init(nullptr, nullptr, "-", 3, 0, 0, filled);
  EXPECT_EQ(text.type(), 7u);
  text.set_format_text("last", 3);  // the line count: the last line
  EXPECT_STREQ(text.line_text(2), "last");
  text.set_format_text("never", 4);
  EXPECT_STREQ(text.line_text(0), "-");
  text.set_text("first", -1);
  EXPECT_STREQ(text.line_text(0), "first");
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"*** textObjectClass::set_format_text - index too large (4) ***"});

  // A text object gives its first line as an argument of a value text.
  stringObjectClass caption;
  caption.set_format_text("[%s]");
  caption.add_dependency(&text);
  EXPECT_STREQ(caption.cvalue(), "[first]");
}

TEST(TextObject, ErrorsWhilePaintingAreLoggedOnce) {
  temp_folder folder;
  std::string log = folder.file("paint_log.txt");
  log_open(log.c_str());
  message_capture capture;
  textObjectClass never_initialised;
  canvas c(10, 10);
  never_initialised.paint(c.dc(), page());
  never_initialised.paint(c.dc(), page());
  log_close();
  EXPECT_TRUE(capture.texts().empty());
  std::vector<std::string> lines;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], "*** textObjectClass::refresh TEXT IS NOT INITIALIZED ***");
}

TEST(TextObject, ANewBackgroundColourDeletesTheBrushItOwned) {
  textObjectClass text;
  text.set_background_color(RGB(1, 2, 3));
  HBRUSH first = text.style().brush;
  EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BRUSH));
  text.set_background_color(RGB(4, 5, 6));
  EXPECT_EQ(GetObjectType(first), 0u);
  EXPECT_EQ(text.style().mode, gdiStyleRecord::colour_brush);
  HBRUSH given = CreateSolidBrush(RGB(7, 8, 9));
  HBRUSH second = text.style().brush;
  text.set_background_brush(given);
  EXPECT_EQ(GetObjectType(second), 0u);
  EXPECT_EQ(text.style().owns_brush, 0);
  DeleteObject(given);
}

// ---- dragging ---------------------------------------------------------------

class TextDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    scale = page();
    text.init(nullptr, program_font, "Drag me", 1, 10, 10, filled);
    items.add_item(&text);
    text.paint(surface.dc(), scale);
  }
  // Presses at (x, y), moves by (dx, dy) and lets go.
  bool drag(int x, int y, int dx, int dy) {
    if (!items.button_down(surface.dc(), x, y, scale)) return false;
    items.mouse_move(surface.dc(), x + dx, y + dy, scale);
    items.button_up(surface.dc(), scale);
    return true;
  }
  paper scale;
  paper filled;
  textObjectClass text;
  lbuttonAwareClass items;
  canvas surface{400, 200};
};

TEST_F(TextDrag, APressOutsideTheFirstLineIsRefused) {
  scriptedFontDialog dialog(fontDialog::choose);
  EXPECT_FALSE(drag(39, 39, 20, 10));   // just above and left of the text
  EXPECT_FALSE(drag(200, 41, 20, 10));  // right of it
  EXPECT_EQ(fontDialog::calls, 0);
  EXPECT_DOUBLE_EQ(text.x(), 10.0);
}

TEST_F(TextDrag, ADragMovesTheTextAndOffersTheFontDialog) {
  scriptedFontDialog dialog(fontDialog::choose);
  ASSERT_TRUE(drag(41, 41, 20, 10));
  EXPECT_DOUBLE_EQ(text.x(), 15.0);
  EXPECT_DOUBLE_EQ(text.y(), 12.5);
  EXPECT_DOUBLE_EQ(text.reference_x(), 15.0);
  EXPECT_DOUBLE_EQ(text.reference_y(), 12.5);

  EXPECT_EQ(fontDialog::calls, 1);
  EXPECT_EQ(fontDialog::seen.lStructSize, sizeof(CHOOSEFONTA));
  EXPECT_EQ(fontDialog::seen.hwndOwner, nullptr);
  EXPECT_EQ(fontDialog::seen.Flags, static_cast<DWORD>(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT));
  // It starts from the text's font height at the page's scale.
  EXPECT_EQ(fontDialog::start.lfHeight, scale.px_y(program_logfont.lfHeight / screen_paper.y_px_per_mm));
  // The chosen font is the text's own; the shared program font lives on.
  EXPECT_NE(text.font(), program_font);
  EXPECT_FALSE(text.font_is_given());
  EXPECT_TRUE(font_alive(program_font));
  EXPECT_STREQ(text.logfont().lfFaceName, "Courier New");
  EXPECT_DOUBLE_EQ(text.font_height_mm(), -6.0);

  // A second drag replaces the own font, which is deleted.
  HFONT own = text.font();
  ASSERT_TRUE(drag(61, 51, -4, 0));
  EXPECT_EQ(fontDialog::start.lfHeight, -24);  // the dialog starts from the text's font
  EXPECT_DOUBLE_EQ(text.x(), 14.0);
  EXPECT_FALSE(font_alive(own));
  EXPECT_TRUE(font_alive(text.font()));
}

TEST_F(TextDrag, ACancelledDialogKeepsTheFont) {
  message_capture capture;
  scriptedFontDialog dialog(fontDialog::cancel);
  ASSERT_TRUE(drag(41, 41, 4, 0));
  EXPECT_DOUBLE_EQ(text.x(), 11.0);
  EXPECT_EQ(fontDialog::calls, 1);
  EXPECT_EQ(text.font(), program_font);
  EXPECT_TRUE(text.font_is_given());
  EXPECT_TRUE(font_alive(program_font));
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"### Choosefont failed ###"});
}

// ---- in a window ------------------------------------------------------------

namespace {

textObjectClass* painted_text = nullptr;
int paints = 0;

LRESULT CALLBACK test_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    paper scale;
    scale.set_from_window(window);
    if (painted_text) painted_text->paint(dc, scale);
    ++paints;
    EndPaint(window, &ps);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

HWND make_test_window() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = test_window_procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "textObjectTest";
    registered = RegisterClassA(&wc) != 0;
  }
  HWND window = CreateWindowExA(0, "textObjectTest", "text", WS_POPUP | WS_VISIBLE, 0, 0, 300, 120, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(window);
  return window;
}

// The update region's box (empty when nothing waits to be painted).
RECT waiting(HWND window) {
  RECT r{};
  GetUpdateRect(window, &r, FALSE);
  return r;
}

bool covers(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

}  // namespace

TEST(TextObjectWindow, ATextBoundToAValueRepaintsItsNewText) {
  HWND window = make_test_window();
  ASSERT_NE(window, nullptr);
  paper scale;
  doubleObject amplitude;
  {
    textObjectClass text;
    text.init(window, nullptr, "%6.2lf uV", 1, 5, 5, scale);
    ASSERT_TRUE(text.bind_line_value(&amplitude, 0));
    painted_text = &text;
    amplitude.set_value(12.5);
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    EXPECT_STREQ(text.line_text(0), " 12.50 uV");
    RECT old_bounds = text.bounds();

    // A longer text: the pixels of the old and of the new text wait to be
    // painted, and the paint draws the new text.
    amplitude.set_value(-123456.25);
    RECT pending = waiting(window);
    EXPECT_TRUE(covers(pending, old_bounds));
    EXPECT_TRUE(covers(pending, text.bounds()));
    EXPECT_GT(text.bounds().right, old_bounds.right);
    int before = paints;
    UpdateWindow(window);
    EXPECT_EQ(paints, before + 1);
    RECT left_over = waiting(window);
    EXPECT_TRUE(IsRectEmpty(&left_over));
    EXPECT_STREQ(text.line_text(0), "-123456.25 uV");

    // What the window shows is the new text in the text's font.
    HDC window_dc = GetDC(window);
    canvas shown(300, 120), expected(300, 120);
    BitBlt(shown.dc(), 0, 0, 300, 120, window_dc, 0, 0, SRCCOPY);
    ReleaseDC(window, window_dc);
    expected.write(text.font(), {{POINT{scale.px_x(5), scale.px_y(5)}, "-123456.25 uV"}});
    EXPECT_GT(shown.dark_pixels(), 0);
    EXPECT_EQ(shown.pixels(), expected.pixels());
    painted_text = nullptr;
  }
  // The text object has left the value's links.
  EXPECT_EQ(amplitude.link_count(), 0);
  amplitude.set_value(1.0);
  DestroyWindow(window);
}
