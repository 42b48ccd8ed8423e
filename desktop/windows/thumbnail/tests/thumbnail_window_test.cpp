// A thumbnail under the virtual display, on tests written by code: its menu
// with and without samples, the sample selection opened from it, samples in
// name order, a flicker test's results, the test time by record version,
// painting (loaded and not), its menu run as a person runs it, the drag of
// its trace, and the information window's Save and its closing question.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/windows/drag/drag_item.h"
#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/tests/memory_bitmap.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/tests/program_setting_restore.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/samples/sample_select.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/test_state.h"
#include "desktop/winlib/drawing/text_drawing.h"
#include "desktop/windows/thumbnail/thumb_state.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// A flash response (a trough at 15 mS, a peak at 40 mS) or a flicker
// response, scaled by gain, 400 points over 200 mS, 20 mS before the flash.
std::vector<int32_t> response(double gain, bool flicker) {
  std::vector<int32_t> v(400);
  for (int i = 0; i < 400; i++) {
    double t = i * 0.5 - 20.0;
    double y = 0.0;
    if (t > 0 && flicker) y = 50.0 * std::sin(2.0 * 3.14159265358979 * t / 33.0);
    if (t > 0 && !flicker)
      y = -60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) + 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2));
    v[static_cast<size_t>(i)] = static_cast<int32_t>(std::lround(gain * y * 10.0));
  }
  return v;
}

struct testFields {
  int version = 3030;
  bool flicker = false;
  uint64_t time = 133000000000000000ull;  // the record's own time
  // Gains of the sample files "-01.spl", "-02.spl", ... written in the order
  // of writing_order (indices into gains).
  std::vector<double> gains;
  std::vector<int> writing_order;
  // The sweeps summed into the stored average (its divisor); 0: the sample
  // files and the last sweep, as the unit stores a whole test (10 without
  // sample files). The stored average reads the same whatever it is.
  int sweeps = 0;
  // Where the test came from.
  std::u16string unit_id = u"123456";
  std::u16string cfc_id = u"CFC01";
  float filter = 1.0f;
};

std::string write_test(const temp_folder& folder, const std::string& name, const testFields& fields) {
  auto record = make_record();
  record->ProgramVersion = fields.version;
  record->P = 1;
  record->S = 2;
  record->T = 3;
  record->N = 1;
  record->Eye = u'S';
  record->FlickerMark = fields.flicker ? u'Y' : u'N';
  record->Config.RepeatCount = 1;
  record->Config.RepeatInterval = fields.flicker ? 33 : 1000;
  record->Config.PreTime = 20;
  record->Config.PostTime = 180;
  std::fill(std::begin(record->UnitId), std::end(record->UnitId), u'\0');
  std::fill(std::begin(record->CfcId), std::end(record->CfcId), u'\0');
  std::copy(fields.unit_id.begin(), fields.unit_id.end(), record->UnitId);
  std::copy(fields.cfc_id.begin(), fields.cfc_id.end(), record->CfcId);
  record->FilterValue = fields.filter;
  record->TestTime.LowDateTime = static_cast<uint32_t>(fields.time);
  record->TestTime.HighDateTime = static_cast<uint32_t>(fields.time >> 32);
  const int sweeps = fields.sweeps ? fields.sweeps : fields.gains.empty() ? 10 : static_cast<int>(fields.gains.size()) + 1;
  fill_block(record->Average, response(sweeps / 10.0, fields.flicker), sweeps, 200, 20);
  fill_block(record->LastSweep, response(1.0, fields.flicker), 10.0, 200, 20);
  std::string path = folder.file(name);
  write_bytes(path, test_file_bytes(*record));
  std::string base = name.substr(0, name.rfind('.'));
  std::vector<int> order = fields.writing_order;
  if (order.empty())
    for (size_t s = 0; s < fields.gains.size(); s++) order.push_back(static_cast<int>(s));
  for (int s : order) {
    samplesBlock block{};
    fill_block(block, response(fields.gains[static_cast<size_t>(s)], fields.flicker), 10.0, 200, 20);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%.2d.spl", s + 1);
    write_bytes(folder.file(base + suffix), samples_file_bytes(block));
  }
  return path;
}

