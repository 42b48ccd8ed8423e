// The comparison graph under the virtual display: traces from the trace
// clipboard, a thumbnail and arrays with their rows, colours and owners; the
// caption; aligned and separated paints and the printed page read back by
// pixels; every main-menu command and per-trace command through the command
// handler; dropped test files; the notices of other windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "colours.h"
#include "comparison_panel.h"
#include "message_capture.h"
#include "popup_menu_ui.h"
#include "printing.h"
#include "record_fixture.h"
#include "temp_folder.h"
#include "thumbnail.h"
#include "trace_clipboard.h"
#include "window_tree.h"

namespace {

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// A test of 400 points over 200 mS, 20 mS before the flash: a trough at 15
// mS and a peak at 40 mS scaled by gain, on a baseline of offset uV.
constexpr int point_count = 400;
constexpr double total_ms = 200.0;
constexpr double pre_ms = 20.0;

double time_of(int i) { return i * total_ms / point_count - pre_ms; }

double response(double t, double gain) {
  if (t <= 0) return 0.0;
  return gain * (-60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) + 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2)));
}

std::string write_test(const temp_folder& folder, const std::string& name, double gain, double offset) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 2;
  record->T = 3;
  record->N = 1;
  record->Eye = u'D';
  record->FlickerMark = u'N';
  record->Config.RepeatCount = 1;
  record->Config.RepeatInterval = 1000;
  record->Config.PreTime = 20;
  record->Config.PostTime = 180;
  const char16_t id[] = u"PATIENT01 ";
  for (int i = 0; i < 10; i++) record->TestId[i] = id[i];
  std::vector<int32_t> v(point_count);
  for (int i = 0; i < point_count; i++) v[i] = static_cast<int32_t>(std::lround((response(time_of(i), gain) + offset) * 10.0));
  fill_block(record->Average, v, 10.0, 200, 20);
  fill_block(record->LastSweep, v, 10.0, 200, 20);
  std::string path = folder.file(name);
  write_bytes(path, test_file_bytes(*record));
  return path;
}

// A trace of n points from t0 by step with y = a + b t.
std::unique_ptr<traceClass> line_trace(const char* name, int n, double t0, double step, double a, double b) {
  std::vector<double> xs(n), ys(n);
  for (int i = 0; i < n; i++) {
    xs[i] = t0 + i * step;
    ys[i] = a + b * xs[i];
  }
  auto trace = std::make_unique<traceClass>();
  trace->set_data(0, xs.data(), ys.data(), n);
  trace->set_name(name);
  trace->set_label(name);
  trace->set_x_units("mS");
  trace->set_y_units("uV");
  return trace;
}

std::string window_title(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// A menu as text: "id text" per item ('*' when checked, "-" for a
// separator, a submenu in brackets).
std::string menu_text(HMENU menu) {
  std::string out;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; i++) {
    char text[128] = {};
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
    if (!out.empty()) out += "|";
    if (item.fType & MFT_SEPARATOR) {
      out += "-";
      continue;
    }
    out += std::to_string(item.wID) + " " + text;
    if (item.fState & MFS_CHECKED) out += "*";
    if (item.hSubMenu) out += "[" + menu_text(item.hSubMenu) + "]";
  }
  return out;
}


std::vector<std::string> rows(comparisonPanelClass* panel) {
  std::vector<std::string> out;
  for (int i = 0; i < panel->trace_list()->count(); i++) out.push_back(panel->trace_list()->item_text(i));
  return out;
}

// With COMPARISON_HOLD_SECONDS set, the window stays on the display that
// long (messages pumped) so that a person or a script can take a picture.
void hold_for_picture(HWND window) {
  const char* seconds = std::getenv("COMPARISON_HOLD_SECONDS");
  if (!seconds) return;
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(seconds)) * 1000;
  while (GetTickCount() < end) {
    pump();
    Sleep(50);
  }
}

