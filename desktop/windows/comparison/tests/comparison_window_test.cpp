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

}  // namespace