// The items of a menu and its submenus, as "id text" lines.
std::vector<std::string> menu_items(HMENU menu) {
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(menu); i++) {
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    if (HMENU sub = GetSubMenu(menu, i)) {
      items.push_back(std::string("> ") + text);
      for (const std::string& s : menu_items(sub)) items.push_back(s);
    } else {
      items.push_back(std::to_string(GetMenuItemID(menu, i)) + " " + text);
    }
  }
  return items;
}

bool has_item(const std::vector<std::string>& items, const std::string& item) {
  for (const std::string& s : items)
    if (s == item) return true;
  return false;
}

// A memory bitmap of the thumbnail's client size, white, drawn on by its
// paint.
struct paintedThumbnail : memoryBitmap {
  explicit paintedThumbnail(thumbnailClass& thumb) : paintedThumbnail(thumb, client_of(thumb.hwnd())) {}
  paintedThumbnail(thumbnailClass& thumb, const RECT& client) : memoryBitmap(client.right, client.bottom) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap());
    paper scale;
    scale.set_from_window(thumb.hwnd());
    thumb.draw(dc, scale);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  // The pixels of a colour in the columns from x0 up to x1.
  int count(COLORREF colour, int x0, int x1) const {
    return memoryBitmap::count(colour, RECT{x0, 0, x1, height()});
  }

  static RECT client_of(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
  }
};

int chosen_command = 0;
BOOL scripted_menu(HMENU, UINT, int, int, HWND, LPTPMPARAMS) { return chosen_command; }

