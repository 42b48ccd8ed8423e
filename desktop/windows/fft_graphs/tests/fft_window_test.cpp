// The spectrum and inverse-transform windows under the virtual display: the
// traces refused without a window, menus and read-outs, the bars painted in
// their band colours after a trackbar move, the inverse of the full band,
// the trace clipboard's name, and the inverse closing with its spectrum.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "desktop/windows/fft_graphs/tests/erg_test_file.h"
#include "desktop/windows/fft_graphs/inverse_fft_window.h"
#include "desktop/winlib/tests/memory_printer.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/windows/fft_graphs/fft_window.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/tests/window_fixture.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// n points at 1 kHz from 0 mS: an offset of 10, 50 at 60 Hz and 20 at
// 150 Hz.
std::unique_ptr<traceClass> sines(int n) {
  auto t = std::make_unique<traceClass>();
  std::vector<xyPair> p(n);
  for (int i = 0; i < n; i++)
    p[i] = {static_cast<double>(i), 10.0 + 50.0 * std::sin(2 * pi * 60 * i / 1000.0) +
                                        20.0 * std::sin(2 * pi * 150 * i / 1000.0)};
  t->set_points(3, p.data(), n);
  return t;
}

// The window's page drawn into a bitmap, read back pixel by pixel.
class pagePicture {
 public:
  explicit pagePicture(fftClass& window) {
    scale_ = window.client_scale();
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, static_cast<int>(scale_.width_px), static_cast<int>(scale_.height_px));
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
    window.draw(dc_, scale_);
  }
  ~pagePicture() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  paper scale_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

constexpr COLORREF green = RGB(0, 255, 0);
constexpr COLORREF red = RGB(255, 0, 0);

// The colour of the bar at f Hz, a few pixels above the plot's bottom.
COLORREF bar_colour(fftClass& window, double f) {
  pagePicture picture(window);
  const plotRect& plot = window.plot();
  int x = static_cast<int>(plot.left + plot.margin + f * window.scale().px_per_hz);
  // A bar a pixel wide may stand left or right of the truncated centre.
  for (int dx : {0, -1, 1}) {
    COLORREF c = picture.at(x + dx, plot.bottom - 3);
    if (c == green || c == red) return c;
  }
  return picture.at(x, plot.bottom - 3);
}

std::string status_text(HWND bar, int part) {
  char text[256] = {};
  SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
  return text;
}

void move_trackbar(ifftClass& inverse, HWND bar, int position) {
  SendMessageA(bar, TBM_SETPOS, TRUE, position);
  inverse.handle_message(WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<intptr_t>(bar));
  UpdateWindow(inverse.hwnd());
}

class SpectrumWindow : public windowFixture {};

TEST_F(SpectrumWindow, TracesWithoutSpectrumMakeNoWindow) {
  struct row {
    const char* what;
    std::vector<xyPair> points;
    const char* message;
  };
  std::vector<xyPair> long_points(6022);
  for (int i = 0; i < 6022; i++) long_points[i] = {static_cast<double>(i), std::sin(i * 0.1)};
  const row rows[] = {
      {"no points", {}, "*** NO DATA IN FOR FFT ***"},
      {"one point", {{0.0, 1.0}}, "*** NO DATA IN FOR FFT ***"},
      {"zero span", {{5.0, 1.0}, {5.0, 2.0}, {5.0, 3.0}}, "*** NO DATA IN FOR FFT ***"},
      {"prime factor 3011", long_points, "Prime factor of FFT length too large :   3011"},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    traceClass t;
    if (!r.points.empty()) t.set_points(3, r.points.data(), static_cast<int32_t>(r.points.size()));
    message_capture capture;
    EXPECT_EQ(open_spectrum_window(nullptr, "x", &t, 10, 10, 450, 300), nullptr);
    EXPECT_EQ(open_band_pass_window(nullptr, "x", &t, 10, 10, 450, 300), nullptr);
    std::vector<std::string> texts = capture.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find(r.message), std::string::npos) << texts[0];
    EXPECT_EQ(count_window_nodes(), baseline_);
  }
  message_capture capture;
  EXPECT_EQ(open_spectrum_window(nullptr, "x", nullptr, 10, 10, 450, 300), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** NO DATA IN FOR FFT ***"});
}

