// The sample selection under the virtual display: its grid of sample
// windows, the check boxes written into the samples list and reported to
// the opener, the refusal to leave no sample included, TCOPY, closing, and
// printed pages on a memory page through the print path.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/tests/memory_printer.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/samples/sample_layout.h"
#include "desktop/windows/samples/sample_select.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// count samples of 100 points over 100 mS; sample k is a ramp of height
// 10 (k + 1) uV.
struct sampleFixture {
  std::unique_ptr<testFileRecord> record = make_record();
  samplesListClass list;

  explicit sampleFixture(int count) {
    for (int k = 0; k < count; k++) {
      std::vector<int32_t> values(100);
      for (int i = 0; i < 100; i++) values[static_cast<size_t>(i)] = (k + 1) * i / 10;
      samplesBlock block{};
      fill_block(block, values, 1.0, 100, 0);
      list.add_sample(*record, block, k);
    }
  }
};

// A click on sample window k's check box, as the button reports it.
void click(sampleSelectWindowClass& selection, int k) {
  sampleWindowClass* w = selection.sample_window(k);
  SendMessageA(w->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(w->check_box()->hwnd()));
}

class SampleSelection : public ::testing::Test {
 protected:
  void TearDown() override {
    pump_messages();
    holder.notices.clear();
  }
  testHolderWindow& holder = shared_holder();
  message_capture boxes;
};

