// No stored value makes Tolmaro loop or crash: every numeric field of a
// test's record and of its block headers, in turn, at each value that
// breaks careless code, on a flash test and on a flicker test, opened as a
// session whose thumbnail, measurement graph and summary are painted, on the
// screen and on a bitmap. A watchdog ends the run, naming the case, when one
// of them does not end.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/winlib/tests/memory_bitmap.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/data/tests/record_field_cases.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/summary/summary.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/tests/watchdog.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// A flicker response at 30 Hz or a flash response, 400 points over 200 mS.
std::vector<int32_t> response(bool flicker) {
  std::vector<int32_t> v(400);
  for (int i = 0; i < 400; i++) {
    double t = i * 0.5 - (flicker ? 0.0 : 20.0);
    double y = 0.0;
    if (t > 0 && flicker) y = 50.0 * std::sin(2.0 * 3.14159265358979 * t / 33.0);
    if (t > 0 && !flicker)
      y = -60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) + 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2));
    v[static_cast<size_t>(i)] = static_cast<int32_t>(std::lround(y * 10.0));
  }
  return v;
}

testFileRecord base_record(bool flicker) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 2;
  record->T = 3;
  record->N = 1;
  record->FlickerMark = flicker ? u'Y' : u'N';
  record->Config.Intensity = 3000;
  record->Config.RepeatCount = flicker ? 30 : 1;
  record->Config.RepeatInterval = flicker ? 33 : 1000;
  record->Config.SampleRate = 2000;
  record->Config.PreTime = flicker ? 0 : 20;
  record->Config.PostTime = flicker ? 33 : 180;
  record->TestTime = fileTime{0, 30000000};
  uint32_t pre = flicker ? 0 : 20;
  fill_block(record->Average, response(flicker), 10.0, 200, pre);
  fill_block(record->LastSweep, response(flicker), 1.0, 200, pre);
  return *record;
}

void paint_on_bitmap(winTypeClass& window) {
  RECT client{};
  GetClientRect(window.hwnd(), &client);
  memoryBitmap canvas(std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, canvas.bitmap());
  paper scale;
  scale.set_from_window(window.hwnd());
  window.draw(dc, scale);
  SelectObject(dc, old);
  DeleteDC(dc);
}

// Opens the test as a session, paints its thumbnail, then its measurement
// graph and its summary, each on the screen and on a bitmap.
void open_and_paint(const std::string& path) {
  auto* panel = new sessionPanelClass(session_mode_pc, path.c_str(), 0);
  pump();
  if (panel->thumbnail_count() == 1 && panel->thumbnail(0)->loaded()) {
    thumbnailClass* thumb = panel->thumbnail(0);
    UpdateWindow(thumb->hwnd());
    paint_on_bitmap(*thumb);
    thumb->run_command(thumb_measurement_graph);
    pump();
    if (windowNode* graph = find_window_of_type(meas_graph_window_type)) {
      UpdateWindow(graph->hwnd);
      paint_on_bitmap(*graph->object);
    }
    panel->open_summary();
    pump();
    if (auto* summary = static_cast<summaryClass*>(panel->summary())) {
      UpdateWindow(summary->hwnd());
      paint_on_bitmap(*summary);
    }
  }
  delete panel;
  pump();
}

}  // namespace

TEST(StoredValuesOnScreen, NoFieldValueMakesLoadingMeasuringOrPaintingLoopOrCrash) {
  const std::vector<recordFieldCase> cases = record_field_cases();
  for (bool flicker : {false, true}) {
    for (const recordFieldCase& c : cases) {
      std::string name = std::string(flicker ? "flicker test, " : "flash test, ") + c.name;
      SCOPED_TRACE(name);
      temp_folder folder;
      testFileRecord record = base_record(flicker);
      c.apply(record);
      std::string path = folder.file("P01S02T0301A.tst");
      write_bytes(path, test_file_bytes(record));
      message_capture boxes;
      watchdog bound(name);
      open_and_paint(path);
    }
  }
}

TEST(StoredValuesOnScreen, AWaveTheSearchDidNotFindShowsDashesNeverItsMarker) {
  // The response falls from the flash on: the b-wave is the flash's own
  // point, and no point before it can be the a-wave.
  temp_folder folder;
  testFileRecord record = base_record(false);
  std::vector<int32_t> falling(400);
  for (int i = 0; i < 400; i++) falling[static_cast<size_t>(i)] = i < 40 ? 0 : 2000 - 5 * (i - 40);
  fill_block(record.Average, falling, 10.0, 200, 20);
  std::string path = folder.file("P01S02T0301A.tst");
  write_bytes(path, test_file_bytes(record));
  message_capture boxes;
  auto* panel = new sessionPanelClass(session_mode_pc, path.c_str(), 0);
  ASSERT_EQ(panel->thumbnail_count(), 1);
  thumbnailClass* thumb = panel->thumbnail(0);
  ASSERT_TRUE(thumb->loaded());
  paint_on_bitmap(*thumb);
  EXPECT_STREQ(thumb->waveform_line(2), "a-wave ---");
  // Its amplitude is measured from the a-wave: only its time is known.
  EXPECT_STREQ(thumb->waveform_line(3), "b-wave    --- uV at  0.0 mS");
  // The model keeps the marker, as the state file stores it.
  EXPECT_EQ(thumb->document().model()->awave_point.value(), 200000.0);

  thumb->run_command(thumb_measurement_graph);
  pump();
  windowNode* graph = find_window_of_type(meas_graph_window_type);
  ASSERT_NE(graph, nullptr);
  textObjectClass& erg = static_cast<measGraphClass*>(graph->object)->erg_text();
  EXPECT_STREQ(erg.line_text(0), "a-wave amplitude =   --- uV, implicit time =   --- mS");
  EXPECT_STREQ(erg.line_text(1), "b-wave amplitude =   --- uV, implicit time =   0.0 mS");
  EXPECT_EQ(std::string(erg.line_text(2)).rfind("b/a ratio =      --- :baseline", 0), 0u) << erg.line_text(2);

  panel->open_summary();
  auto* summary = static_cast<summaryClass*>(panel->summary());
  ASSERT_NE(summary, nullptr);
  const int row = summary->table()->header_row_count();
  for (int c : {6, 7, 8, 10}) EXPECT_STREQ(summary->table()->cell_text(row, c), "---") << c;
  EXPECT_STREQ(summary->table()->cell_text(row, 9), "  0.0");
  // A pair with a cell showing "---" is not plotted at the marker.
  summary->table()->select_cell(row, 9, cell_role_x);
  summary->table()->select_cell(row, 8, cell_role_y);
  EXPECT_FALSE(summary->plot_selected());
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"*** The selected cells hold no values to plot ***"});
  boxes.clear();
  delete panel;
  pump();
  EXPECT_TRUE(boxes.texts().empty());
}
