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

#include <shlobj.h>

#include <cstring>
#include <fstream>

#include "desktop/winlib/tests/clipboard_bitmap.h"
#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/tests/default_printer.h"
#include "desktop/winlib/tests/file_dialog_answers.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/tests/file_drop.h"
#include "desktop/winlib/tests/picture_pause.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/tests/memory_bitmap.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/windows/trace_panels/plot_attributes.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/windows/trace_panels/separation_panel.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/winlib/drawing/text_drawing.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

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

std::string write_test(const temp_folder& folder, const std::string& name, double gain, double offset, int test = 3) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 2;
  record->T = test;
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


std::vector<std::string> rows(comparisonPanelClass* panel) {
  std::vector<std::string> out;
  for (int i = 0; i < panel->trace_list()->count(); i++) out.push_back(panel->trace_list()->item_text(i));
  return out;
}

// A memory bitmap the size of a panel's client area (less its status bar)
// that the panel paints into through a device context of its own, and what
// its pixels hold.
class canvas : public memoryBitmap {
 public:
  canvas(int width, int height)
      : memoryBitmap(width, height), dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap())) {}
  ~canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  // A pixel of the colour within r pixels of (x, y).
  bool colour_near(int x, int y, int r, COLORREF colour) const {
    for (int dy = -r; dy <= r; dy++)
      for (int dx = -r; dx <= r; dx++)
        if (at(x + dx, y + dy) == colour) return true;
    return false;
  }
  // Pixels of the colour in the rectangle.
  int count(int left, int top, int right, int bottom, COLORREF colour) const {
    return memoryBitmap::count(colour, RECT{left, top, right, bottom});
  }

 private:
  HDC dc_;
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
  thumbnailClass* thumbnail(const std::string& name, double gain = 1.0, double offset = 0.0, int test = 3) {
    std::string path = write_test(folder_, name, gain, offset, test);
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
  EXPECT_EQ(window_text(panel->hwnd()), "CG" + std::to_string(n) + "( GLOBAL )");
  EXPECT_STREQ(panel->panel_name(), ("CG" + std::to_string(n)).c_str());
  EXPECT_EQ(std::string(panel->caption_text().line_text(0)), window_text(panel->hwnd()));
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

  // The status bar is split at half its width after every resize.
  int parts[2] = {};
  SetWindowPos(panel->hwnd(), nullptr, 0, 0, 700, 520, SWP_NOMOVE | SWP_NOZORDER);
  RECT bar{};
  GetClientRect(panel->status_bar(), &bar);
  SendMessageA(panel->status_bar(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  EXPECT_EQ(parts[0], bar.right / 2);
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
  // Each trace has its attributes window; the selected one's is shown.
  for (int n = 1; n <= 3; n++) {
    plotAttributesWindow* window = panel->attributes_of(panel->trace_entry(n));
    ASSERT_NE(window, nullptr) << n;
    EXPECT_EQ(window->parent, panel);
    EXPECT_EQ(window->entry(), panel->trace_entry(n));
  }
  EXPECT_EQ(panel->attributes_window(), panel->attributes_of(third));

  // Use for scaling of one trace, or of all for a number below 1.
  EXPECT_EQ(panel->set_scaling_flag(0, 0), third->active_trace());
  for (int n = 1; n <= 3; n++) EXPECT_FALSE(panel->trace_entry(n)->use_for_scaling()) << n;
  EXPECT_EQ(panel->set_scaling_flag(2, 1), second->active_trace());
  EXPECT_TRUE(second->use_for_scaling());
  EXPECT_FALSE(first->use_for_scaling());
  EXPECT_EQ(panel->set_scaling_flag(4, 1), nullptr);
  panel->set_scaling_flag(-1, 1);

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

TEST_F(ComparisonTest, AThumbnailsTraceByItsMenuAndByADrop) {
  thumbnailClass* thumb = thumbnail("P01S02T0301A.tst");
  // The thumbnail's "Comparison Graph": a graph beneath it with its trace.
  thumb->run_command(thumb_comparison_graph);
  windowNode* child = find_window_node(thumb)->first_child;
  ASSERT_NE(child, nullptr);
  ASSERT_EQ(child->type, comparison_window_type);
  auto* own = static_cast<comparisonPanelClass*>(child->object);
  EXPECT_EQ(window_text(own->hwnd()),
            "CG" + std::to_string(own->instance_number) + "( " + thumb->document().caption() + " )");
  ASSERT_EQ(own->trace_count(), 1);
  EXPECT_EQ(own->trace_owner(1), thumb);
  EXPECT_EQ(own->trace_entry(1)->color(), 3);

  // A drag released over the plot adds the dragged trace; the view stays.
  comparisonPanelClass* panel = open();
  UpdateWindow(panel->hwnd());
  graphClass& g = panel->graph();
  trace_clipboard.store_thumbnail(thumb, thumb->document().entry()->active_trace(), thumb->file_name());
  thumbnail_drag_active = 1;
  SendMessageA(panel->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM((g.plot_left() + g.plot_right()) / 2, g.plot_top() + 5));
  EXPECT_EQ(thumbnail_drag_active, 0);
  ASSERT_EQ(panel->trace_count(), 1);
  EXPECT_EQ(panel->trace_owner(1), thumb);
  EXPECT_TRUE(panel->centre_follows());
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
  thumbnailClass* a = thumbnail("P01S02T0101A.tst", 1.0, 0.0, 1);
  thumbnailClass* b = thumbnail("P01S02T0201A.tst", 0.7, 10.0, 2);
  thumbnailClass* c = thumbnail("P01S02T0301A.tst", 1.3, -15.0, 3);
  for (thumbnailClass* t : {a, b, c}) panel->attach_trace(t->document().entry(), t);
  // Aligned at the flash, with both markers set on the first trace.
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::align_flash, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::gridlines, 0);
  panel->graph().set_marker(0, 15.0, response(15.0, 1.0));
  panel->graph().set_marker(1, 40.0, response(40.0, 1.0));
  panel->marker1_text().show();
  panel->marker2_text().show();
  panel->deltas_text().show();
  pump();
  ASSERT_EQ(panel->trace_count(), 3);
  EXPECT_EQ(panel->trace_entry(2)->y_offset(), -10.0);
  picture_pause(panel->hwnd());
  EXPECT_TRUE(boxes_.texts().empty());
}

// Every row of the list shows whole in the list, and the selected trace's
// attributes stand whole inside the graph, whatever font is substituted.
TEST_F(ComparisonTest, TheListRowsAndTheAttributesFitTheirBoxes) {
  comparisonPanelClass* panel = open();
  for (const char* name : {"P01S02T0101A-DEMO01.tst", "P01S02T0201B-DEMO01-SLAVE.tst"}) {
    thumbnailClass* t = thumbnail(name);
    panel->attach_trace(t->document().entry(), t);
  }
  SendMessageA(panel->trace_list()->hwnd(), LB_SETCURSEL, 1, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(panel->trace_list()->hwnd()));
  InvalidateRect(panel->hwnd(), nullptr, TRUE);
  UpdateWindow(panel->hwnd());
  pump();

  HWND list = panel->trace_list()->hwnd();
  RECT rows_box{};
  GetClientRect(list, &rows_box);
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
  ASSERT_EQ(panel->trace_list()->count(), 2);
  for (const std::string& row : rows(panel)) {
    EXPECT_LE(utf8_text_extent(dc, row.c_str(), -1).cx, rows_box.right - 2) << row;  // the row's own margin
  }
  SelectObject(dc, old);
  ReleaseDC(list, dc);

  plotAttributesWindow* attributes = panel->attributes_window();
  ASSERT_NE(attributes, nullptr);
  RECT graph{}, shown{};
  GetClientRect(panel->hwnd(), &graph);
  MapWindowPoints(panel->hwnd(), nullptr, reinterpret_cast<POINT*>(&graph), 2);
  GetWindowRect(attributes->hwnd(), &shown);
  EXPECT_LE(shown.right, graph.right);
  EXPECT_GE(shown.left, graph.left);
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
  EXPECT_FALSE(IsWindowVisible(panel->attributes_of(panel->trace_entry(3))->hwnd()));
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::graph_only, 0);
  paint(panel);
  EXPECT_TRUE(IsWindowVisible(panel->trace_list()->hwnd()));

  // The selected trace's attributes window stands right of the list under
  // the graph, which ends above it; the others are hidden.
  plotAttributesWindow* third = panel->attributes_window();
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third, panel->attributes_of(panel->trace_entry(3)));
  EXPECT_TRUE(IsWindowVisible(third->hwnd()));
  EXPECT_EQ(g.plot_bottom(), scale.px_y(scale.height_mm - third->height() - 2.0));
  RECT list{}, attributes{};
  GetWindowRect(panel->trace_list()->hwnd(), &list);
  GetWindowRect(third->hwnd(), &attributes);
  EXPECT_NEAR(attributes.left, list.right, 2);
  EXPECT_NEAR(attributes.top, list.top, 3);
  SendMessageA(panel->trace_list()->hwnd(), LB_SETCURSEL, 0, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(panel->trace_list()->hwnd()));
  paint(panel);
  EXPECT_EQ(panel->attributes_window(), panel->attributes_of(panel->trace_entry(1)));
  EXPECT_TRUE(IsWindowVisible(panel->attributes_window()->hwnd()));
  EXPECT_FALSE(IsWindowVisible(third->hwnd()));
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(ComparisonPaintTest, TheSeparationPanelIsMadeOnceThenShownAndHidden) {
  comparisonPanelClass* panel = three();
  EXPECT_EQ(panel->separation_panel(), nullptr);
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  separationPanelClass* separation = panel->separation_panel();
  ASSERT_NE(separation, nullptr);
  EXPECT_EQ(window_text(separation->hwnd()), "CG" + std::to_string(panel->instance_number) + " Separation Panel");
  EXPECT_TRUE(IsWindowVisible(separation->hwnd()));
  // Its fields write the graph's own offsets.
  SetWindowTextA(separation->time_edit()->edit_hwnd(), "12");
  SetWindowTextA(separation->voltage_edit()->edit_hwnd(), "40");
  SendMessageA(separation->apply_button()->hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(panel->separation_time(), 12.0);
  EXPECT_EQ(panel->separation_voltage(), 40.0);
  paint(panel);
  EXPECT_DOUBLE_EQ(panel->trace_entry(2)->x_offset(), 12.0);

  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  EXPECT_FALSE(IsWindowVisible(separation->hwnd()));
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  EXPECT_EQ(panel->separation_panel(), separation);
  EXPECT_TRUE(IsWindowVisible(separation->hwnd()));
  // Enter hides it; Cancel puts the offsets back and unchecks the command.
  SendMessageA(separation->hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(panel->separation_panel(), separation);
  EXPECT_FALSE(IsWindowVisible(separation->hwnd()));
  SendMessageA(separation->cancel_button()->hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(panel->separation_time(), 0.0);
  EXPECT_FALSE(panel->menu_checked(cg_command::separate));
  // Reset hides it too; a panel closed another way is no longer the graph's.
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::reset_scaling, 0);
  EXPECT_FALSE(IsWindowVisible(separation->hwnd()));
  SendMessageA(separation->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(panel->separation_panel(), nullptr);
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  ASSERT_NE(panel->separation_panel(), nullptr);
  // Closing the graph with its panel and attributes windows open.
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::separate, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, cg_command::close, 0);
  pump();
  EXPECT_EQ(find_window_node(panel), nullptr);
  EXPECT_TRUE(boxes_.texts().empty());
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

namespace {

// The pop-up menus answer from a queue and keep where they were opened.
std::vector<int> popup_answers;
std::vector<POINT> popup_places;
BOOL scripted_popup(HMENU, UINT, int x, int y, HWND, LPTPMPARAMS) {
  popup_places.push_back({x, y});
  if (popup_answers.empty()) return 0;
  int answer = popup_answers.front();
  popup_answers.erase(popup_answers.begin());
  return static_cast<BOOL>(answer);
}

// The file dialogs answer from queues ("" cancels) and keep the titles and
// names they offered.
std::vector<std::string> save_answers;
std::vector<std::string> open_answers;
std::vector<std::string> dialog_titles;
std::vector<std::string> dialog_offers;
BOOL answer_dialog(OPENFILENAMEA* record, std::vector<std::string>& answers) {
  dialog_titles.push_back(record->lpstrTitle ? record->lpstrTitle : "");
  dialog_offers.push_back(record->lpstrInitialDir ? record->lpstrInitialDir : "");
  return answer_file_dialog(record, answers);
}
BOOL scripted_save(OPENFILENAMEA* record) { return answer_dialog(record, save_answers); }
BOOL scripted_open(OPENFILENAMEA* record) { return answer_dialog(record, open_answers); }
DWORD no_error() { return 0; }

// Window objects of a type beneath a parent (depth first).
std::vector<winTypeClass*> children_of_type(winTypeClass* parent, uint32_t type) {
  std::vector<winTypeClass*> found;
  std::vector<windowNode*> stack;
  if (windowNode* node = find_window_node(parent)) stack.push_back(node->first_child);
  while (!stack.empty()) {
    windowNode* n = stack.back();
    stack.pop_back();
    for (; n; n = n->next) {
      if (n->object && n->type == type) found.push_back(n->object);
      if (n->first_child) stack.push_back(n->first_child);
    }
  }
  return found;
}

class ComparisonCommandTest : public ComparisonTest {
 protected:
  void SetUp() override {
    previous_dialogs_ = file_dialog_ui_install({scripted_open, scripted_save, no_error});
    previous_popup_ = popup_menu_ui_install(popup_menu_calls{scripted_popup});
    popup_answers.clear();
    popup_places.clear();
    save_answers.clear();
    open_answers.clear();
    dialog_titles.clear();
    dialog_offers.clear();
  }
  void TearDown() override {
    ComparisonTest::TearDown();
    file_dialog_ui_install(previous_dialogs_);
    popup_menu_ui_install(previous_popup_);
  }
  // A right click in the middle of the plot answered with id.
  void pop_up(comparisonPanelClass* panel, int id) {
    graphClass& g = panel->graph();
    popup_answers = {id};
    SendMessageA(panel->hwnd(), WM_RBUTTONDOWN, 0,
                 MAKELPARAM((g.plot_left() + g.plot_right()) / 2, (g.plot_top() + g.plot_bottom()) / 2));
    EXPECT_TRUE(popup_answers.empty());
  }
  void command(comparisonPanelClass* panel, int id) { SendMessageA(panel->hwnd(), WM_COMMAND, id, 0); }
  std::string csv(const std::string& name, int n) {
    std::string path = folder_.file(name);
    std::ofstream out(path);
    for (int i = 0; i < n; i++) {
      char line[64];
      std::snprintf(line, sizeof line, "%5.1lf,%8.2lf\n", i * 0.5, 3.0 + i);
      out << line;
    }
    return path;
  }

  file_dialog_calls previous_dialogs_{};
  popup_menu_calls previous_popup_{};
};

TEST_F(ComparisonCommandTest, TheGraphMenusChecks) {
  comparisonPanelClass* panel = open();
  std::unique_ptr<traceClass> plain = line_trace("plain", 201, -20.0, 1.0, 5.0, 0.5);
  trace_clipboard.store(plain.get(), nullptr);
  command(panel, cg_command::paste);
  ASSERT_EQ(panel->trace_count(), 1);

  // Marker 1 first: refused, nothing checked.
  command(panel, cg_command::align_marker1);
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** Marker 1 needs to be placed first ***"});
  for (int id : {cg_command::align_menu, cg_command::align_flash, cg_command::align_marker1, cg_command::scale_active})
    EXPECT_FALSE(panel->menu_checked(id)) << id;
  boxes_.clear();

  // Flashpoint: aligned, scaled to active traces; again: off.
  command(panel, cg_command::align_flash);
  for (int id : {cg_command::align_menu, cg_command::align_flash, cg_command::scale_active})
    EXPECT_TRUE(panel->menu_checked(id)) << id;
  EXPECT_EQ(panel->graph().use_filtered_extents, 1);
  command(panel, cg_command::align_flash);
  EXPECT_FALSE(panel->menu_checked(cg_command::align_menu));
  EXPECT_FALSE(panel->menu_checked(cg_command::align_flash));

  // Separate without an alignment chooses the flash point too.
  command(panel, cg_command::separate);
  for (int id : {cg_command::align_menu, cg_command::align_flash, cg_command::separate}) EXPECT_TRUE(panel->menu_checked(id));
  EXPECT_EQ(panel->alignment_time(), 0.0);
  // The separation panel's cancel notice clears the check; another value
  // of its lParam does nothing.
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::separation_closed, 0);
  EXPECT_TRUE(panel->menu_checked(cg_command::separate));
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::separation_closed, 1);
  EXPECT_FALSE(panel->menu_checked(cg_command::separate));

  command(panel, cg_command::scale_active);
  EXPECT_FALSE(panel->menu_checked(cg_command::scale_active));
  EXPECT_EQ(panel->graph().use_filtered_extents, 0);
  command(panel, cg_command::gridlines);
  graphClass& g = panel->graph();
  EXPECT_EQ(g.x_major_grid + g.x_minor_grid + g.y_major_grid + g.y_minor_grid, 4);
  command(panel, cg_command::show_marker1);
  EXPECT_FALSE(panel->menu_checked(cg_command::show_marker1));
  command(panel, cg_command::show_marker2);
  EXPECT_FALSE(panel->menu_checked(cg_command::show_marker2));
  pump();
  EXPECT_EQ(g.marker1.shown, 0);

  // The average wants two traces.
  command(panel, cg_command::average);
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** MUST HAVE AT LEAST 2 TRACES TO AVERAGE ***"});
  EXPECT_FALSE(panel->menu_checked(cg_command::average));
  boxes_.clear();
  command(panel, cg_command::paste);
  command(panel, cg_command::average);
  ASSERT_NE(panel->average_entry(), nullptr);
  EXPECT_TRUE(panel->menu_checked(cg_command::average));
  EXPECT_EQ(panel->trace_count(), 3);
  EXPECT_EQ(g.averaged_count(), 2);
  EXPECT_GT(panel->average_entry()->own_trace()->get_count(), 300);
  command(panel, cg_command::average);
  EXPECT_EQ(panel->average_entry()->own_trace()->shown, 0);
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::show_average, 0);  // only 0x7000 asks
  EXPECT_EQ(panel->trace_count(), 3);
  command(panel, cg_command::average);
  EXPECT_EQ(panel->average_entry()->own_trace()->shown, 1);
  EXPECT_EQ(panel->trace_count(), 3);

  // A latest trace of one point has no x range: Reset changes nothing.
  double x = 1.0, y = 2.0;
  panel->add_xy_arrays(&x, &y, 1, 2);
  SendMessageA(panel->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(g.x_map().to_pixel(10.0), g.y_map().to_pixel(10.0)));
  ASSERT_FALSE(panel->centre_follows());
  command(panel, cg_command::reset_scaling);
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** GRAPH X RANGE IS ZERO ***"});
  EXPECT_FALSE(panel->centre_follows());
}

TEST_F(ComparisonCommandTest, FileAndEditCommands) {
  comparisonPanelClass* panel = open();
  // Load: the dialog starts in the folder of "last_text_file".
  std::string path = csv("loaded.csv", 40);
  set_program_setting("last_text_file", folder_.file("old.csv").c_str());
  open_answers = {path};
  command(panel, cg_command::load_text);
  ASSERT_EQ(panel->trace_count(), 1);
  EXPECT_EQ(dialog_titles, std::vector<std::string>{"Select text data file"});
  EXPECT_STREQ(panel->trace_entry(1)->own_trace()->name(), "loaded(csv)");
  EXPECT_EQ(panel->trace_entry(1)->own_trace()->get_count(), 40);
  EXPECT_EQ(panel->trace_entry(1)->color(), 5);
  open_answers = {""};
  command(panel, cg_command::load_text);
  EXPECT_EQ(panel->trace_count(), 1);

  // The client area to the clipboard.
  command(panel, cg_command::copy_bitmap);
  RECT client{};
  GetClientRect(panel->hwnd(), &client);
  BITMAP info{};
  ASSERT_TRUE(clipboard_bitmap(&info));
  EXPECT_EQ(info.bmWidth, client.right);

  // Print: one page through the PostScript printer.
  std::string file = default_printer_file();
  ASSERT_FALSE(file.empty()) << "no default printer on a file port: tools/wine-printer.sh sets it up";
  DeleteFileA(file.c_str());
  print_dialog_calls previous = print_dialog_ui_install(
      print_dialog_calls{default_printer_dialog, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  command(panel, cg_command::print);
  print_dialog_ui_install(previous);
  EXPECT_EQ(printing_flag, 0);
  EXPECT_EQ(printed_pages(file), 1);

  // Close, also of a graph without a close box.
  command(panel, cg_command::close);
  pump();
  EXPECT_EQ(find_window_node(panel), nullptr);
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(ComparisonCommandTest, SaveAllLimitsAndACancelMidway) {
  comparisonPanelClass* panel = open();
  command(panel, cg_command::save_all);
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** NO TRACES TO OUTPUT ***"});
  boxes_.clear();

  // Three traces: the second dialog is cancelled, the third starts where
  // the first wrote.
  std::unique_ptr<traceClass> plain = line_trace("plain", 11, 0.0, 1.0, 5.0, 0.5);
  for (int i = 0; i < 3; i++) panel->add_trace_copy(plain.get(), nullptr);
  set_program_setting("last_text_file", "");
  CreateDirectoryA(folder_.file("first").c_str(), nullptr);
  CreateDirectoryA(folder_.file("third").c_str(), nullptr);
  std::string one = folder_.file("first\\one.csv");
  std::string three = folder_.file("third\\three.xy");
  save_answers = {one, "", three};
  command(panel, cg_command::save_all);
  EXPECT_EQ(dialog_titles, (std::vector<std::string>{"Save Trace 1 of 3", "Save Trace 2 of 3", "Save Trace 3 of 3"}));
  ASSERT_EQ(dialog_offers.size(), 3u);
  EXPECT_EQ(dialog_offers[0].rfind("C:\\", 0), 0u) << dialog_offers[0];
  EXPECT_EQ(dialog_offers[1].rfind(folder_.file("first\\"), 0), 0u) << dialog_offers[1];
  EXPECT_EQ(dialog_offers[2].rfind(folder_.file("first\\"), 0), 0u) << dialog_offers[2];
  EXPECT_EQ(file_text(one).substr(0, 15), "  0.0,    5.00\n");
  EXPECT_EQ(file_text(three).substr(0, 17), "  0.0 \t     5.00\n");
  EXPECT_STREQ(get_program_setting("last_text_file", true), three.c_str());

  // Twenty traces: twenty dialogs; twenty-one: none.
  for (int i = 0; i < 17; i++) panel->add_trace_copy(plain.get(), nullptr);
  dialog_titles.clear();
  command(panel, cg_command::save_all);
  ASSERT_EQ(dialog_titles.size(), 20u);
  EXPECT_EQ(dialog_titles.back(), "Save Trace 20 of 20");
  panel->add_trace_copy(plain.get(), nullptr);
  dialog_titles.clear();
  command(panel, cg_command::save_all);
  EXPECT_TRUE(dialog_titles.empty());
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** TOO MANY TRACES TO OUTPUT (20 MAX) ***"});
}

TEST_F(ComparisonCommandTest, PerTraceStyleAndFilterCommands) {
  comparisonPanelClass* panel = open();
  thumbnailClass* thumb = thumbnail("P01S02T0301A.tst");
  panel->attach_trace(thumb->document().entry(), thumb);
  std::unique_ptr<traceClass> plain = line_trace("plain", 201, -20.0, 1.0, 5.0, 0.5);
  panel->add_trace_copy(plain.get(), nullptr);
  UpdateWindow(panel->hwnd());
  HMENU popup = panel->popup();
  tracePlusClass* entry = panel->trace_entry(2);
  auto id = [](int command) { return trace_command_id(2, command); };

  pop_up(panel, id(cg_trace::show));
  EXPECT_EQ(entry->own_trace()->shown, 0);
  EXPECT_FALSE(GetMenuState(popup, id(cg_trace::show), MF_BYCOMMAND) & MF_CHECKED);
  pop_up(panel, id(cg_trace::scale_to));
  EXPECT_FALSE(entry->use_for_scaling());
  pop_up(panel, id(cg_trace::fill_none));
  EXPECT_EQ(entry->own_trace()->points_only, 1);
  pop_up(panel, id(cg_trace::fill_dash5));
  EXPECT_EQ(entry->own_trace()->points_only, 0);
  EXPECT_EQ(entry->own_trace()->dash_period, 5);
  for (int f : {cg_trace::fill_none, cg_trace::fill_solid, cg_trace::fill_dash2, cg_trace::fill_dash10})
    EXPECT_FALSE(GetMenuState(popup, id(f), MF_BYCOMMAND) & MF_CHECKED) << f;
  EXPECT_TRUE(GetMenuState(popup, id(cg_trace::fill_dash5), MF_BYCOMMAND) & MF_CHECKED);
  pop_up(panel, id(cg_trace::symbol_plus));
  EXPECT_EQ(entry->own_trace()->symbol, 1);
  pop_up(panel, id(cg_trace::colour_menu + 2));
  EXPECT_EQ(entry->color(), 2);
  EXPECT_EQ(rows(panel)[1].substr(0, 10), "2.  Green ");
  EXPECT_TRUE(GetMenuState(popup, id(cg_trace::colour_menu + 2), MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(GetMenuState(popup, id(cg_trace::colour_menu + 5), MF_BYCOMMAND) & MF_CHECKED);
  // A colour set elsewhere (the attributes window) and its notice.
  entry->set_color(4);
  SendMessageA(panel->trace_list()->hwnd(), LB_SETCURSEL, 1, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(panel->trace_list()->hwnd()));
  EXPECT_EQ(panel->selected_row(), 1);
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::colour_changed, 0);
  EXPECT_EQ(rows(panel)[1].substr(0, 10), "2. Violet ");

  pop_up(panel, id(cg_trace::filter_spikes));
  EXPECT_TRUE(entry->has_spike_filter());
  pop_up(panel, id(cg_trace::filter_60hz));
  EXPECT_TRUE(entry->has_60hz_filter());
  pop_up(panel, id(cg_trace::filter_50hz));
  EXPECT_TRUE(entry->has_50hz_filter());
  pop_up(panel, id(cg_trace::filter_lowpass));
  EXPECT_TRUE(entry->has_lowpass_filter());
  pop_up(panel, id(cg_trace::filter_lowpass));
  EXPECT_FALSE(entry->has_lowpass_filter());

  // Set Low Pass Frequency: the number window under the panel, the filter
  // on at once; the typed value arrives as notice 0.
  pop_up(panel, id(cg_trace::lowpass_frequency));
  std::vector<winTypeClass*> editors = children_of_type(panel, 16);
  ASSERT_EQ(editors.size(), 1u);
  EXPECT_EQ(window_text(editors[0]->hwnd()),
            "CG" + std::to_string(panel->instance_number) + ", Trace 2 Low-pass freq. [Hz]");
  EXPECT_TRUE(entry->has_lowpass_filter());
  EXPECT_TRUE(GetMenuState(popup, id(cg_trace::filter_lowpass), MF_BYCOMMAND) & MF_CHECKED);
  SendMessageA(editors[0]->hwnd(), WM_CLOSE, 0, 0);
  double before = entry->lowpass_frequency();
  panel->lowpass_entry() = 0.09;
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::lowpass_frequency, 2);
  panel->lowpass_entry() = 0.1;
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::lowpass_frequency, 9);
  EXPECT_EQ(entry->lowpass_frequency(), before);
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::lowpass_frequency, 2);
  EXPECT_EQ(entry->lowpass_frequency(), 0.1);
  EXPECT_EQ(boxes_.texts(), (std::vector<std::string>{"*** Frequency cannot be set lower than 0.1 ***",
                                                      "### NO TRACE FOR REFERENCE NUMBER 9 ###"}));
  // Trace 1 is untouched by all of it.
  EXPECT_FALSE(panel->trace_entry(1)->any_filter());
  EXPECT_EQ(panel->trace_entry(1)->own_trace()->shown, 1);
}

TEST_F(ComparisonCommandTest, CopiesToOtherWindowsAndFiles) {
  comparisonPanelClass* panel = open();
  thumbnailClass* thumb = thumbnail("P01S02T0301A.tst");
  panel->attach_trace(thumb->document().entry(), thumb);
  std::unique_ptr<traceClass> plain = line_trace("plain", 201, -20.0, 1.0, 5.0, 0.5);
  panel->add_trace_copy(plain.get(), nullptr);
  UpdateWindow(panel->hwnd());

  // The trace clipboard under the trace's own name.
  pop_up(panel, trace_command_id(2, cg_trace::copy_clipboard));
  EXPECT_EQ(trace_clipboard.get_count(), 201);
  EXPECT_STREQ(trace_clipboard.label(), "plain");
  EXPECT_EQ(trace_clipboard.source_window(), nullptr);

  // A new comparison graph under this one with a copy.
  pop_up(panel, trace_command_id(1, cg_trace::copy_comparison));
  std::vector<winTypeClass*> graphs = children_of_type(panel, comparison_window_type);
  ASSERT_EQ(graphs.size(), 1u);
  auto* other = static_cast<comparisonPanelClass*>(graphs[0]);
  EXPECT_EQ(window_text(other->hwnd()), "CG" + std::to_string(other->instance_number) + "( compare the compare )");
  ASSERT_EQ(other->trace_count(), 1);
  EXPECT_EQ(other->trace_entry(1)->own_trace()->get_count(), point_count);

  // The measurement graph of an owned trace opens under its thumbnail; the
  // trace without an owner has no test to measure.
  pop_up(panel, trace_command_id(1, cg_trace::copy_measurement));
  EXPECT_EQ(children_of_type(thumb, 3).size(), 1u);
  pop_up(panel, trace_command_id(2, cg_trace::copy_measurement));
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** Measurement Graph called without supplying a thumbnail ***"});
  boxes_.clear();

  // The oscillatory potentials and the spectrum, under the owner.
  pop_up(panel, trace_command_id(1, cg_trace::copy_op_panel));
  std::vector<winTypeClass*> ops = children_of_type(thumb, 9);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_NE(window_text(ops[0]->hwnd()).find("CG" + std::to_string(panel->instance_number) + "/1"), std::string::npos);
  pop_up(panel, trace_command_id(1, cg_trace::copy_fft));
  EXPECT_EQ(children_of_type(thumb, 8).size(), 1u);

  // A text file: the trace's label as the title; the path kept.
  std::string path = folder_.file("plain copy.csv");
  save_answers = {path};
  pop_up(panel, trace_command_id(2, cg_trace::copy_text_file));
  EXPECT_EQ(dialog_titles, std::vector<std::string>{"plain"});
  EXPECT_STREQ(get_program_setting("last_text_file", true), path.c_str());
  EXPECT_EQ(file_text(path).substr(0, 15), "-20.0,   -5.00\n");

  // "Copy Trace To:" from the attributes window's notice acts on the row
  // chosen, not on the latest trace.
  SendMessageA(panel->trace_list()->hwnd(), LB_SETCURSEL, 0, 0);
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(panel->trace_list()->hwnd()));
  popup_answers = {cg_command::copy_comparison};
  popup_places.clear();
  SendMessageA(panel->hwnd(), WM_USER, cg_notice::copy_menu, MAKELPARAM(30, 40));
  RECT frame{};
  GetWindowRect(panel->hwnd(), &frame);
  ASSERT_EQ(popup_places.size(), 1u);
  EXPECT_EQ(popup_places[0].x, frame.left + 30);
  EXPECT_EQ(popup_places[0].y, frame.top + 40);
  graphs = children_of_type(panel, comparison_window_type);
  ASSERT_EQ(graphs.size(), 2u);
  for (winTypeClass* g : graphs) {
    auto* copy = static_cast<comparisonPanelClass*>(g);
    EXPECT_EQ(copy->trace_entry(1)->own_trace()->get_count(), point_count);
  }
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(ComparisonCommandTest, ThePopUpsOwnCommandsMarkersPasteAndAnnotations) {
  comparisonPanelClass* panel = open();
  std::unique_ptr<traceClass> plain = line_trace("plain", 201, -20.0, 1.0, 5.0, 0.5);
  trace_clipboard.store(plain.get(), nullptr);
  pop_up(panel, cg_command::paste_popup);
  ASSERT_EQ(panel->trace_count(), 1);
  UpdateWindow(panel->hwnd());
  graphClass& g = panel->graph();
  auto at = [&g](double t, double uv) { return MAKELPARAM(g.x_map().to_pixel(t), g.y_map().to_pixel(uv)); };
  auto status = [panel]() {
    char text[256] = {};
    SendMessageA(panel->status_bar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return std::string(text);
  };

  // The pointer's place in the status bar, and markers set there.
  SendMessageA(panel->hwnd(), WM_MOUSEMOVE, 0, at(30.0, 20.0));
  double x1 = 0.0, y1 = 0.0;
  g.pixel_to_data(g.x_map().to_pixel(30.0), g.y_map().to_pixel(20.0), &x1, &y1);
  char line[128];
  std::snprintf(line, sizeof line, "%8.2lf [mS]  %8.2lf [uV]", x1, y1);
  EXPECT_EQ(status(), line);
  popup_answers = {cg_command::marker1_popup};
  SendMessageA(panel->hwnd(), WM_RBUTTONDOWN, 0, at(30.0, 20.0));
  EXPECT_TRUE(panel->marker1_text().is_shown());
  EXPECT_FALSE(panel->deltas_text().is_shown());
  EXPECT_EQ(g.marker1.x(), x1);
  SendMessageA(panel->hwnd(), WM_MOUSEMOVE, 0, at(80.0, 50.0));
  double x2 = 0.0, y2 = 0.0;
  g.pixel_to_data(g.x_map().to_pixel(80.0), g.y_map().to_pixel(50.0), &x2, &y2);
  popup_answers = {cg_command::marker2_popup};
  SendMessageA(panel->hwnd(), WM_RBUTTONDOWN, 0, at(80.0, 50.0));
  EXPECT_TRUE(panel->deltas_text().is_shown());
  UpdateWindow(panel->hwnd());
  std::snprintf(line, sizeof line, "Change:   %6.2lf [mS], %6.2lf [uV]", std::fabs(x2 - x1), std::fabs(y2 - y1));
  EXPECT_EQ(std::string(panel->deltas_text().line_text(0)), line);
  std::snprintf(line, sizeof line, "Marker 1: %6.2lf [mS], %6.2lf [uV]", x1, y1);
  EXPECT_EQ(std::string(panel->marker1_text().line_text(0)), line);

  // Marker 1 time alignment follows marker 1.
  command(panel, cg_command::align_marker1);
  EXPECT_EQ(panel->alignment_time(), x1);
  SendMessageA(panel->hwnd(), WM_MOUSEMOVE, 0, at(60.0, 50.0));
  popup_answers = {cg_command::marker1_popup};
  SendMessageA(panel->hwnd(), WM_RBUTTONDOWN, 0, at(60.0, 50.0));
  EXPECT_EQ(panel->alignment_time(), g.marker1.x());
  EXPECT_NEAR(panel->alignment_time(), 60.0, 2.0 * g.x_map().data_per_pixel());

  // An annotation at the click, with its editor open; a right click on it
  // opens another editor instead of the menu.
  command(panel, cg_command::align_marker1);
  UpdateWindow(panel->hwnd());
  popup_answers = {cg_command::annotation_popup};
  SendMessageA(panel->hwnd(), WM_RBUTTONDOWN, 0, at(100.0, 40.0));
  ASSERT_EQ(panel->annotation_count(), 1);
  EXPECT_NEAR(panel->annotation(0)->anchor_x(), 100.0, 2.0 * g.x_map().data_per_pixel());
  EXPECT_EQ(panel->annotation(0)->open_editors(), 1u);
  InvalidateRect(panel->hwnd(), nullptr, TRUE);
  UpdateWindow(panel->hwnd());
  popup_places.clear();
  SendMessageA(panel->hwnd(), WM_RBUTTONDOWN, 0, at(100.0, 40.0));
  EXPECT_TRUE(popup_places.empty());
  EXPECT_EQ(panel->annotation(0)->open_editors(), 2u);
  // Dragged with the left button, it keeps its offset to the pointer.
  double ax = panel->annotation(0)->anchor_x();
  int px = g.x_map().to_pixel(100.0);
  int py = g.y_map().to_pixel(40.0);
  SendMessageA(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(px + 1, py + 1));
  SendMessageA(panel->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(px + 41, py + 1));
  EXPECT_NEAR(panel->annotation(0)->anchor_x(), ax + 40.0 * g.x_map().data_per_pixel(), 1e-9);
  EXPECT_TRUE(panel->centre_follows());  // the release moved the annotation, not the view
  // Closing the graph with the editors open commits nothing into freed
  // memory.
  command(panel, cg_command::close);
  pump();
  EXPECT_EQ(find_window_node(panel), nullptr);
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(ComparisonCommandTest, DroppedTextAndTestFiles) {
  comparisonPanelClass* panel = open();
  std::string text = csv("dropped.csv", 25);
  std::string test = write_test(folder_, "P01S02T0301A.tst", 1.0, 0.0);
  std::string broken = folder_.file("P01S02T0309A.tst");
  {
    std::ofstream out(broken);
    out << "not a test";
  }
  SendMessageA(panel->hwnd(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(
                   make_drop({folder_.file("missing.csv"), text, folder_.file("notes.doc"), test, broken})),
               0);
  ASSERT_EQ(panel->trace_count(), 2);
  EXPECT_STREQ(panel->trace_entry(1)->own_trace()->label(), "dropped");
  EXPECT_EQ(panel->trace_entry(1)->own_trace()->get_count(), 25);
  EXPECT_EQ(panel->trace_owner(1), nullptr);
  EXPECT_STREQ(panel->trace_entry(2)->own_trace()->label(), "P01S02T0301A");
  winTypeClass* owner = panel->trace_owner(2);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(owner->type, thumbnail_window_type);
  EXPECT_EQ(owner->parent, panel);
  // A text file that cannot be read adds nothing and the drop goes on; the
  // test that does not load is reported and its thumbnail closed.
  EXPECT_EQ(children_of_type(panel, thumbnail_window_type).size(), 1u);
  ASSERT_GE(boxes_.texts().size(), 2u);
  EXPECT_NE(boxes_.texts().front().find("missing.csv"), std::string::npos) << boxes_.texts().front();
  EXPECT_NE(boxes_.texts().back().find(broken), std::string::npos) << boxes_.texts().back();
}

}  // namespace
