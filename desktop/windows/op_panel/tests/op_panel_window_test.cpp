// The OP panel under the virtual display: the sources it refuses, its
// sliders, menus and texts, slider messages that filter again, a source too
// short for the filter, the copies to the trace clipboard and a measurement
// graph, and a panel that goes on after the graph that gave its trace
// closed.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "desktop/windows/fft_graphs/tests/erg_test_file.h"
#include "desktop/data/graph/graph.h"
#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/winlib/tests/memory_printer.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/windows/op_panel/op_panel.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/data/trace_filters.h"
#include "desktop/winlib/tests/window_fixture.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// n points at rate Hz from -20 mS: a slow 20 Hz wave of 100 and 150 Hz
// wavelets of 5.
std::unique_ptr<traceClass> response(int n, double rate = 1000.0) {
  auto t = std::make_unique<traceClass>();
  std::vector<xyPair> p(n);
  for (int i = 0; i < n; i++) {
    double ms = i * 1000.0 / rate - 20.0;
    p[i] = {ms, 100.0 * std::sin(2 * pi * 20 * ms / 1000.0) + 5.0 * std::sin(2 * pi * 150 * ms / 1000.0)};
  }
  t->set_points(3, p.data(), n);
  t->set_label("source");
  return t;
}

double largest_value(const traceClass& t) {
  double m = 0.0;
  for (int i = 0; i < t.get_count(); i++) m = std::max(m, std::fabs(t.y_at(i)));
  return m;
}

// The view centre the panel should show: the middle of the shown trace less
// the centre offset.
std::string centred(const char* format, const opPanelClass& panel, double magnification) {
  const traceClass* t = panel.shown_trace();
  double c = (t->x(0) + t->x(t->get_count() - 1)) / 2.0 - panel.centre_offset();
  char text[64];
  std::snprintf(text, sizeof text, format, c, magnification);
  return text;
}

// A slider moved as its arrow keys move it, then the refresh.
void move_slider(opPanelClass& panel, trackbarClass* slider, int position) {
  SendMessageA(slider->hwnd(), TBM_SETPOS, TRUE, position);
  panel.handle_message(WM_HSCROLL, MAKEWPARAM(TB_LINEDOWN, 0), reinterpret_cast<intptr_t>(slider->hwnd()));
  UpdateWindow(panel.hwnd());
}

class OpPanel : public windowFixture {};

TEST_F(OpPanel, SourcesWithoutDataMakeNoPanel) {
  struct row {
    const char* what;
    std::vector<xyPair> points;
  } rows[] = {{"no points", {}}, {"one point", {{1.0, 2.0}}}, {"zero span", {{1.0, 2.0}, {1.0, 3.0}}}};
  for (const row& r : rows) {
    SCOPED_TRACE(r.what);
    traceClass t;
    if (!r.points.empty()) t.set_points(3, r.points.data(), static_cast<int32_t>(r.points.size()));
    message_capture capture;
    EXPECT_EQ(open_op_panel(nullptr, &t, "x", 10, 10), nullptr);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** NO DATA IN FOR OSC POTENTIALS ***"});
  }
}