class Thumbnail : public ::testing::Test {
 protected:
  void TearDown() override {
    pump_messages();
    popup_menu_ui_install(previous_menu_);
  }
  // The pop-up menu at (20, 20) answered with command.
  void run_from_menu(thumbnailClass& thumb, int command) {
    chosen_command = command;
    SendMessageA(thumb.hwnd(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
  }
  testHolderWindow& holder = shared_holder();
  popup_menu_calls previous_menu_ = popup_menu_ui_install(popup_menu_calls{scripted_menu});
  temp_folder folder;
  message_capture boxes;
};

TEST_F(Thumbnail, WithoutSamplesNoSampleSelectionAndAFlickerTestHasNoAWaveLine) {
  testFields fields;
  fields.flicker = true;
  auto* thumb = new thumbnailClass(&holder, 1, 0, 0, write_test(folder, "P01S02T0301A.tst", fields).c_str(), 1);
  ASSERT_TRUE(thumb->loaded());
  EXPECT_EQ(thumb->document().samples().get_count(), 0);
  std::vector<std::string> items = menu_items(thumb->popup_menu());
  EXPECT_FALSE(has_item(items, "2106 Show Sample Selection Window"));
  EXPECT_TRUE(has_item(items, "2101 60 Hz"));
  char text[128];
  thumb->document().filter_text(text, sizeof text);
  EXPECT_STREQ(text, "");
  thumb->run_command(thumb_sample_window);
  EXPECT_EQ(find_window_of_type(samples_window_type), nullptr);

  paintedThumbnail painted(*thumb);
  EXPECT_STREQ(thumb->waveform_line(2), " ");
  EXPECT_EQ(std::string(thumb->waveform_line(3)).rfind("b-wave ", 0), 0u);
  EXPECT_STREQ(thumb->waveform_line(6), "Filtering: ");
  delete thumb;
  EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(Thumbnail, SamplesComeInNameOrderAndTheSelectionChangesTheTrace) {
  testFields fields;
  fields.gains = {1.0, 2.0, 3.0};
  fields.writing_order = {2, 0, 1};  // "-03" written first
  std::string path = write_test(folder, "P01S02T0301A.tst", fields);
  auto* thumb = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
  samplesListClass& samples = thumb->document().samples();
  ASSERT_EQ(samples.get_count(), 4);
  // Point 120 is the b-wave's peak (40 mS): 150 uV times the file's gain.
  for (int k = 0; k < 3; k++) EXPECT_NEAR(samples.get_trace(k)->y_at(120), 150.0 * (k + 1), 0.5) << k;
  EXPECT_NEAR(samples.get_trace(3)->y_at(120), 150.0, 0.5);  // the record's last sweep
  traceClass* shown = thumb->document().entry()->active_trace();
  EXPECT_NEAR(shown->y_at(120), 150.0 * 7.0 / 4.0, 0.5);

  std::vector<std::string> items = menu_items(thumb->popup_menu());
  EXPECT_TRUE(has_item(items, "2106 Show Sample Selection Window"));
  run_from_menu(*thumb, thumb_sample_window);
  windowNode* node = find_window_of_type(samples_window_type);
  ASSERT_NE(node, nullptr);
  auto* selection = static_cast<sampleSelectWindowClass*>(node->object);
  EXPECT_EQ(selection, thumb->sample_window());
  EXPECT_STREQ(selection->title(), "Samples for: P01S02T0301A");
  EXPECT_TRUE(has_item(menu_items(thumb->popup_menu()), "2106 Hide Sample Selection Window"));
  EXPECT_NE(GetMenuState(thumb->popup_menu(), thumb_sample_window, MF_BYCOMMAND) & MF_CHECKED, 0u);

  // Sample 2 (gain 3) left out: the test's trace is the average of the rest.
  sampleWindowClass* third = selection->sample_window(2);
  SendMessageA(third->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(third->check_box()->hwnd()));
  EXPECT_EQ(samples.get_sample_flag(2), 0);
  EXPECT_NEAR(thumb->document().entry()->active_trace()->y_at(120), 150.0 * 4.0 / 3.0, 0.5);

  // Hidden and shown again: the same window.
  run_from_menu(*thumb, thumb_sample_window);
  EXPECT_FALSE(IsWindowVisible(selection->hwnd()));
  EXPECT_TRUE(has_item(menu_items(thumb->popup_menu()), "2106 Show Sample Selection Window"));
  run_from_menu(*thumb, thumb_sample_window);
  EXPECT_TRUE(IsWindowVisible(selection->hwnd()));
  EXPECT_EQ(thumb->sample_window(), selection);

  // Closed by its own menu: the thumbnail forgets it.
  SendMessageA(selection->hwnd(), WM_COMMAND, samples_close, 0);
  pump_messages();
  EXPECT_EQ(thumb->sample_window(), nullptr);
  EXPECT_EQ(GetMenuState(thumb->popup_menu(), thumb_sample_window, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_TRUE(has_item(menu_items(thumb->popup_menu()), "2106 Show Sample Selection Window"));

  // A thumbnail closed with its selection open takes the selection along.
  run_from_menu(*thumb, thumb_sample_window);
  HWND open = thumb->sample_window()->hwnd();
  delete thumb;
  EXPECT_FALSE(IsWindow(open));
  EXPECT_EQ(find_window_of_type(samples_window_type), nullptr);

  // A selection that another window opened on the samples closes with the
  // test all the same, and its opener hears of it.
  auto* other = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
  auto* foreign = new sampleSelectWindowClass(&holder, "other", 0.0, 0.0, &other->document().samples());
  HWND foreign_window = foreign->hwnd();
  holder.notices.clear();
  delete other;
  EXPECT_FALSE(IsWindow(foreign_window));
  ASSERT_EQ(holder.notices.size(), 1u);
  EXPECT_EQ(holder.notices[0].first, samples_notice_closing);

  // The state file keeps the flag by position.
  auto* again = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
  EXPECT_EQ(again->document().samples().get_sample_flag(2), 0);
  EXPECT_EQ(again->document().samples().get_sample_flag(0), 1);
  delete again;
  EXPECT_TRUE(boxes.texts().empty());
}

// A run cut while the unit stored the test left some of its sample files:
// the test says so when it loads and on its thumbnail, and shows the stored
// average, not an average of the sweeps left. All of them, or none (a test
// stored without sample files), is a whole test.
TEST_F(Thumbnail, ATestWithSomeOfItsSampleFilesIsMarkedAndKeepsItsStoredAverage) {
  const struct {
    int files;
    int sweeps;
    bool incomplete;
  } cases[] = {{2, 5, true}, {4, 5, false}, {0, 5, false}, {1, 2, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.files) + " of " + std::to_string(c.sweeps - 1));
    testFields fields;
    fields.gains.assign(static_cast<size_t>(c.files), 3.0);
    fields.sweeps = c.sweeps;
    temp_folder here;
    std::string path = write_test(here, "P01S02T0301A.tst", fields);
    boxes.clear();
    auto* thumb = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
    ASSERT_TRUE(thumb->loaded());
    EXPECT_EQ(thumb->document().incomplete(), c.incomplete);
    char text[128];
    thumb->document().filter_text(text, sizeof text);
    // Point 120 is the b-wave's peak: 150 uV in the stored average, 450 uV
    // in each sample file.
    const double peak = thumb->document().entry()->active_trace()->y_at(120);
    if (c.incomplete) {
      EXPECT_EQ(boxes.texts(), std::vector<std::string>{"*** TEST [" + path + "] IS INCOMPLETE ***\n2 of 4 sample "
                                                        "files: the stored average is shown."});
      EXPECT_STREQ(text, "(2 of 4 sample files) ");
      EXPECT_EQ(thumb->document().samples().get_count(), 0);
      EXPECT_NEAR(peak, 150.0, 0.5);
    } else {
      EXPECT_TRUE(boxes.texts().empty());
      EXPECT_EQ(thumb->document().samples().get_count(), c.files ? c.files + 1 : 0);
      EXPECT_NEAR(peak, c.files ? (450.0 * c.files + 150.0) / (c.files + 1) : 150.0, 0.5);
    }
    delete thumb;
  }
}

TEST_F(Thumbnail, TheTestTimeIsTheRecordsFromVersion3024AndTheFilesBefore) {
  // 2022-06-01 10:20:30 as the record's own time.
  SYSTEMTIME own{2022, 6, 3, 1, 10, 20, 30, 0};
  FILETIME own_time{};
  SystemTimeToFileTime(&own, &own_time);
  // 2019-03-04 05:06:07 as the file's last write.
  SYSTEMTIME written{2019, 3, 1, 4, 5, 6, 7, 0};
  FILETIME written_time{};
  SystemTimeToFileTime(&written, &written_time);

  for (int version : {3023, 3024}) {
    testFields fields;
    fields.version = version;
    fields.time = (static_cast<uint64_t>(own_time.dwHighDateTime) << 32) | own_time.dwLowDateTime;
    std::string path = write_test(folder, "P01S02T030" + std::to_string(version % 10) + "A.tst", fields);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME local_written{};
    LocalFileTimeToFileTime(&written_time, &local_written);
    SetFileTime(file, nullptr, nullptr, &local_written);
    CloseHandle(file);

    auto* thumb = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
    const SYSTEMTIME& t = thumb->document().test_time();
    const SYSTEMTIME& want = version >= 3024 ? own : written;
    EXPECT_EQ(t.wYear, want.wYear) << version;
    EXPECT_EQ(t.wMonth, want.wMonth) << version;
    EXPECT_EQ(t.wDay, want.wDay) << version;
    EXPECT_EQ(t.wHour, want.wHour) << version;
    EXPECT_EQ(t.wMinute, want.wMinute) << version;
    std::string line = thumb->document().info().lines[2];
    EXPECT_NE(line.find(version >= 3024 ? "]   1Jun 2022 10:20:30" : "]   4Mar 2019 05:06:07"), std::string::npos) << line;
    delete thumb;
  }
}

// The texts of the information window and the optical filter of the
// information block, from the record's fields.
TEST_F(Thumbnail, WhereTheTestCameFrom) {
  struct row {
    std::u16string unit_id;
    std::u16string cfc_id;
    int version;
    float filter;
    const char* serial;
    const char* cfc;
    const char* version_text;
    const char* filter_text;
    const char* intensity_line;
  };
  const row table[] = {
      {u"", u"", 0, 0.0f, "-unavailable-", "-unavailable-", "-unavailable-", "n/a", "intensity : 10 mcd.s/m^2.  "},
      {u"1234567", u"CFC-0000042", 3030, 1.0f, "1234567", "CFC-0000042", "3.030", "none",
       "intensity : 10 mcd.s/m^2.  "},
      // Fields filled to their ends: the serial has 7 characters, the CFC number at most 11.
      {u"7654321", u"CFC-000004299", 3024, 0.5f, "7654321", "CFC-0000042", "3.024", "0.500",
       "intensity : 10 mcd.s/m^2. ND-0.30103"},
  };
  int n = 0;
  for (const row& r : table) {
    testFields fields;
    fields.unit_id = r.unit_id;
    fields.cfc_id = r.cfc_id.substr(0, 12);
    fields.version = r.version;
    fields.filter = r.filter;
    std::string path = write_test(folder, "P01S02T030" + std::to_string(++n) + "A.tst", fields);
    testDocument doc;
    ASSERT_TRUE(doc.load(path.c_str(), 1, 1));
    doc.set_print_only();
    EXPECT_STREQ(doc.unit_serial_text(), r.serial) << n;
    EXPECT_STREQ(doc.cfc_number_text(), r.cfc) << n;
    EXPECT_STREQ(doc.version_text(), r.version_text) << n;
    EXPECT_STREQ(doc.nd_filter_text(), r.filter_text) << n;
    EXPECT_STREQ(doc.info().lines[3], r.intensity_line) << n;
  }
  EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(Thumbnail, PaintsItsGraphAndRunsItsMenuAndItsDrag) {
  std::string path = write_test(folder, "P01S02T0301A.tst", testFields{});
  auto* thumb = new thumbnailClass(&holder, 1, 10, 10, path.c_str(), 1);
  ShowWindow(thumb->hwnd(), SW_SHOW);
  paintedThumbnail painted(*thumb);
  graphClass& graph = thumb->document().graph();
  ASSERT_GT(graph.plot_right(), graph.plot_left());
  // The trace in blue (colour 3) inside the mini graph, none outside it.
  EXPECT_GT(painted.count(colour_value(3), graph.plot_left(), graph.plot_right() + 1), 20);
  EXPECT_EQ(painted.count(colour_value(3), graph.plot_right() + 2, painted.width()), 0);
  EXPECT_EQ(std::string(thumb->waveform_line(2)).rfind("a-wave ", 0), 0u);
  EXPECT_STREQ(thumb->waveform_line(4), "--auto a/b");

  // The menu as a person opens it: TCOPY, and the 60 Hz filter.
  run_from_menu(*thumb, thumb_trace_clipboard);
  EXPECT_EQ(trace_clipboard.source_window(), thumb);
  run_from_menu(*thumb, thumb_60hz);
  EXPECT_TRUE(thumb->document().entry()->has_60hz_filter());
  EXPECT_STREQ(thumb->waveform_line(6), "Filtering: 60Hz ");

  // A press in the mini graph drags its trace out: a drag item labelled
  // with the file name opens 20 mm above and 10 mm left of the cursor; with
  // no comparison graph open to take the trace it closes at once.
  trace_clipboard.forget_source(thumb);
  int x = (graph.plot_left() + graph.plot_right()) / 2;
  int y = (graph.plot_top() + graph.plot_bottom()) / 2;
  SendMessageA(thumb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  EXPECT_EQ(thumbnail_drag_active, 1);
  EXPECT_EQ(trace_clipboard.source_window(), thumb);
  windowNode* item = find_window_of_type(drag_item_type);
  ASSERT_NE(item, nullptr);
  char title[64] = {};
  GetWindowTextA(item->hwnd, title, sizeof title);
  EXPECT_STREQ(title, thumb->file_name());
  RECT frame{};
  GetWindowRect(item->hwnd, &frame);
  POINT cursor{x, y};
  ClientToScreen(thumb->hwnd(), &cursor);
  EXPECT_NEAR(frame.left, cursor.x - screen_paper.x_px_per_mm * 10.0, 2.0);
  EXPECT_NEAR(frame.top, cursor.y - screen_paper.y_px_per_mm * 20.0, 2.0);
  // While it is on, a press starts no second drag.
  SendMessageA(thumb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  pump_messages();
  EXPECT_EQ(find_window_of_type(drag_item_type), nullptr);
  EXPECT_EQ(thumbnail_drag_active, 0);

  // A press beside the graph is no drag; a drag still on when its thumbnail
  // closes ends with it.
  SendMessageA(thumb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(graph.plot_right() + 5, y));
  EXPECT_EQ(thumbnail_drag_active, 0);
  SendMessageA(thumb->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(graph.plot_right() + 5, y));
  SendMessageA(thumb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  delete thumb;
  EXPECT_EQ(thumbnail_drag_active, 0);
  EXPECT_EQ(trace_clipboard.source_window(), nullptr);
  EXPECT_TRUE(boxes.texts().empty());
}

// The save dialog answers with this path.
std::string save_answer;
BOOL scripted_save(OPENFILENAMEA* record) {
  std::snprintf(record->lpstrFile, record->nMaxFile, "%s", save_answer.c_str());
  record->nFileOffset = static_cast<WORD>(save_answer.rfind('\\') + 1);
  return TRUE;
}

TEST_F(Thumbnail, CopyTestDataToOpensTheAnalysisWindowsAndWritesTheTextFile) {
  std::string path = write_test(folder, "P01S02T0301A.tst", testFields{});
  auto* thumb = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
  std::vector<std::string> items = menu_items(thumb->popup_menu());
  const std::vector<std::string> copy_items{"> Copy Test Data To",   "2001 Trace Clipboard (TCOPY)",
                                            "2006 Measurement Graph", "2002 Comparison Graph",
                                            "2003 Osc Potentials Graph", "2004 FFT Graph",
                                            "2005 Band Pass Graph",  "2007 Text File (csv,xy)"};
  ASSERT_GE(items.size(), copy_items.size());
  EXPECT_EQ(std::vector<std::string>(items.begin(), items.begin() + 8), copy_items);

  // Each window opens on the test, a child of the thumbnail, at the next
  // place of the cascade.
  int32_t cascade = window_cascade_count;
  run_from_menu(*thumb, thumb_comparison_graph);
  windowNode* graph = find_window_of_type(comparison_window_type);
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(graph->parent, thumb->node);
  auto* panel = static_cast<comparisonPanelClass*>(graph->object);
  ASSERT_EQ(panel->trace_count(), 1);
  EXPECT_EQ(panel->trace_owner(1), thumb);
  char title[256] = {};
  GetWindowTextA(graph->hwnd, title, sizeof title);
  EXPECT_NE(std::string(title).find(thumb->document().caption()), std::string::npos) << title;

  // The mini graph's trace dragged onto the comparison graph's plot area is
  // added there, and the drag ends.
  const graphClass& mini = thumb->document().graph();
  SendMessageA(thumb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM((mini.plot_left() + mini.plot_right()) / 2, (mini.plot_top() + mini.plot_bottom()) / 2));
  windowNode* item = find_window_of_type(drag_item_type);
  ASSERT_NE(item, nullptr);
  POINT drop{(panel->graph().plot_left() + panel->graph().plot_right()) / 2,
             (panel->graph().plot_top() + panel->graph().plot_bottom()) / 2};
  ClientToScreen(graph->hwnd, &drop);
  ScreenToClient(item->hwnd, &drop);
  SendMessageA(item->hwnd, WM_LBUTTONUP, 0, MAKELPARAM(drop.x, drop.y));
  pump_messages();
  EXPECT_EQ(panel->trace_count(), 2);
  EXPECT_EQ(find_window_of_type(drag_item_type), nullptr);
  EXPECT_EQ(thumbnail_drag_active, 0);

  run_from_menu(*thumb, thumb_op_panel);
  run_from_menu(*thumb, thumb_fft);
  run_from_menu(*thumb, thumb_band_pass);
  for (uint32_t type : {window_type::operations, window_type::spectrum, window_type::inverse_transform}) {
    windowNode* node = find_window_of_type(type);
    ASSERT_NE(node, nullptr) << type;
    EXPECT_NE(node->hwnd, nullptr) << type;
  }
  EXPECT_EQ(window_cascade_count, cascade + 4);
  // The band pass is a hidden spectrum with its inverse window.
  std::vector<HWND> opened{find_window_of_type(window_type::inverse_transform)->hwnd};
  for (windowNode* child = thumb->node->first_child; child; child = child->next) opened.push_back(child->hwnd);
  EXPECT_EQ(opened.size(), 5u);

  // The text file: named in the dialog, its place kept for the next time.
  const char* before = get_program_setting("last_XY_file", true);
  std::string saved_setting = before ? before : "";
  file_dialog_calls previous = file_dialog_ui_install(file_dialog_calls{nullptr, scripted_save, nullptr});
  save_answer = folder.file("trace.csv");
  run_from_menu(*thumb, thumb_text_file);
  file_dialog_ui_install(previous);
  const char* kept = get_program_setting("last_XY_file", true);
  EXPECT_STREQ(kept ? kept : "", save_answer.c_str());
  restore_program_setting("last_XY_file", saved_setting);
  std::ifstream written(save_answer);
  std::string first_line;
  ASSERT_TRUE(std::getline(written, first_line));
  EXPECT_NE(first_line.find(','), std::string::npos);

  // They close with the test.
  delete thumb;
  for (HWND window : opened) EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(boxes.texts().empty()) << boxes.texts().front();
}

TEST_F(Thumbnail, AnUnloadedThumbnailPaintsItsPathAndOffersNoDataItems) {
  std::string broken = folder.file("P01S02T0399A.tst");
  write_bytes(broken, std::vector<uint8_t>(100, 0));
  auto* thumb = new thumbnailClass(&holder, 1, 0, 0, broken.c_str(), 1);
  EXPECT_FALSE(thumb->loaded());
  EXPECT_EQ(boxes.texts().back(), "*** UNABLE TO LOAD FILE [" + broken + "] ***");
  std::vector<std::string> items = menu_items(thumb->popup_menu());
  EXPECT_EQ(items, (std::vector<std::string>{"> Edit Session", "2320 Copy"}));
  paintedThumbnail painted(*thumb);
  EXPECT_GT(painted.count(RGB(0, 0, 0), 0, painted.width()), 50);  // its path and "not loaded"
  // Commands on its data do nothing, a press is no drag.
  boxes.clear();
  for (int command : {thumb_trace_clipboard, thumb_measurement_graph, thumb_comparison_graph, thumb_op_panel, thumb_fft,
                      thumb_band_pass, thumb_text_file, thumb_60hz, thumb_sample_window, thumb_source_info})
    thumb->run_command(command);
  SendMessageA(thumb->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(thumbnail_drag_active, 0);
  for (uint32_t type : {window_type::measurement_graph, window_type::comparison_graph, window_type::operations,
                        window_type::spectrum, window_type::inverse_transform, thumb_state_window_type,
                        samples_window_type})
    EXPECT_EQ(find_window_of_type(type), nullptr) << type;  // no window opened on it
  delete thumb;
  EXPECT_TRUE(boxes.texts().empty());
}

// The four source texts stand where they fit, whatever the font: none runs
// into the next or past the window, for short and for the longest fields.
TEST_F(Thumbnail, TheInformationTextsFitTheirWindow) {
  // The program's own start-up fonts (a narrow requested width for the
  // edits, the texts at their natural width), given back afterwards.
  const HFONT kept_font = program_font;
  const LOGFONTA kept_logfont = program_logfont;
  const uint8_t kept_chosen = program_font_chosen;
  program_font_chosen = 0;
  make_standard_fonts(screen_paper);
  testFields wide;
  wide.unit_id = u"WWWWWWW";
  wide.cfc_id = u"WWWWWWWWWWWW";
  wide.filter = 0.0316f;
  for (const testFields& fields : {testFields{}, wide}) {
    std::string path = write_test(folder, "P01S02T0301A.tst", fields);
    auto* thumb = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
    thumb->run_command(thumb_source_info);
    windowNode* node = find_window_of_type(thumb_state_window_type);
    ASSERT_NE(node, nullptr);
    auto* info = static_cast<thumbStateClass*>(node->object);
    RECT client{};
    GetClientRect(info->hwnd(), &client);
    const double client_width = screen_paper.mm_x(client.right);
    for (int i = 0; i < 4; i++) EXPECT_LE(info->info_text_object(i).right(), client_width) << info->info_text(i);
    // Each left text ends before the right column starts.
    EXPECT_LT(info->info_text_object(0).right(), info->info_text_object(1).x()) << info->info_text(0);
    EXPECT_LT(info->info_text_object(2).right(), info->info_text_object(3).x()) << info->info_text(2);
    delete thumb;
    pump_messages();
  }
  program_font = kept_font;
  program_logfont = kept_logfont;
  program_font_chosen = kept_chosen;
  EXPECT_TRUE(boxes.texts().empty());
}

// A thumbnail laid out on the default printer's own context (a screen
// context stands in without one), as the session report prints it: every
// line of its information, measured there in the text's font, ends left of
// its graph.
TEST_F(Thumbnail, PrintedInformationEndsLeftOfItsGraph) {
  std::string path = write_test(folder, "P01S02T0301A.tst", testFields{});
  char name[256] = {};
  DWORD size = sizeof name;
  HDC dc = GetDefaultPrinterA(name, &size) ? CreateDCA(nullptr, name, nullptr, nullptr) : nullptr;
  const bool printer = dc != nullptr;
  if (!printer) dc = GetDC(holder.hwnd());
  ASSERT_NE(dc, nullptr);
  paper page;
  ASSERT_TRUE(page.set_from_device(dc));
  printing_flag = 1;
  auto* thumb = new thumbnailClass(&holder, 1, 20.0, 15.0, page.width_mm - 15.0, 35.0, page, path.c_str(), 1);
  thumb->measure(dc, page);
  graphClass& graph = thumb->document().graph();
  HGDIOBJ old = SelectObject(dc, thumb->info_text().font());
  for (const char* line : thumb->document().info().lines) {
    SIZE extent = utf8_text_extent(dc, line, -1);
    EXPECT_LT(page.px_x(thumb->info_text().x()) + extent.cx, graph.plot_left()) << line;
  }
  SelectObject(dc, old);
  printing_flag = 0;
  delete thumb;
  if (printer)
    DeleteDC(dc);
  else
    ReleaseDC(holder.hwnd(), dc);
  EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(Thumbnail, TheInformationWindowSavesOnSaveAndAsksOnClose) {
  std::string path = write_test(folder, "P01S02T0301A.tst", testFields{});
  std::string state_file = folder.file("P01S02T0301A.st_");
  auto* thumb = new thumbnailClass(&holder, 1, 0, 0, path.c_str(), 1);
  testStateClass& state = thumb->document().state();
  auto open_info = [thumb]() {
    thumb->run_command(thumb_source_info);
    windowNode* node = find_window_of_type(thumb_state_window_type);
    return node ? static_cast<thumbStateClass*>(node->object) : nullptr;
  };

  // Save And Exit writes the state file at once and asks nothing.
  thumbStateClass* info = open_info();
  ASSERT_NE(info, nullptr);
  // Typed: the selection replaced, as keys do.
  HWND notes = info->notes_edit()->get_edit()->hwnd();
  SendMessageA(notes, EM_SETSEL, 0, -1);
  SendMessageA(notes, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("saved note"));
  SendMessageA(info->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(info->save_button()->hwnd()));
  pump_messages();
  EXPECT_EQ(find_window_of_type(thumb_state_window_type), nullptr);
  EXPECT_TRUE(boxes.texts().empty());
  {
    std::ifstream in(state_file);
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(all.find("saved note"), std::string::npos);
  }
  EXPECT_STREQ(state.notes.text(), "saved note");

  // Closed with an edit: the question; No gives the texts back as they were.
  info = open_info();
  ASSERT_NE(info, nullptr);
  SetWindowTextA(info->user_id_edit()->get_edit()->hwnd(), "tech9");
  EXPECT_STREQ(state.user_id.text(), "tech9");
  boxes.answer(answer_no);
  SendMessageA(info->hwnd(), WM_CLOSE, 0, 0);
  ASSERT_EQ(boxes.captions(), std::vector<std::string>{"-- State information has changed --"});
  EXPECT_STREQ(state.user_id.text(), " ");
  EXPECT_STREQ(state.notes.text(), "saved note");
  delete thumb;
}

}  // namespace
