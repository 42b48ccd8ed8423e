// The measurement graph under the virtual display, on tests written by code:
// its menus and captions, the texts of an ERG and a flicker test, a mark
// moved with the mouse and the arrow keys into the state file, the data as
// text, the clipboard bitmap and a print to the PostScript printer.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/winlib/tests/clipboard_bitmap.h"
#include "desktop/winlib/tests/default_printer.h"
#include "desktop/winlib/tests/file_dialog_answers.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/picture_pause.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/test_state.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/data/wave_measurement.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// The test's points: 400 over 200 mS, 20 mS before the flash, amplitudes
// stored in tenths of a microvolt (divisor 10).
constexpr int point_count = 400;
constexpr double total_ms = 200.0;
constexpr double pre_ms = 20.0;

double time_of(int i) { return i * total_ms / point_count - pre_ms; }

// A flash response: flat before the flash, a trough at 15 mS, a peak at 40
// mS; a flicker response: a 33 mS sine after the flash.
std::vector<int32_t> raw_values(bool flicker) {
  std::vector<int32_t> v(point_count);
  for (int i = 0; i < point_count; i++) {
    double t = time_of(i);
    double y = 0.0;
    if (t > 0 && flicker) y = 50.0 * std::sin(2.0 * 3.14159265358979 * t / 33.0) + 10.0 * std::sin(t / 7.0);
    if (t > 0 && !flicker)
      y = -60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) + 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2));
    v[i] = static_cast<int32_t>(std::lround(y * 10.0));
  }
  return v;
}

std::string write_test(const temp_folder& folder, const std::string& name, bool flicker) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 2;
  record->T = 3;
  record->N = 1;
  record->Eye = u'D';
  record->FlickerMark = flicker ? u'Y' : u'N';
  record->Config.RepeatCount = 1;
  record->Config.RepeatInterval = flicker ? 33 : 1000;
  record->Config.PreTime = 20;
  record->Config.PostTime = 180;
  const char16_t id[] = u"PATIENT01 ";
  for (int i = 0; i < 10; i++) record->TestId[i] = id[i];
  fill_block(record->Average, raw_values(flicker), 10.0, 200, 20);
  std::vector<int32_t> last = raw_values(flicker);
  for (int32_t& x : last) x = x / 10 * 13;  // a noisier, larger last sweep
  fill_block(record->LastSweep, last, 1.0, 200, 20);
  std::string path = folder.file(name);
  write_bytes(path, test_file_bytes(*record));
  return path;
}

// The a- and b-wave as the fixture has them: the first maximum from the
// flash to the window's end, the first minimum before it.
struct expectedWaves {
  double ta, a, tb, b;
};
expectedWaves expected_waves(bool flicker) {
  std::vector<int32_t> raw = raw_values(flicker);
  int first = static_cast<int>(pre_ms * point_count / total_ms);              // t = 0
  int last = static_cast<int>((pre_ms + (flicker ? 33.0 : 150.0)) * point_count / total_ms);
  int ib = first;
  for (int i = first; i <= last; i++)
    if (raw[i] > raw[ib]) ib = i;
  int ia = first;
  for (int i = first; i < ib; i++)
    if (raw[i] < raw[ia]) ia = i;
  return {time_of(ia), raw[ia] / 10.0, time_of(ib), raw[ib] / 10.0};
}

// The save dialog answers with a path; what it was offered is kept.
std::string save_answer;
std::string save_offered;
BOOL scripted_save(OPENFILENAMEA* record) {
  save_offered = record->lpstrFile ? record->lpstrFile : "";
  return answer_file_dialog(record, save_answer);
}
BOOL no_open(OPENFILENAMEA*) { return FALSE; }
DWORD no_error() { return 0; }

class MeasGraphTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = file_dialog_ui_install({no_open, scripted_save, no_error}); }
  void TearDown() override {
    delete thumb_;
    pump();
    file_dialog_ui_install(previous_);
    save_answer.clear();
    save_offered.clear();
  }
  // A thumbnail of the test (a top-level one) and its measurement graph.
  measGraphClass* open(bool flicker, const char* name = "P01S02T0301A.tst") {
    path_ = write_test(folder_, name, flicker);
    thumb_ = new thumbnailClass(nullptr, 1, 0, 0, path_.c_str(), 1);
    measGraphClass* graph = open_measurement_graph(thumb_, nullptr, 40, 40);
    pump();
    return graph;
  }
  waveMeasurementModel& model() { return *thumb_->document().model(); }

  file_dialog_calls previous_{};
  temp_folder folder_;
  message_capture boxes_;
  std::string path_;
  thumbnailClass* thumb_ = nullptr;
};

TEST_F(MeasGraphTest, MenusChecksAndAWindowThatFollowsItsStatisticsBox) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(menu_text(graph->menu()),
            "2000 File[2001 Save Data as Text|-|2002 Print|2003 Close]|"
            "2100 Edit[2101 Copy Window to Clipboard|2102 Copy Average Trace|2103 Copy Last Trace]|"
            "2200 Graph[2201 Scale to Last Sample|-|2202 Recalculate a/b Parameters|2203 Auto Baseline Slope to Zero*]|"
            "2300 View[2301 Last Sample|2302 Average Trace*|2303 Parameter Area*|-|2304 Adjustment Circles*|"
            "2305 Baseline*|2306 X-Hair*]");
  EXPECT_EQ(menu_text(graph->popup()), "1001 Set Marker 1|1002 Set Marker 2|1003 Copy Average Trace");

  // The slope switch off: the check follows at the next paint; back on with
  // the command, which zeroes the slope.
  model().slope_switch = 0;
  model().baseline_slope.set_value(0.25);
  InvalidateRect(graph->hwnd(), nullptr, TRUE);
  pump();
  EXPECT_EQ(GetMenuState(graph->menu(), mg_auto_slope, MF_BYCOMMAND) & MF_CHECKED, 0u);
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_auto_slope, 0);
  EXPECT_EQ(model().slope_switch, 1);
  EXPECT_EQ(model().baseline_slope.value(), 0.0);
  EXPECT_NE(GetMenuState(graph->menu(), mg_auto_slope, MF_BYCOMMAND) & MF_CHECKED, 0u);

  // 150 mm high, sizes truncated to pixels; as wide as the statistics box
  // needs.
  RECT frame{};
  GetWindowRect(graph->hwnd(), &frame);
  EXPECT_EQ(frame.bottom - frame.top, static_cast<int>(150.0 * screen_paper.y_px_per_mm));
  EXPECT_LT(frame.right - frame.left, static_cast<int>(230.0 * screen_paper.x_px_per_mm));
  EXPECT_GT(frame.right - frame.left, static_cast<int>(100.0 * screen_paper.x_px_per_mm));

  // The status bar's first part is half its width after a resize.
  SetWindowPos(graph->hwnd(), nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
  int parts[2] = {};
  SendMessageA(graph->status_bar(), SB_GETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  RECT bar{};
  GetClientRect(graph->status_bar(), &bar);
  EXPECT_EQ(parts[0], bar.right / 2);
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(MeasGraphTest, CaptionsCountUpAndNumbersAreNotReused) {
  measGraphClass* first = open(false);
  ASSERT_NE(first, nullptr);
  int n = first->instance_number;
  std::string header = thumb_->document().caption();
  EXPECT_EQ(window_text(first->hwnd()), "MG" + std::to_string(n) + "( " + header + " )");
  EXPECT_EQ(std::string(first->title_text().line_text(0)), window_text(first->hwnd()));

  measGraphClass* second = open_measurement_graph(thumb_, nullptr, 60, 60);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->instance_number, n + 1);
  SendMessageA(second->hwnd(), WM_COMMAND, mg_close, 0);
  pump();
  EXPECT_EQ(find_window_node(second), nullptr);
  measGraphClass* third = open_measurement_graph(thumb_, nullptr, 60, 60);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(window_text(third->hwnd()), "MG" + std::to_string(n + 2) + "( " + header + " )");
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(MeasGraphTest, WithoutAThumbnailNoWindowIsLeft) {
  int nodes = count_window_nodes();
  EXPECT_EQ(open_measurement_graph(nullptr, nullptr, 0, 0), nullptr);
  // A trace clipboard whose thumbnail has closed names none.
  path_ = write_test(folder_, "P01S02T0301A.tst", false);
  auto* source = new thumbnailClass(nullptr, 1, 0, 0, path_.c_str(), 1);
  trace_clipboard.store_thumbnail(source, source->document().entry()->active_trace(), "held");
  delete source;
  EXPECT_EQ(open_measurement_graph(nullptr, &trace_clipboard, 0, 0), nullptr);
  traceClipboardClass plain;
  EXPECT_EQ(open_measurement_graph(nullptr, &plain, 0, 0), nullptr);
  EXPECT_EQ(count_window_nodes(), nodes);
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>(3, "*** Measurement Graph called without supplying a thumbnail ***"));
}

TEST_F(MeasGraphTest, AGraphFromTheTraceClipboardShowsItsTraceAndClosesWithItsTest) {
  path_ = write_test(folder_, "P01S02T0301A.tst", false);
  thumb_ = new thumbnailClass(nullptr, 1, 0, 0, path_.c_str(), 1);
  trace_clipboard.store_thumbnail(thumb_, thumb_->document().entry()->active_trace(), "held");
  measGraphClass* graph = open_measurement_graph(nullptr, &trace_clipboard, 10, 10);
  ASSERT_NE(graph, nullptr);
  pump();
  EXPECT_EQ(graph->thumbnail(), thumb_);
  EXPECT_EQ(graph->main_trace()->get_count(), point_count);
  EXPECT_EQ(std::string(graph->main_trace()->label()), "held");
  // Its test closes first: the window goes at its next message.
  delete thumb_;
  thumb_ = nullptr;
  InvalidateRect(graph->hwnd(), nullptr, TRUE);
  pump();
  pump();
  EXPECT_EQ(find_window_node(graph), nullptr);
}

TEST_F(MeasGraphTest, TheTextsOfAnErgTest) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  expectedWaves w = expected_waves(false);
  char line[3][160];
  std::snprintf(line[0], sizeof line[0], "a-wave amplitude = %5.1lf uV, implicit time = %5.1lf mS", std::fabs(w.a), w.ta);
  std::snprintf(line[1], sizeof line[1], "b-wave amplitude = %5.1lf uV, implicit time = %5.1lf mS", w.b - w.a, w.tb);
  std::snprintf(line[2], sizeof line[2], "b/a ratio =  %7.2f :baseline   0.0@0mS, slope 0.000",
                (w.b - w.a) / std::fabs(w.a));
  for (int i = 0; i < 3; i++) EXPECT_EQ(std::string(graph->erg_text().line_text(i)), line[i]);

  // The statistics of the average trace (the last sample is hidden).
  char stat[3][160];
  std::snprintf(stat[0], sizeof stat[0], "Absolute maximum = %5.1lf uV, @ %5.1lf mS", w.b, w.tb);
  std::snprintf(stat[1], sizeof stat[1], "Absolute minimum = %5.1lf uV, @ %5.1lf mS", w.a, w.ta);
  std::snprintf(stat[2], sizeof stat[2], "Data points =    400, data collection time =  200.0 mS");
  for (int i = 0; i < 3; i++) EXPECT_EQ(std::string(graph->statistics_text().line_text(i)), stat[i]);

  // The model's points carry the window's names while it is open.
  EXPECT_STREQ(model().awave_point.name(), "Bottom");
  EXPECT_STREQ(model().bwave_point.name(), "Top");
  EXPECT_STREQ(model().bwave_time.name(), "TopX");
  EXPECT_STREQ(model().awave_time.name(), "BottomX");

  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(MeasGraphTest, TheCrossHairTheMarkersAndTheirReadOuts) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  graphClass& g = graph->graph();
  EXPECT_EQ(g.xhair.shown, 0);
  auto at = [&g](double t, double uv) { return MAKELPARAM(g.x_map().to_pixel(t), g.y_map().to_pixel(uv)); };
  auto status = [graph](int part) {
    char text[256] = {};
    SendMessageA(graph->status_bar(), SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return std::string(text);
  };

  // A click away from the circles places the cross-hair there.
  SendMessageA(graph->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(100.0, 60.0));
  SendMessageA(graph->hwnd(), WM_LBUTTONUP, 0, at(100.0, 60.0));
  EXPECT_EQ(graph->selected_circle(), adjustCircle::none);
  EXPECT_EQ(g.xhair.shown, 1);
  EXPECT_NEAR(g.xhair.x(), 100.0, 2.0 * g.x_map().data_per_pixel());
  pump();
  EXPECT_TRUE(graph->xhair_text().is_shown());

  // The pointer's read-out, and its distance to the cross-hair.
  SendMessageA(graph->hwnd(), WM_MOUSEMOVE, 0, at(30.0, 20.0));
  double x = 0.0, y = 0.0;
  g.pixel_to_data(g.x_map().to_pixel(30.0), g.y_map().to_pixel(20.0), &x, &y);
  EXPECT_EQ(status(0), cursor_status_text(x, "mS", y, "uV"));
  EXPECT_EQ(status(1), xhair_status_text(x - g.xhair.x(), y - g.xhair.y()));

  // Marker 2 first shows its line only; marker 1 after it, the deltas too.
  static std::vector<int> answers;
  answers = {mg_marker2, mg_marker1};
  popup_menu_calls previous = popup_menu_ui_install(popup_menu_calls{[](HMENU, UINT, int, int, HWND, LPTPMPARAMS) {
    int answer = answers.front();
    answers.erase(answers.begin());
    return static_cast<BOOL>(answer);
  }});
  SendMessageA(graph->hwnd(), WM_RBUTTONDOWN, 0, at(30.0, 20.0));
  EXPECT_TRUE(graph->marker2_text().is_shown());
  EXPECT_FALSE(graph->marker1_text().is_shown());
  EXPECT_FALSE(graph->deltas_text().is_shown());
  double x2 = x, y2 = y;
  SendMessageA(graph->hwnd(), WM_MOUSEMOVE, 0, at(10.0, -5.0));
  g.pixel_to_data(g.x_map().to_pixel(10.0), g.y_map().to_pixel(-5.0), &x, &y);
  SendMessageA(graph->hwnd(), WM_RBUTTONDOWN, 0, at(10.0, -5.0));
  popup_menu_ui_install(previous);
  EXPECT_TRUE(graph->marker1_text().is_shown());
  EXPECT_TRUE(graph->deltas_text().is_shown());
  pump();
  char line[128];
  std::snprintf(line, sizeof line, "Marker2 (%6.2lf mS, %6.2lf uV)", x2, y2);
  EXPECT_EQ(std::string(graph->marker2_text().line_text(0)), line);
  std::snprintf(line, sizeof line, "Deltas  (%6.2lf mS, %6.2lf uV)", x2 - x, y2 - y);
  EXPECT_EQ(std::string(graph->deltas_text().line_text(0)), line);
  picture_pause(graph->hwnd());
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(MeasGraphTest, TheTextsOfAFlickerTest) {
  measGraphClass* graph = open(true);
  ASSERT_NE(graph, nullptr);
  expectedWaves w = expected_waves(true);
  char line[2][160];
  std::snprintf(line[0], sizeof line[0], "FLICKER : b-wave amplitude = %5.1lf uV, implicit time = %5.1lf mS", w.b - w.a,
                w.tb);
  std::snprintf(line[1], sizeof line[1], "FLICKER : waveform amplitude = %5.1lf uV P-P", w.b - w.a);
  EXPECT_EQ(std::string(graph->erg_text().line_text(0)), line[0]);
  EXPECT_EQ(std::string(graph->erg_text().line_text(1)), line[1]);
  EXPECT_EQ(std::string(graph->erg_text().line_text(2)), "");
  picture_pause(graph->hwnd());
}

TEST_F(MeasGraphTest, TheBwaveCircleAndThreeLeftArrowsMoveTheBwaveIntoTheStateFile) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  ASSERT_EQ(thumb_->document().state().auto_ab, 1);
  graphClass& g = graph->graph();
  double tb = model().bwave_time.value();
  int px = g.x_map().to_pixel(tb);
  int py = g.y_map().to_pixel(model().bwave_point.value());
  SendMessageA(graph->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(px + 2, py - 2));
  SendMessageA(graph->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(px + 2, py - 2));
  EXPECT_EQ(graph->selected_circle(), adjustCircle::bwave);
  EXPECT_EQ(g.xhair.shown, 0);  // a circle hit leaves the cross-hair alone

  double step = g.x_map().data_per_pixel();
  ASSERT_GT(step, 0.0);
  for (int i = 0; i < 3; i++) SendMessageA(graph->hwnd(), WM_KEYDOWN, VK_LEFT, 0);
  double moved = tb - step - step - step;
  EXPECT_DOUBLE_EQ(model().bwave_time.value(), moved);
  // The amplitude follows the trace at its point nearest the new time.
  std::vector<int32_t> raw = raw_values(false);
  int nearest = static_cast<int>(std::lround((moved + pre_ms) * point_count / total_ms));
  EXPECT_DOUBLE_EQ(model().bwave_point.value(), raw[nearest] / 10.0);
  EXPECT_EQ(thumb_->document().state().auto_ab, 0);
  EXPECT_EQ(model().bwave_implicit_time.value(), moved);
  pump();
  char line[160];
  std::snprintf(line, sizeof line, "b-wave amplitude = %5.1lf uV, implicit time = %5.1lf mS",
                raw[nearest] / 10.0 - model().awave_point.value(), moved);
  EXPECT_EQ(std::string(graph->erg_text().line_text(1)), line);

  // Closing the test writes its state file with the new time.
  delete thumb_;
  thumb_ = nullptr;
  byteObjectClass state;
  state_file_name(path_.c_str(), state);
  char expected[64];
  std::snprintf(expected, sizeof expected, "(btime %lg)", moved);
  std::string text = file_text(state.text());
  EXPECT_NE(text.find(expected), std::string::npos) << text;
  EXPECT_NE(text.find("(abauto 0)"), std::string::npos) << text;
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(MeasGraphTest, TheBaselineCirclesMoveTheInterceptAndTheSlopeByVerticalSteps) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  graphClass& g = graph->graph();
  waveMeasurementModel& m = model();
  ASSERT_EQ(m.baseline_intercept.value(), 0.0);
  double right_time = m.baseline_right_time.value();
  ASSERT_GT(right_time, 100.0);
  double step = std::fabs(g.y_map().data_per_pixel());
  auto click = [&](double t, double uv) {
    LPARAM at = MAKELPARAM(g.x_map().to_pixel(t), g.y_map().to_pixel(uv));
    SendMessageA(graph->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(graph->hwnd(), WM_LBUTTONUP, 0, at);
  };

  click(0.0, 0.0);
  EXPECT_EQ(graph->selected_circle(), adjustCircle::flash_time);
  for (UINT key : {VK_UP, VK_UP, VK_DOWN}) SendMessageA(graph->hwnd(), WM_KEYDOWN, key, 0);
  EXPECT_DOUBLE_EQ(m.baseline_intercept.value(), step);
  EXPECT_EQ(thumb_->document().state().auto_ab, 0);

  // The right handle: one step up raises the baseline there by one step;
  // the slope follows, the value at the flash stays.
  click(right_time, m.baseline_at(right_time));
  EXPECT_EQ(graph->selected_circle(), adjustCircle::right_time);
  SendMessageA(graph->hwnd(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_DOUBLE_EQ(m.baseline_slope.value(), step / right_time);
  EXPECT_DOUBLE_EQ(m.baseline_at(right_time), 2.0 * step);
  EXPECT_DOUBLE_EQ(m.baseline_at(0.0), step);
}

TEST_F(MeasGraphTest, WithoutTheParameterAreaThePlotGrowsAndClicksAreIgnored) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  graphClass& g = graph->graph();
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_view_parameters, 0);
  pump();
  paper scale = graph->client_scale();
  EXPECT_EQ(g.plot_bottom(), scale.px_y(scale.height_mm - 3.0));
  SendMessageA(graph->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(g.x_map().to_pixel(100.0), g.y_map().to_pixel(50.0)));
  EXPECT_EQ(g.xhair.shown, 0);
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_view_parameters, 0);
  pump();
  EXPECT_EQ(g.plot_bottom(), scale.px_y(scale.height_mm - 45.0));
}

TEST_F(MeasGraphTest, RecalculateSwitchesAutomaticDetectionBackOn) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  double tb = model().bwave_time.value();
  SendMessageA(graph->hwnd(), WM_KEYDOWN, VK_CONTROL, 0);
  SendMessageA(graph->hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(graph->hwnd(), WM_KEYUP, VK_CONTROL, 0);
  EXPECT_GT(model().bwave_time.value(), tb);
  EXPECT_EQ(thumb_->document().state().auto_ab, 0);
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_recalculate, 0);
  EXPECT_EQ(thumb_->document().state().auto_ab, 1);
  EXPECT_EQ(model().bwave_time.value(), tb);
}