TEST_F(SpectrumWindow, MenusReadOutsAndModes) {
  auto t = sines(1001);
  fftClass* w = open_spectrum_window(nullptr, "CG1/1", t.get(), 10, 10, 450, 300);
  ASSERT_NE(w, nullptr);
  pump();
  EXPECT_EQ(window_text(w->hwnd()), "FF( CG1/1 )");
  EXPECT_EQ(w->spectrum().n, 1000);
  EXPECT_DOUBLE_EQ(w->spectrum().df, 1.0);
  EXPECT_EQ(GetMenuItemCount(w->menu()), 3);
  char text[64] = {};
  GetMenuStringA(w->popup(), fft_inverse, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Inverse FFT");

  UpdateWindow(w->hwnd());
  const plotRect plot = w->plot();
  ASSERT_GT(plot.bottom, plot.top);
  int x60 = static_cast<int>(plot.left + plot.margin + 60 * w->scale().px_per_hz);
  w->handle_message(WM_MOUSEMOVE, 0, MAKELPARAM(x60, plot.bottom - (plot.bottom - plot.top) * 2 / 5));
  EXPECT_EQ(status_text(w->status_bar(), 0), "Amplitude: -30 dB");
  EXPECT_EQ(status_text(w->status_bar(), 1), "Frequency:  60.0 Hz");

  // Linear amplitude: its check mark and the scale follow.
  SendMessageA(w->hwnd(), WM_COMMAND, fft_linear, 0);
  UpdateWindow(w->hwnd());
  EXPECT_TRUE(w->linear());
  EXPECT_EQ(GetMenuState(w->menu(), fft_linear, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  const int quarter = (plot.bottom - plot.top) / 4;
  w->handle_message(WM_MOUSEMOVE, 0, MAKELPARAM(x60, plot.bottom - quarter));
  char expected[64];
  std::snprintf(expected, sizeof expected, "Amplitude: %4.1f %%", quarter * 100.0 / (plot.bottom - plot.top));
  EXPECT_EQ(status_text(w->status_bar(), 0), expected);
  // The whole range: linearly up to half the sampling rate.
  SendMessageA(w->hwnd(), WM_COMMAND, fft_toggle_range, 0);
  UpdateWindow(w->hwnd());
  EXPECT_FALSE(w->range_400());
  EXPECT_DOUBLE_EQ(w->scale().highest_hz, 500.0);
  SendMessageA(w->hwnd(), WM_COMMAND, fft_linear, 0);
  UpdateWindow(w->hwnd());
  EXPECT_DOUBLE_EQ(w->scale().highest_hz, 150.0);  // the top bin in dB
  close(w);
}

TEST_F(SpectrumWindow, TrackbarsMarkTheBandOnTheSpectrum) {
  auto t = sines(1000);
  fftClass* w = open_spectrum_window(nullptr, "bands", t.get(), 10, 10, 450, 300);
  ASSERT_NE(w, nullptr);
  popup_answer = fft_inverse;
  w->handle_message(WM_RBUTTONDOWN, 0, MAKELPARAM(100, 100));
  windowNode* node = find_window_of_type(window_type::inverse_transform);
  ASSERT_NE(node, nullptr);
  auto* inverse = static_cast<ifftClass*>(node->object);
  UpdateWindow(inverse->hwnd());
  EXPECT_EQ(window_text(inverse->hwnd()), "IF( FF( bands ) )");
  EXPECT_EQ(inverse->lower(), 0);
  EXPECT_EQ(inverse->upper(), 500);
  EXPECT_EQ(SendMessageA(inverse->upper_trackbar(), TBM_GETRANGEMAX, 0, 0), 500);
  EXPECT_EQ(bar_colour(*w, 60), green);
  EXPECT_EQ(bar_colour(*w, 150), green);

  struct step {
    int lo, hi;
    const char* band;
    COLORREF at60, at150;
  } steps[] = {
      {0, 100, "    0.0 <= f < 100.0      ", green, red},
      {120, 100, "  f < 100.0 , f >= 120.0   ", green, green},
      {100, 200, "  100.0 <= f < 200.0      ", red, green},
  };
  for (const step& s : steps) {
    SCOPED_TRACE(s.band);
    move_trackbar(*inverse, inverse->lower_trackbar(), s.lo);
    move_trackbar(*inverse, inverse->upper_trackbar(), s.hi);
    EXPECT_EQ(inverse->lower(), s.lo);
    EXPECT_EQ(inverse->upper(), s.hi);
    EXPECT_EQ(inverse->band_text(), s.band);
    EXPECT_EQ(bar_colour(*w, 60), s.at60);
    EXPECT_EQ(bar_colour(*w, 150), s.at150);
  }
  // One band gives back its sine at the trace's mean.
  traceClass* shown = inverse->shown_trace();
  ASSERT_NE(shown, nullptr);
  ASSERT_EQ(shown->get_count(), 1000);
  for (int i = 1; i < 999; i++)
    ASSERT_NEAR(shown->y_at(i), 10.0 + 20.0 * std::sin(2 * pi * 150 * i / 1000.0), 1e-6) << i;
  EXPECT_DOUBLE_EQ(shown->x_at(1), 1.0);  // no test: no pre-flash time

  // Dragging rewrites only the label; the band follows at the end.
  inverse->handle_message(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 40),
                          reinterpret_cast<intptr_t>(inverse->lower_trackbar()));
  EXPECT_EQ(inverse->lower(), 40);
  EXPECT_EQ(inverse->band_text(), "  100.0 <= f < 200.0      ");

  move_trackbar(*inverse, inverse->lower_trackbar(), 10);
  move_trackbar(*inverse, inverse->upper_trackbar(), 300);
  SendMessageA(inverse->hwnd(), WM_COMMAND, ifft_copy_trace, 0);
  EXPECT_STREQ(trace_clipboard.label(), "(IFFT 10..300)");
  EXPECT_EQ(trace_clipboard.get_count(), 1000);

  // The inverse window closes with its spectrum.
  close(w);
  EXPECT_EQ(find_window_of_type(window_type::inverse_transform), nullptr);
}

TEST_F(SpectrumWindow, FullBandGivesTheTraceBack) {
  auto t = sines(1000);
  ifftClass* inverse = open_band_pass_window(nullptr, "pass", t.get(), 10, 10, 450, 300);
  ASSERT_NE(inverse, nullptr);
  auto* spectrum = static_cast<fftClass*>(inverse->parent);
  EXPECT_FALSE(IsWindowVisible(spectrum->hwnd()));
  EXPECT_TRUE(IsWindowVisible(inverse->hwnd()));
  UpdateWindow(inverse->hwnd());
  traceClass* shown = inverse->shown_trace();
  ASSERT_NE(shown, nullptr);
  for (int i = 1; i < 999; i++) ASSERT_NEAR(shown->y_at(i), t->y_at(i), 1e-6) << i;
  EXPECT_EQ(shown->y_at(0), shown->y_at(1));
  close(spectrum);
}

TEST_F(SpectrumWindow, BothWindowsPrintTheirPage) {
  auto t = sines(1000);
  // A name with '%' in it is shown as it is.
  fftClass* w = open_spectrum_window(nullptr, "print %s%n", t.get(), 10, 10, 450, 300);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(window_text(w->hwnd()), "FF( print %s%n )");
  message_capture boxes;
  {
    // 200 x 150 mm at 4 pixels per mm.
    memoryPrinter printer(800, 600, 200, 150);
    SendMessageA(w->hwnd(), WM_COMMAND, fft_print, 0);
    EXPECT_GT(printer.count(green, printer.whole()), 1000);
    // The date and time at the bottom right.
    EXPECT_GT(printer.count(RGB(0, 0, 0), RECT{600, 580, 800, 600}), 20);
  }
  {
    memoryPrinter printer(800, 600, 200, 150);
    ifftClass* inverse = w->open_inverse_fft();
    ASSERT_NE(inverse, nullptr);
    UpdateWindow(inverse->hwnd());
    RECT before{}, after{};
    GetWindowRect(inverse->upper_trackbar(), &before);
    SendMessageA(inverse->hwnd(), WM_COMMAND, ifft_print, 0);
    // The trackbars stay where the screen has them.
    GetWindowRect(inverse->upper_trackbar(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    // The trace, black, inside the plot (2 to 195 mm across, 2 to 120 mm
    // down).
    EXPECT_GT(printer.count(RGB(0, 0, 0), RECT{12, 12, 776, 476}), 500);
  }
  EXPECT_TRUE(boxes.texts().empty());
  close(w);
}

TEST_F(SpectrumWindow, InverseOfATestStartsAtItsPreFlashTime) {
  temp_folder folder;
  message_capture boxes;
  auto* thumb = new thumbnailClass(nullptr, 1, 0, 0, write_erg_test(folder, "P01S02T0301A.tst").c_str(), 1);
  ASSERT_TRUE(thumb->loaded());
  ifftClass* inverse =
      open_band_pass_window(thumb, "P01S02T0301A", thumb->document().entry()->active_trace(), 10, 10, 450, 300);
  ASSERT_NE(inverse, nullptr);
  UpdateWindow(inverse->hwnd());
  traceClass* shown = inverse->shown_trace();
  ASSERT_NE(shown, nullptr);
  // 400 points over 199.5 mS: 2 kHz, half a millisecond apart.
  ASSERT_EQ(shown->get_count(), 400);
  EXPECT_DOUBLE_EQ(shown->x_at(0), -erg_test_preflash_ms);
  EXPECT_DOUBLE_EQ(shown->x_at(399), 399 * 0.5 - erg_test_preflash_ms);
  // Both windows go with the test.
  delete thumb;
  pump();
  EXPECT_EQ(find_window_of_type(window_type::spectrum), nullptr);
}

}  // namespace