// A memory bitmap the size of a panel's client area (less its status bar)
// that the panel paints into, and what its pixels hold.
class canvas {
 public:
  canvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    old_ = SelectObject(dc_, bitmap_);
  }
  ~canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  canvas(const canvas&) = delete;
  canvas& operator=(const canvas&) = delete;
  HDC dc() const { return dc_; }
  // A pixel of the colour within r pixels of (x, y).
  bool colour_near(int x, int y, int r, COLORREF colour) const {
    for (int dy = -r; dy <= r; dy++)
      for (int dx = -r; dx <= r; dx++)
        if (GetPixel(dc_, x + dx, y + dy) == colour) return true;
    return false;
  }
  // Pixels of the colour in the rectangle.
  int count(int left, int top, int right, int bottom, COLORREF colour) const {
    int n = 0;
    for (int y = top; y < bottom; y++)
      for (int x = left; x < right; x++)
        if (GetPixel(dc_, x, y) == colour) n++;
    return n;
  }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

COLORREF colour_of(int index) { return static_cast<COLORREF>(colour_table[index]); }

class ComparisonTest : public ::testing::Test {
 protected:
  void TearDown() override {
    for (winTypeClass* w : opened_)
      if (find_window_node(w)) delete w;
    pump();
  }
  comparisonPanelClass* open(const char* name = "GLOBAL", int fixed = 1) {
    auto* panel = new comparisonPanelClass(nullptr, name, fixed);
    opened_.push_back(panel);
    pump();
    EXPECT_NE(panel->hwnd(), nullptr);
    EXPECT_NE(panel->trace_list(), nullptr);
    return panel;
  }
  thumbnailClass* thumbnail(const std::string& name, double gain = 1.0, double offset = 0.0) {
    std::string path = write_test(folder_, name, gain, offset);
    auto* thumb = new thumbnailClass(nullptr, 1, 0, 0, path.c_str(), 1);
    opened_.push_back(thumb);
    return thumb;
  }

  temp_folder folder_;
  message_capture boxes_;
  std::vector<winTypeClass*> opened_;
};