TEST_F(MeasGraphTest, SaveDataAsTextWritesTheAverageBlockByteForByte) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  save_answer = folder_.file("XY_P01S02T0301A.txt");
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_save_text, 0);
  EXPECT_EQ(save_offered, "XY_P01S02T0301A");
  std::string expected;
  std::vector<int32_t> raw = raw_values(false);
  for (int i = 0; i < point_count; i++) {
    char line[64];
    std::snprintf(line, sizeof line, "%5.1lf \t %8.2lf\n", i * total_ms / point_count, raw[i] / 10.0);
    expected += line;
  }
  EXPECT_EQ(file_text(save_answer), expected);
  EXPECT_TRUE(boxes_.texts().empty());

  // A file that cannot be created is reported.
  save_answer = folder_.file("no such folder\\XY_P01S02T0301A.txt");
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_save_text, 0);
  ASSERT_EQ(boxes_.texts().size(), 1u);
  EXPECT_EQ(boxes_.texts()[0].rfind("*** UNABLE TO CREATE FILE [" + save_answer + "] ***", 0), 0u);
}

TEST_F(MeasGraphTest, TheWindowGoesToTheClipboardAtItsClientSize) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_copy_window, 0);
  RECT client{};
  GetClientRect(graph->hwnd(), &client);
  BITMAP info{};
  ASSERT_TRUE(clipboard_bitmap(&info));
  EXPECT_EQ(info.bmWidth, client.right);
  EXPECT_EQ(info.bmHeight, client.bottom);

  // The average trace into the trace clipboard, under its own name.
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_copy_average, 0);
  EXPECT_EQ(trace_clipboard.get_count(), point_count);
  EXPECT_EQ(std::string(trace_clipboard.label()), graph->main_trace()->name());
  EXPECT_EQ(trace_clipboard.source_window(), nullptr);
}

TEST_F(MeasGraphTest, APrintThroughThePostScriptPrinter) {
  measGraphClass* graph = open(false);
  ASSERT_NE(graph, nullptr);
  std::string file = default_printer_file();
  ASSERT_FALSE(file.empty()) << "no default printer on a file port: tools/wine-printer.sh sets it up";
  DeleteFileA(file.c_str());
  print_dialog_calls previous = print_dialog_ui_install(
      print_dialog_calls{default_printer_dialog, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  SendMessageA(graph->hwnd(), WM_COMMAND, mg_print, 0);
  print_dialog_ui_install(previous);
  EXPECT_EQ(printing_flag, 0);
  EXPECT_TRUE(boxes_.texts().empty());
  EXPECT_EQ(printed_pages(file), 1);
  EXPECT_TRUE(CopyFileA(file.c_str(), "meas_graph_print.ps", FALSE));
}

}  // namespace