TEST_F(SampleSelection, OneSampleWindowPerSampleInTheGrid) {
  sampleFixture samples(6);
  samples.list.set_sample_flag(4, 0);
  auto* selection = new sampleSelectWindowClass(&holder, "Samples for: P01S02T0301A.tst", 10.0, 20.0, &samples.list);
  ASSERT_NE(selection->hwnd(), nullptr);
  EXPECT_STREQ(selection->title(), "Samples for: P01S02T0301A.tst");
  ASSERT_EQ(selection->sample_window_count(), 6);

  // Two columns of three rows, one millimetre apart, in sample order.
  sampleGrid grid = sample_grid(6, screen_paper.height_mm);
  ASSERT_EQ(grid.columns, 2);
  for (int k = 0; k < 6; k++) {
    sampleWindowClass* w = selection->sample_window(k);
    EXPECT_EQ(window_text(w->check_box()->hwnd()), "Use 0" + std::to_string(k));
    EXPECT_EQ(w->is_included(), k != 4) << k;
    EXPECT_STREQ(w->trace()->label(), ("[spl " + std::to_string(k) + "]").c_str());
    RECT r{};
    GetWindowRect(w->hwnd(), &r);
    MapWindowPoints(nullptr, selection->hwnd(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, screen_paper.px_x((k % 2) * 41.0)) << k;
    EXPECT_EQ(r.top, screen_paper.px_y((k / 2) * 41.0)) << k;
  }
  // The window sits against the right edge of the screen.
  RECT outer{};
  GetWindowRect(selection->hwnd(), &outer);
  EXPECT_NEAR(outer.right, GetSystemMetrics(SM_CXSCREEN), 2);

  HMENU file = GetSubMenu(selection->menu(), 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(GetMenuItemID(file, 0), static_cast<UINT>(samples_print));
  EXPECT_EQ(GetMenuItemID(file, 1), static_cast<UINT>(samples_close));

  // Close posts its close: the opener hears of it and the windows go.
  HWND window = selection->hwnd();
  SendMessageA(window, WM_COMMAND, samples_close, 0);
  pump_messages();
  EXPECT_FALSE(IsWindow(window));
  ASSERT_EQ(holder.notices.size(), 1u);
  EXPECT_EQ(holder.notices[0].first, samples_notice_closing);
  EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(SampleSelection, ChecksAreWrittenAndTheLastIncludedSampleStays) {
  sampleFixture samples(3);
  auto* selection = new sampleSelectWindowClass(&holder, "three", 10.0, 20.0, &samples.list);
  ASSERT_EQ(selection->sample_window_count(), 3);
  double all_three = samples.list.average()->y_at(99);

  click(*selection, 2);
  EXPECT_EQ(samples.list.get_sample_flag(2), 0);
  ASSERT_EQ(holder.notices.size(), 1u);
  EXPECT_EQ(holder.notices[0].first, samples_notice_changed);
  EXPECT_LT(samples.list.average()->y_at(99), all_three);

  click(*selection, 1);
  EXPECT_EQ(samples.list.get_sample_flag(1), 0);
  double only_first = samples.list.average()->y_at(99);

  // The last included sample: refused, its box checked again, and not one
  // flag written; the opener hears nothing.
  holder.notices.clear();
  click(*selection, 0);
  EXPECT_TRUE(selection->sample_window(0)->is_included());
  EXPECT_EQ(samples.list.get_sample_flag(0), 1);
  ASSERT_NE(samples.list.average(), nullptr);
  EXPECT_DOUBLE_EQ(samples.list.average()->y_at(99), only_first);
  EXPECT_TRUE(holder.notices.empty());

  // Checked again, the sample takes part again.
  click(*selection, 2);
  EXPECT_EQ(samples.list.get_sample_flag(2), 1);
  EXPECT_EQ(holder.notices.size(), 1u);
  EXPECT_TRUE(boxes.texts().empty());
  delete selection;
}

int chosen_command = 0;
BOOL scripted_menu(HMENU, UINT, int, int, HWND, LPTPMPARAMS) { return chosen_command; }

TEST_F(SampleSelection, TcopyPutsTheSampleOnTheTraceClipboard) {
  sampleFixture samples(2);
  auto* selection = new sampleSelectWindowClass(&holder, "two", 10.0, 20.0, &samples.list);
  popup_menu_calls previous = popup_menu_ui_install(popup_menu_calls{scripted_menu});
  chosen_command = sample_copy_command;
  SendMessageA(selection->sample_window(1)->hwnd(), WM_RBUTTONDOWN, 0, MAKELPARAM(20, 20));
  popup_menu_ui_install(previous);
  ASSERT_TRUE(trace_clipboard.loaded());
  EXPECT_STREQ(trace_clipboard.label(), "[spl 1]");
  EXPECT_EQ(trace_clipboard.color, 5);
  EXPECT_EQ(trace_clipboard.source_window(), nullptr);
  EXPECT_DOUBLE_EQ(trace_clipboard.y_at(99), samples.list.get_trace(1)->y_at(99));
  delete selection;
}

// ---- printing --------------------------------------------------------------

// An A4 page of 4 pixels a millimetre in memory; the document calls count.
struct a4Printer : memoryPrinter {
  a4Printer() : memoryPrinter(840, 1188, 210, 297) {}
  // The pixel at (x, y) mm.
  COLORREF at(double x, double y) const { return memoryPrinter::at(static_cast<int>(x * 4), static_cast<int>(y * 4)); }
};

TEST_F(SampleSelection, APrintedPageShowsTheAverageAndEverySample) {
  sampleFixture samples(12);
  samples.list.set_sample_flag(3, 0);
  auto* selection = new sampleSelectWindowClass(&holder, "twelve", 10.0, 20.0, &samples.list);
  a4Printer memory;
  SendMessageA(selection->hwnd(), WM_COMMAND, samples_print, 0);
  EXPECT_EQ(memory.documents, 1);
  EXPECT_EQ(memory.pages_started, 1);
  EXPECT_EQ(memory.pages_ended, 1);
  EXPECT_EQ(printing_flag, 0);
  EXPECT_TRUE(boxes.texts().empty());

  samplePrintPlan plan = plan_sample_print(12, 210.0, 297.0);
  // Each cell's edge: green for an included sample, red for the excluded one.
  for (int k = 0; k < 12; k++) {
    double x = plan.cells[static_cast<size_t>(k)].x + 0.5;
    double y = plan.cells[static_cast<size_t>(k)].y + 20.0;
    EXPECT_EQ(memory.at(x, y), colour_value(k == 3 ? 0 : 2)) << k;
    // Inside: the white plot of its graph.
    EXPECT_EQ(memory.at(x + 20.0, y - 17.0), RGB(255, 255, 255)) << k;
  }
  // The excluded cell is crossed: its diagonal is drawn in black.
  const samplePrintCell& crossed = plan.cells[3];
  bool dark = false;
  for (double d = -0.5; d <= 0.5; d += 0.25)
    if (memory.at(crossed.x + 10.0 + d, crossed.y + 10.0) == RGB(0, 0, 0)) dark = true;
  EXPECT_TRUE(dark);
  // The average graph's white plot above the cells, framed in black.
  EXPECT_EQ(memory.at(plan.centre - 40.0, 25.0), RGB(255, 255, 255));
  EXPECT_EQ(memory.at(plan.centre - 80.0, 40.0), RGB(0, 0, 0));

  // 41 samples take three pages, each numbered.
  sampleFixture many(41);
  auto* second = new sampleSelectWindowClass(&holder, "many", 10.0, 20.0, &many.list);
  a4Printer more;
  EXPECT_TRUE(second->print());
  EXPECT_EQ(more.pages_started, 3);
  EXPECT_EQ(more.pages_ended, 3);
  delete second;
  delete selection;
}

}  // namespace