TEST_F(ComparisonTest, CaptionMenusAndPlacement) {
  comparisonPanelClass* panel = open();
  ASSERT_NE(panel->hwnd(), nullptr);
  int n = panel->instance_number;
  EXPECT_EQ(window_title(panel->hwnd()), "CG" + std::to_string(n) + "( GLOBAL )");
  EXPECT_STREQ(panel->panel_name(), ("CG" + std::to_string(n)).c_str());
  EXPECT_EQ(std::string(panel->caption_text().line_text(0)), window_title(panel->hwnd()));
  EXPECT_EQ(menu_text(panel->menu()),
            "2000 File[2001 Load Trace from Text File|2002 Save Traces in Text Format|-|2003 Print|2004 Close]|"
            "2100 Edit[2101 Copy Bitmap|2102 Paste Trace (TPASTE)]|"
            "2200 Graph[2240 Reset Graph Scaling|2210 Align at ...[2211 Flashpoint|2212 Marker1 time]|"
            "2270 Separate Traces|2280 Scale To Active Traces|-|2230 Show Graph Only|2250 Show Gridlines|"
            "2260 Show Average Trace|-|2290 Show Marker 1*|2300 Show Marker 2*]");
  EXPECT_EQ(menu_text(panel->popup()), "1001 Paste Trace|1002 Set Marker 1|1003 Set Marker 2|1004 Add Annotation");
  EXPECT_EQ(menu_text(panel->copy_menu()),
            "8600 Copy Trace To: Measurement Graph|8400                Osc Potentials Graph|"
            "8300                Comparison Graph|8500                FFT Graph|8100                xy Text File");
  EXPECT_EQ(panel->graph().use_filtered_extents, 0);

  // A fixed graph is 790 x 500 pixels at the next cascade place, without a
  // close box in its class.
  RECT frame{};
  GetWindowRect(panel->hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, 790);
  EXPECT_EQ(frame.bottom - frame.top, 500);
  int k = window_cascade_count % 15;
  EXPECT_EQ(frame.left, k * 20 + 5);
  EXPECT_EQ(frame.top, k * 20 + 20);
  EXPECT_NE(GetClassLongA(panel->hwnd(), GCL_STYLE) & CS_NOCLOSE, 0u);

  // Another is 200 mm wide, of the class with a close box.
  comparisonPanelClass* other = open("second", 0);
  EXPECT_EQ(other->instance_number, n + 1);
  GetWindowRect(other->hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, screen_paper.scale_x(200.0));
  EXPECT_EQ(GetClassLongA(other->hwnd(), GCL_STYLE) & CS_NOCLOSE, 0u);
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(ComparisonTest, TracesFromTheClipboardAThumbnailAndArrays) {
  comparisonPanelClass* panel = open();
  // An empty clipboard, then none at all.
  traceClipboardClass empty;
  EXPECT_EQ(panel->add_trace(&empty), nullptr);
  EXPECT_EQ(panel->add_trace(nullptr), nullptr);
  EXPECT_EQ(boxes_.texts(), (std::vector<std::string>{"*** comparisonPanelClass::add_trace: CLIPBOARD NOT LOADED ***",
                                                      "*** comparisonPanelClass::add_trace: NULL clipboard pointer ***"}));
  boxes_.clear();

  // A copy of a plain trace: no owner, the cycle's second colour (Black).
  std::unique_ptr<traceClass> plain = line_trace("plain", 101, 0.0, 1.0, 5.0, 0.5);
  traceClipboardClass held;
  held.store(plain.get(), nullptr);
  tracePlusClass* first = panel->add_trace(&held);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->color(), 5);
  EXPECT_EQ(panel->trace_owner(1), nullptr);
  EXPECT_EQ(panel->first_entry(), first);

  // The program clipboard holding a thumbnail's trace: its entry attached,
  // the thumbnail the owner, colour from the count after adding less one.
  thumbnailClass* thumb = thumbnail("P01S02T0301A.tst");
  ASSERT_TRUE(thumb->loaded());
  trace_clipboard.store_thumbnail(thumb, thumb->document().entry()->active_trace(), thumb->file_name());
  tracePlusClass* second = panel->add_trace(&trace_clipboard);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, thumb->document().entry());
  EXPECT_EQ(second->color(), 5);  // cycle entry 1
  EXPECT_EQ(panel->trace_owner(2), thumb);
  EXPECT_EQ(panel->latest_entry(), second);
  EXPECT_EQ(second->own_trace()->get_count(), point_count);

  // Arrays: the caller's colour, no owner.
  double xs[] = {0.0, 10.0, 20.0};
  double ys[] = {1.0, 2.0, 3.0};
  tracePlusClass* third = panel->add_xy_arrays(xs, ys, 3, 4);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->color(), 4);
  EXPECT_EQ(panel->trace_owner(3), nullptr);
  EXPECT_EQ(panel->trace_count(), 3);
  EXPECT_EQ(panel->first_entry(), first);

  std::vector<std::string> expected = {"1.  Black " + std::string(first->active_trace()->legend_text()),
                                       "2.  Black " + std::string(second->active_trace()->legend_text()),
                                       "3. Violet " + std::string(third->active_trace()->legend_text())};
  EXPECT_EQ(rows(panel), expected);
  EXPECT_EQ(panel->selected_row(), 2);

  // The view follows the latest trace: its x range over the x gain and its
  // middle.
  EXPECT_DOUBLE_EQ(panel->x_span(), 20.0);
  EXPECT_DOUBLE_EQ(panel->x_centre(), 10.0);
  EXPECT_DOUBLE_EQ(panel->y_centre(), 2.0);

  // One sub-menu per trace after the four commands.
  HMENU popup = panel->popup();
  ASSERT_EQ(GetMenuItemCount(popup), 7);
  EXPECT_EQ(GetMenuItemID(popup, 4), static_cast<UINT>(-1));  // a sub-menu
  std::string menu = menu_text(popup);
  EXPECT_NE(menu.find("100000 1. [" + std::string(first->active_trace()->legend_text()) + "]"), std::string::npos);
  EXPECT_NE(menu.find("302000 Plot[302400 Show*|302500 Scale To*|302100 Fill[302110 None|302120 Solid*|302130 Dash-2|"
                      "302140 Dash-5|302150 Dash-10]|302200 Symbol[302210 Point*|302220 Plus]|"
                      "302300 Color[302300 Red|302305 Black|302302 Green|302304 Violet*|302303 Blue]|"
                      "307000 Filter[307030 Spikes|307010 60 Hz|307020 50 Hz|307040 Low Pass|-|"
                      "307050 Set Low Pass Frequency]]|306000 Copy To[306200 Trace Clipboard (TCOPY)|"
                      "306600 Measurement Graph|306400 Osc Potentials Graph|306300 Comparison Graph|306500 FFT Graph|"
                      "306100 xy Text File|306700 Windows Clipboard (Bitmap)]"),
            std::string::npos)
      << menu;

  // An owner that closes counts as none.
  delete thumb;
  opened_.erase(std::find(opened_.begin(), opened_.end(), thumb));
  EXPECT_EQ(panel->trace_owner(2), nullptr);
  EXPECT_EQ(panel->trace_entry(2)->own_trace()->get_count(), point_count);
  // ...and the clipboard no longer names it: a paste adds a copy.
  tracePlusClass* fourth = panel->add_trace(&trace_clipboard);
  ASSERT_NE(fourth, nullptr);
  EXPECT_EQ(fourth->color(), cycle_colour(4));
  EXPECT_EQ(panel->trace_owner(4), nullptr);
  pump();
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(ComparisonTest, AttachedTracesCycleThroughSixColours) {
  comparisonPanelClass* panel = open();
  thumbnailClass* thumb = thumbnail("P01S02T0301A.tst");
  for (int i = 0; i < 7; i++) panel->attach_trace(thumb->document().entry(), thumb);
  const int32_t expected[] = {3, 5, 0, 2, 4, 1, 3};
  for (int i = 0; i < 7; i++) EXPECT_EQ(panel->trace_entry(i + 1)->color(), expected[i]) << i;
  EXPECT_EQ(rows(panel)[0].substr(0, 10), "1.   Blue ");
  EXPECT_EQ(rows(panel)[5].substr(0, 10), "6. Yellow ");
  // A colour of index 1 has no item to check.
  std::string menu = menu_text(panel->popup());
  size_t at = menu.find("602300 Color[");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(menu.substr(at, menu.find(']', at) - at).find('*'), std::string::npos);
}