TEST_F(OpPanel, SlidersMenusAndTexts) {
  auto source = response(1000);
  opPanelClass* panel = open_op_panel(nullptr, source.get(), "CG1/1", 10, 10);
  ASSERT_NE(panel, nullptr);
  UpdateWindow(panel->hwnd());
  EXPECT_EQ(window_text(panel->hwnd()), "OP( CG1/1 )");
  EXPECT_EQ(panel->taps(), 63);
  EXPECT_DOUBLE_EQ(panel->sampling_rate(), 1000.0);
  struct range {
    trackbarClass* slider;
    int min, max, position;
  } ranges[] = {{panel->low_slider(), 0, 499, 100},
                {panel->high_slider(), 0, 499, 300},
                {panel->centre_slider(), 0, 1000, 500},
                {panel->magnification_slider(), 1, 10, 1}};
  for (const range& r : ranges) {
    HWND bar = r.slider->hwnd();
    EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMIN, 0, 0), r.min);
    EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0), r.max);
    EXPECT_EQ(SendMessageA(bar, TBM_GETPOS, 0, 0), r.position);
  }
  EXPECT_EQ(GetMenuItemCount(panel->menu()), 2);
  EXPECT_EQ(GetMenuItemCount(panel->popup()), 2);
  EXPECT_STREQ(panel->band_text().line_text(0), "[100 Hz .. 300 Hz]");
  EXPECT_EQ(panel->view_text().line_text(0), centred("ctr %6.2lf mS  mag %lg", *panel, 1.0));
  EXPECT_STREQ(panel->caption_text().line_text(0), "OP( CG1/1 )");
  EXPECT_STREQ(panel->low_slider()->caption().line_text(0), "Min Freq = 100.0 Hz ");
  EXPECT_STREQ(panel->high_slider()->caption().line_text(0), "Max Freq = 300.0 Hz ");
  EXPECT_EQ(panel->centre_slider()->caption().line_text(0), centred("Center: %6.2lf mS", *panel, 1.0));
  EXPECT_STREQ(panel->magnification_slider()->caption().line_text(0), "Magnification :   1.00");

  // The shown trace is the band-pass of the source: the wavelets without
  // the slow wave.
  std::unique_ptr<traceClass> expected(fir_filter_trace(source.get(), 63, 100.0, 300.0, nullptr));
  traceClass* shown = panel->shown_trace();
  ASSERT_EQ(shown->get_count(), expected->get_count());
  for (int i = 0; i < shown->get_count(); i++) ASSERT_DOUBLE_EQ(shown->y_at(i), expected->y_at(i));
  EXPECT_NEAR(largest_value(*shown), 5.0, 0.5);

  // A lower edge of 10 Hz lets the slow wave through.
  move_slider(*panel, panel->low_slider(), 10);
  EXPECT_EQ(panel->low_frequency(), 10);
  EXPECT_GT(largest_value(*panel->shown_trace()), 50.0);
  EXPECT_STREQ(panel->band_text().line_text(0), "[10 Hz .. 300 Hz]");
  // An upper edge below the lower one: the outward brackets.
  move_slider(*panel, panel->high_slider(), 5);
  EXPECT_STREQ(panel->band_text().line_text(0), "]5 Hz .. 10 Hz[");

  // Dragging the magnification thumb to 10 shows a tenth; the centre at 0
  // moves the view half the span to the left.
  panel->handle_message(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 10),
                        reinterpret_cast<intptr_t>(panel->magnification_slider()->hwnd()));
  move_slider(*panel, panel->centre_slider(), 0);
  EXPECT_DOUBLE_EQ(panel->magnification(), 10.0);
  const traceClass* shown_now = panel->shown_trace();
  EXPECT_DOUBLE_EQ(panel->centre_offset(), 500 * 999.0 / 1000);
  EXPECT_NEAR(panel->graph().x_range_max() - panel->graph().x_range_min(),
              (shown_now->x(shown_now->get_count() - 1) - shown_now->x(0)) / 10.0, 1e-9);
  EXPECT_EQ(panel->view_text().line_text(0), centred("ctr %6.2lf mS  mag %lg", *panel, 10.0));
  close(panel);
}

TEST_F(OpPanel, LimitBelowTheDefaultBandKeepsTheStoredEdge) {
  auto source = response(600, 600.0);
  opPanelClass* panel = open_op_panel(nullptr, source.get(), "slow", 10, 10);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->frequency_limit(), 299);
  EXPECT_EQ(SendMessageA(panel->high_slider()->hwnd(), TBM_GETPOS, 0, 0), 299);
  EXPECT_EQ(panel->high_frequency(), 300);
  EXPECT_EQ(panel->taps(), 63);
  close(panel);
}

TEST_F(OpPanel, ShortSourceIsShownUnfiltered) {
  auto source = response(20);
  opPanelClass* panel = open_op_panel(nullptr, source.get(), "short", 10, 10);
  ASSERT_NE(panel, nullptr);
  UpdateWindow(panel->hwnd());
  EXPECT_EQ(panel->taps(), 31);
  traceClass* shown = panel->shown_trace();
  ASSERT_EQ(shown->get_count(), 20);
  for (int i = 0; i < 20; i++) EXPECT_DOUBLE_EQ(shown->y_at(i), source->y_at(i));
  close(panel);
}