TEST_F(ComparisonTest, ThreeTestsOverlaid) {
  comparisonPanelClass* panel = open();
  thumbnailClass* a = thumbnail("P01S02T0301A.tst", 1.0, 0.0);
  thumbnailClass* b = thumbnail("P01S02T0302A.tst", 0.7, 10.0);
  thumbnailClass* c = thumbnail("P01S02T0303A.tst", 1.3, -15.0);
  for (thumbnailClass* t : {a, b, c}) panel->attach_trace(t->document().entry(), t);
  pump();
  hold_for_picture(panel->hwnd());
  EXPECT_TRUE(boxes_.texts().empty());
}

}  // namespace

namespace {

// Three tests overlaid: gains 1.0, 0.7 and 1.3 on baselines 0, +10 and -15
// uV, in Blue, Black and Red.
class ComparisonPaintTest : public ComparisonTest {
 protected:
  comparisonPanelClass* three() {
    comparisonPanelClass* panel = open();
    const double gains[] = {1.0, 0.7, 1.3};
    const double offsets[] = {0.0, 10.0, -15.0};
    for (int i = 0; i < 3; i++) {
      thumbnailClass* t = thumbnail("P01S02T030" + std::to_string(i + 1) + "A.tst", gains[i], offsets[i]);
      panel->attach_trace(t->document().entry(), t);
    }
    return panel;
  }
  // The panel painted into a canvas of its client area.
  std::unique_ptr<canvas> paint(comparisonPanelClass* panel) {
    paper scale = panel->client_scale();
    auto c = std::make_unique<canvas>(static_cast<int>(scale.width_px), static_cast<int>(scale.height_px));
    panel->draw(c->dc(), scale);
    return c;
  }
  // A trace's colour at the data point (t, uV) as the graph now maps it.
  bool drawn_at(comparisonPanelClass* panel, const canvas& c, double t, double uv, int colour) {
    graphClass& g = panel->graph();
    return c.colour_near(g.x_map().to_pixel(t), g.y_map().to_pixel(uv), 2, colour_of(colour));
  }
};

double peak(double gain) { return response(40.0, gain); }

TEST_F(ComparisonPaintTest, AlignedAtTheFlashEveryTracePassesThroughZero) {
  comparisonPanelClass* panel = three();
  // Unaligned, each peak stands on its baseline.
  auto plain = paint(panel);
  EXPECT_TRUE(drawn_at(panel, *plain, 40.0, peak(0.7) + 10.0, 5));
  EXPECT_TRUE(drawn_at(panel, *plain, 40.0, peak(1.3) - 15.0, 0));
  EXPECT_TRUE(drawn_at(panel, *plain, 40.0, peak(1.0), 3));

  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::align_flash, 0);
  auto aligned = paint(panel);
  for (int n = 1; n <= 3; n++) {
    traceClass* t = panel->trace_entry(n)->active_trace();
    EXPECT_NEAR(t->y(t->nearest_index(0.0)), 0.0, 1e-9) << n;
  }
  EXPECT_DOUBLE_EQ(panel->trace_entry(2)->y_offset(), -10.0);
  EXPECT_DOUBLE_EQ(panel->trace_entry(3)->y_offset(), 15.0);
  EXPECT_TRUE(drawn_at(panel, *aligned, 40.0, peak(0.7), 5));
  EXPECT_TRUE(drawn_at(panel, *aligned, 40.0, peak(1.3), 0));
  EXPECT_TRUE(drawn_at(panel, *aligned, 10.0, 0.0, 5) || drawn_at(panel, *aligned, 0.0, 0.0, 0));
  EXPECT_FALSE(drawn_at(panel, *aligned, 40.0, peak(0.7) + 10.0, 5));

  // Separated by 10 mS and 50 uV: trace k moves by k - 1 steps; trace 1
  // keeps its own alignment.
  panel->separation_time() = 10.0;
  panel->separation_voltage() = 50.0;
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  EXPECT_TRUE(panel->menu_checked(cg_command::separate));
  auto separated = paint(panel);
  EXPECT_DOUBLE_EQ(panel->trace_entry(1)->x_offset(), 0.0);
  EXPECT_DOUBLE_EQ(panel->trace_entry(3)->x_offset(), 20.0);
  EXPECT_DOUBLE_EQ(panel->trace_entry(3)->y_offset(), 15.0 + 100.0);
  EXPECT_TRUE(drawn_at(panel, *separated, 40.0, peak(1.0), 3));
  EXPECT_TRUE(drawn_at(panel, *separated, 50.0, peak(0.7) + 50.0, 5));
  EXPECT_TRUE(drawn_at(panel, *separated, 60.0, peak(1.3) + 100.0, 0));

  // Aligned at a time outside every trace: no amplitude offset at all.
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  panel->graph().set_marker(0, 500.0, 0.0);
  panel->marker1_text().show();
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::align_flash, 0);  // off
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::align_marker1, 0);
  EXPECT_EQ(panel->alignment_time(), 500.0);
  auto outside = paint(panel);
  for (int n = 1; n <= 3; n++) EXPECT_EQ(panel->trace_entry(n)->y_offset(), 0.0) << n;
  EXPECT_TRUE(drawn_at(panel, *outside, 40.0, peak(0.7) + 10.0, 5));
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(ComparisonPaintTest, GainsRecentringAndTheGraphOnlyView) {
  comparisonPanelClass* panel = three();
  paint(panel);
  double span = panel->x_span();
  double centre = panel->x_centre();
  EXPECT_DOUBLE_EQ(span, 200.0 * 1.05 - 0.5 * 1.05);  // -20 .. 179.5 mS
  // "X gain up" is a click target where it was last drawn.
  UpdateWindow(panel->hwnd());
  pump();
  const RECT& up = panel->gain_label(0).bounds();
  ASSERT_GT(up.right, up.left);
  SendMessageA(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((up.left + up.right) / 2, (up.top + up.bottom) / 2));
  EXPECT_EQ(panel->x_gain(), 2.0);
  paint(panel);
  EXPECT_DOUBLE_EQ(panel->x_span(), span / 2.0);
  EXPECT_DOUBLE_EQ(panel->x_centre(), centre);
  const RECT& down = panel->gain_label(3).bounds();
  SendMessageA(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM((down.left + down.right) / 2, (down.top + down.bottom) / 2));
  EXPECT_EQ(panel->y_gain(), 0.5);

  // A release in the plot centres the view there; Reset brings all back.
  graphClass& g = panel->graph();
  SendMessageA(panel->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(g.x_map().to_pixel(100.0), g.y_map().to_pixel(20.0)));
  EXPECT_FALSE(panel->centre_follows());
  EXPECT_NEAR(panel->x_centre(), 100.0, 2.0 * g.x_map().data_per_pixel());
  auto moved = paint(panel);
  int cx = g.x_map().to_pixel(panel->x_centre());
  // The dashed centre line across the plot.
  EXPECT_GT(moved->count(cx - 1, g.plot_top() + 1, cx + 2, g.plot_bottom(), colour_of(3)),
            (g.plot_bottom() - g.plot_top()) / 3);
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::reset_scaling, 0);
  EXPECT_EQ(panel->x_gain(), 1.0);
  EXPECT_EQ(panel->y_gain(), 1.0);
  EXPECT_TRUE(panel->centre_follows());
  paint(panel);
  EXPECT_DOUBLE_EQ(panel->x_span(), span);

  // Graph only: the plot reaches 2 mm above the bottom, the list goes.
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::graph_only, 0);
  paper scale = panel->client_scale();
  paint(panel);
  EXPECT_EQ(g.plot_bottom(), scale.px_y(scale.height_mm - 2.0));
  EXPECT_FALSE(IsWindowVisible(panel->trace_list()->hwnd()));
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::graph_only, 0);
  paint(panel);
  EXPECT_EQ(g.plot_bottom(), scale.px_y(scale.height_mm - 27.0));
  EXPECT_TRUE(IsWindowVisible(panel->trace_list()->hwnd()));
}