TEST_F(OpPanel, CopiesOn) {
  auto source = response(1000);
  // A title with '%' in it is shown as it is.
  opPanelClass* panel = open_op_panel(nullptr, source.get(), "copies %s%n", 10, 10);
  ASSERT_NE(panel, nullptr);
  UpdateWindow(panel->hwnd());
  EXPECT_STREQ(panel->caption_text().line_text(0), "OP( copies %s%n )");
  SendMessageA(panel->hwnd(), WM_COMMAND, op_copy_trace, 0);
  EXPECT_STREQ(trace_clipboard.label(), "(OP 100..300)");
  EXPECT_EQ(trace_clipboard.get_count(), panel->shown_trace()->get_count());

  // Outside the plot the pop-up does not open.
  popup_answer = op_popup_trace_clipboard;
  trace_clipboard.store(source.get(), nullptr);
  panel->handle_message(WM_RBUTTONDOWN, 0, MAKELPARAM(1, 1));
  EXPECT_STREQ(trace_clipboard.label(), "source");
  int x = (panel->graph().plot_left() + panel->graph().plot_right()) / 2;
  int y = (panel->graph().plot_top() + panel->graph().plot_bottom()) / 2;
  panel->handle_message(WM_RBUTTONDOWN, 0, MAKELPARAM(x, y));
  EXPECT_STREQ(trace_clipboard.label(), "(OP 100..300)");

  // A measurement graph needs a test: without one above the panel it says
  // so; the shown trace has been relabelled all the same.
  popup_answer = op_popup_measurement_graph;
  message_capture capture;
  panel->handle_message(WM_RBUTTONDOWN, 0, MAKELPARAM(x, y));
  EXPECT_STREQ(panel->shown_trace()->label(), "OP 100..300");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** Measurement Graph called without supplying a thumbnail ***"});
  close(panel);
}

TEST_F(OpPanel, CopiedIntoAMeasurementGraphOfItsTest) {
  temp_folder folder;
  message_capture boxes;
  auto* thumb = new thumbnailClass(nullptr, 1, 0, 0, write_erg_test(folder, "P01S02T0301A.tst").c_str(), 1);
  ASSERT_TRUE(thumb->loaded());
  opPanelClass* panel = open_op_panel(thumb, thumb->document().entry()->active_trace(), "P01S02T0301A", 10, 10);
  ASSERT_NE(panel, nullptr);
  UpdateWindow(panel->hwnd());
  popup_answer = op_popup_measurement_graph;
  int x = (panel->graph().plot_left() + panel->graph().plot_right()) / 2;
  int y = (panel->graph().plot_top() + panel->graph().plot_bottom()) / 2;
  panel->handle_message(WM_RBUTTONDOWN, 0, MAKELPARAM(x, y));
  pump();
  windowNode* node = find_window_of_type(window_type::measurement_graph);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->parent, find_window_node(panel));
  auto* graph = static_cast<measGraphClass*>(node->object);
  ASSERT_NE(graph->main_trace(), nullptr);
  EXPECT_STREQ(graph->main_trace()->label(), "OP 100..300");
  EXPECT_EQ(graph->main_trace()->get_count(), panel->shown_trace()->get_count());
  EXPECT_TRUE(boxes.texts().empty());
  // The panel and its graph go with the test.
  delete thumb;
  pump();
  EXPECT_EQ(find_window_of_type(window_type::operations), nullptr);
}

TEST_F(OpPanel, PrintsAWhitePlotWithABlackTrace) {
  auto source = response(1000);
  opPanelClass* panel = open_op_panel(nullptr, source.get(), "print", 10, 10);
  ASSERT_NE(panel, nullptr);
  message_capture boxes;
  {
    memoryPrinter printer(800, 600, 200, 150);
    UpdateWindow(panel->hwnd());
    RECT before{}, after{};
    GetWindowRect(panel->centre_slider()->hwnd(), &before);
    SendMessageA(panel->hwnd(), WM_COMMAND, op_print, 0);
    // The sliders stay where the screen has them.
    GetWindowRect(panel->centre_slider()->hwnd(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    // On the screen the plot is red and the trace white.
    EXPECT_EQ(printer.count(RGB(255, 0, 0), printer.whole()), 0);
    EXPECT_GT(printer.count(RGB(0, 0, 0), RECT{12, 40, 788, 430}), 500);
  }
  EXPECT_TRUE(boxes.texts().empty());
  UpdateWindow(panel->hwnd());
  EXPECT_EQ(panel->graph().plot_mode(), 0);
  close(panel);
}

TEST_F(OpPanel, GoesOnAfterItsSourceGraphClosed) {
  auto graph = std::make_unique<graphClass>();
  auto source = response(1000);
  tracePlusClass* entry = graph->add_trace(source.get());
  ASSERT_NE(entry, nullptr);
  opPanelClass* panel = open_op_panel(nullptr, entry->active_trace(), "gone", 10, 10);
  ASSERT_NE(panel, nullptr);
  graph.reset();  // the entry and its trace are gone
  move_slider(*panel, panel->low_slider(), 120);
  EXPECT_EQ(panel->low_frequency(), 120);
  std::unique_ptr<traceClass> expected(fir_filter_trace(source.get(), 63, 120.0, 300.0, nullptr));
  ASSERT_EQ(panel->shown_trace()->get_count(), expected->get_count());
  for (int i = 0; i < expected->get_count(); i++)
    ASSERT_DOUBLE_EQ(panel->shown_trace()->y_at(i), expected->y_at(i));
  close(panel);
}

}  // namespace