TEST_F(ComparisonPaintTest, ThePrintedPageListsFiveTracesWithTheirStyles) {
  comparisonPanelClass* panel = three();
  for (int i = 0; i < 3; i++) panel->attach_trace(panel->trace_entry(1), nullptr);
  panel->trace_entry(2)->set_spike_filter(1);
  panel->trace_entry(2)->set_lowpass_filter(1, 30.0);
  panel->trace_entry(3)->set_dash(5);
  // A page 150 x 100 mm at 8 pixels per mm.
  paper page;
  ASSERT_TRUE(page.rescale(1200, 800, 150.0, 100.0));
  canvas c(1200, 800);
  printing_flag = 1;
  panel->draw(c.dc(), page);
  printing_flag = 0;
  std::string legend = panel->trace_entry(1)->active_trace()->legend_text();
  EXPECT_EQ(std::string(panel->print_line(0).line_text(0)), "1.   Blue LD0 " + legend);
  EXPECT_EQ(std::string(panel->print_line(1).line_text(0)), "2.  Black LD0 " + legend + " spks LP(30)");
  EXPECT_EQ(std::string(panel->print_line(2).line_text(0)), "3.    Red LD5 " + legend);
  EXPECT_EQ(std::string(panel->print_line(4).line_text(0)), "5. Violet LD0 " + legend);
  for (int i = 0; i < 5; i++) EXPECT_TRUE(panel->print_line(i).is_shown());
  // The plot ends 27 mm above the page's bottom; the lines stand under it
  // in black, the traces in their colours, the page itself white.
  graphClass& g = panel->graph();
  EXPECT_EQ(g.plot_bottom(), page.px_y(100.0 - 27.0));
  EXPECT_GT(c.count(page.px_x(20.0), g.plot_bottom() + page.px_y(1.0), page.px_x(100.0), page.px_y(95.0), colour_of(5)), 200);
  EXPECT_TRUE(drawn_at(panel, c, 40.0, peak(1.3) - 15.0, 0));
  EXPECT_EQ(GetPixel(c.dc(), 2, 2), colour_of(9));
  // The date line at the bottom right.
  EXPECT_GT(c.count(page.px_x(110.0), page.px_y(93.0), page.px_x(149.0), page.px_y(99.5), colour_of(5)), 20);
  EXPECT_TRUE(boxes_.texts().empty());
}

}  // namespace
