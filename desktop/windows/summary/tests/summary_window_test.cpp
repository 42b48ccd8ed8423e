// The session summary over a session of recorded tests: its cells, sorting
// by each column and the session's order after it, scrolling, selection by
// mouse, saving as text, a live value after an edit in a measurement graph,
// reference times, cut, and the session report's summary pages.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/tests/default_printer.h"
#include "desktop/winlib/tests/file_dialog_answers.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/session/report_pages.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/summary/session_report.h"
#include "desktop/windows/summary/summary.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/tests/window_texts.h"
#include "desktop/winlib/windows/window_tree.h"
#include "platform/files/whole_file.h"

namespace {

// A flash response with its trough and peak scaled by depth.
std::vector<int32_t> erg_values(double depth) {
  std::vector<int32_t> v(400);
  for (int i = 0; i < 400; i++) {
    double t = i * 200.0 / 400 - 20.0;
    double y = 0.0;
    if (t > 0)
      y = depth * (-60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) + 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2)));
    v[static_cast<size_t>(i)] = static_cast<int32_t>(std::lround(y * 10.0));
  }
  return v;
}

struct testShape {
  std::string name;
  int minutes;  // after a fixed day
  int32_t intensity;
  double depth;
  int32_t version = 3030;
  float factor = 1.0f;
  bool flicker = false;
  uint32_t run_ms = 1500;
};

// The file name of a session's test number n (1 to 99).
std::string numbered_test_name(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "P01S02T01%.2dA.tst", n);
  return name;
}

std::string write_test(const temp_folder& folder, const testShape& shape) {
  auto record = make_record();
  record->ProgramVersion = shape.version;
  record->FilterValue = shape.factor;
  record->RunMilliseconds = shape.run_ms;
  record->P = 1;
  record->S = 2;
  record->N = 1;
  record->Eye = u'D';
  record->FlickerMark = shape.flicker ? u'Y' : u'N';
  record->Config.Intensity = shape.intensity;
  record->Config.RepeatCount = 1;
  record->Config.RepeatInterval = 100;
  record->Config.PreTime = 20;
  record->Config.PostTime = 180;
  uint64_t ticks = 133000000000000000ull + static_cast<uint64_t>(shape.minutes) * 600000000ull;
  record->TestTime.LowDateTime = static_cast<uint32_t>(ticks);
  record->TestTime.HighDateTime = static_cast<uint32_t>(ticks >> 32);
  fill_block(record->Average, erg_values(shape.depth), 10.0, 200, 20);
  fill_block(record->LastSweep, erg_values(shape.depth), 1.0, 200, 20);
  std::string path = folder.file(shape.name);
  write_bytes(path, test_file_bytes(*record));
  // Tests of versions before the record kept its time take the file's.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME when{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SetFileTime(file, nullptr, nullptr, &when);
  CloseHandle(file);
  return path;
}

std::vector<std::string> dialog_answers;
BOOL scripted_dialog(OPENFILENAMEA* record) { return answer_file_dialog(record, dialog_answers); }
std::string proposed_file;
BOOL recording_dialog(OPENFILENAMEA* record) {
  proposed_file = std::string(record->lpstrInitialDir ? record->lpstrInitialDir : "") + "|" + record->lpstrFile;
  return scripted_dialog(record);
}
DWORD no_error() { return 0; }

class SummaryTest : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = file_dialog_ui_install({recording_dialog, recording_dialog, no_error}); }
  void TearDown() override {
    delete panel_;
    file_dialog_ui_install(previous_);
    dialog_answers.clear();
    pump();
  }

  // The session of these tests (a special session file keeps their order).
  sessionPanelClass* open_session(const std::vector<testShape>& shapes, const char* list = "session.s_f") {
    std::string listed;
    for (const testShape& shape : shapes) listed += write_test(folder_, shape) + "\n";
    folder_.write(list, listed);
    auto* panel = new sessionPanelClass(session_mode_pc, folder_.file(list).c_str(), 0);
    EXPECT_EQ(panel->status(), 1);
    return panel;
  }
  summaryClass* open_summary(sessionPanelClass* panel) {
    SendMessageA(panel->hwnd(), WM_COMMAND, session_view_summary, 0);
    pump();
    return static_cast<summaryClass*>(panel->summary());
  }
  std::vector<std::string> column(summaryClass* s, int c) {
    std::vector<std::string> texts;
    for (int r = 3; r < s->table()->row_count(); r++) texts.emplace_back(s->table()->cell_text(r, c));
    return texts;
  }
  std::vector<std::string> session_names(sessionPanelClass* panel) {
    std::vector<std::string> names;
    for (int i = 0; i < panel->thumbnail_count(); i++) names.emplace_back(panel->thumbnail(i)->file_name());
    return names;
  }
  // A point (pixels of the summary's client area) in the cell, found from
  // the latest drawing through the table's own hit test.
  POINT cell_point(summaryClass* s, int row, int column) {
    RECT client;
    GetClientRect(s->hwnd(), &client);
    for (int y = 1; y < client.bottom; y += 2)
      for (int x = 1; x < client.right; x += 3) {
        int r = -1, c = -1;
        if (s->table()->find_cell(screen_paper.mm_x(x), screen_paper.mm_y(y), &r, &c) && r == row && c == column)
          return POINT{x, y};
      }
    ADD_FAILURE() << "no point in cell " << row << ", " << column;
    return POINT{-100, -100};
  }
  void click(summaryClass* s, int row, int column, bool right = false) {
    POINT p = cell_point(s, row, column);
    SendMessageA(s->hwnd(), right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, 0, MAKELPARAM(p.x, p.y));
    UpdateWindow(s->hwnd());
  }

  std::vector<testShape> three_tests() {
    return {
        {"P01S02T0101A.tst", 0, 3000, 1.0},
        {"P01S02T0102A.tst", 10, 30000, 2.0, 3030, 0.5f},
        {"P01S02T0103A.tst", 75, 300, 0.5, 2999, 0.5f, true, 12345},
    };
  }

  file_dialog_calls previous_{};
  temp_folder folder_;
  message_capture boxes_;
  sessionPanelClass* panel_ = nullptr;
};

}  // namespace

TEST_F(SummaryTest, TheCellsOfASession) {
  panel_ = open_session(three_tests());
  summaryClass* s = open_summary(panel_);
  ASSERT_NE(s, nullptr);
  tableClass* t = s->table();
  ASSERT_EQ(t->row_count(), 6);
  EXPECT_EQ(t->column_count(), 11);
  EXPECT_EQ(t->visible_rows(), 6);
  const char* heads[3][11] = {
      {"session", "delta", "file name", "eti", "flash", "flash", "a-wave", "a-wave", "b-wave", "b-wave", "b/a ratio"},
      {"position", "time", " ", " ", "intensity", "intensity", "amplitude", "implicit time", "amplitude",
       "implicit time", " "},
      {" ", " ", " ", "(sec)", "(mcd.s/m^2)", "(Log)", "(uV)", "(mS)", "(uV)", "(mS)", " "}};
  const char* units[11] = {"nbr", "DHMS", "???", "Sec", "mcd.s/m^2", "Log", "uV", "mS", "uV", "mS", " "};
  for (int c = 0; c < 11; c++) {
    for (int r = 0; r < 3; r++) EXPECT_STREQ(t->cell_text(r, c), heads[r][c]) << r << ", " << c;
    EXPECT_STREQ(t->column_unit(c), units[c]);
  }
  EXPECT_EQ(column(s, 0), (std::vector<std::string>{"1", "2", "3"}));
  EXPECT_EQ(column(s, 1), (std::vector<std::string>{"00|00:00:00.0", "00|00:10:00.0", "00|01:15:00.0"}));
  EXPECT_EQ(column(s, 2), (std::vector<std::string>{"P01S02T0101A", "P01S02T0102A", "P01S02T0103A"}));
  EXPECT_EQ(column(s, 3), (std::vector<std::string>{"  1.5", "  1.5", " 12.3"}));
  EXPECT_EQ(column(s, 4), (std::vector<std::string>{"3000", "60000", "300"}));
  EXPECT_EQ(column(s, 5), (std::vector<std::string>{"0.0", "1.3", "-1.0"}));
  // The flicker test: "FLICKER" and no a-wave time or ratio.
  EXPECT_STREQ(t->cell_text(5, 6), "FLICKER");
  EXPECT_STREQ(t->cell_text(5, 7), "---");
  EXPECT_STREQ(t->cell_text(5, 10), "---");
  // The measured cells are the models' values.
  for (int i = 0; i < 2; i++) {
    waveMeasurementModel* m = panel_->thumbnail(i)->document().model();
    char text[32];
    std::snprintf(text, sizeof text, "%5.1lf", m->abs_awave_amplitude.value());
    EXPECT_STREQ(t->cell_text(3 + i, 6), text);
    std::snprintf(text, sizeof text, "%5.1lf", m->bwave_amplitude.value());
    EXPECT_STREQ(t->cell_text(3 + i, 8), text);
    std::snprintf(text, sizeof text, "%5.1lf", m->bwave_implicit_time.value());
    EXPECT_STREQ(t->cell_text(3 + i, 9), text);
    std::snprintf(text, sizeof text, "%5.2lf", m->ba_ratio.value());
    EXPECT_STREQ(t->cell_text(3 + i, 10), text);
  }
  EXPECT_GT(std::stod(t->cell_text(4, 8)), 1.5 * std::stod(t->cell_text(3, 8)));
  // Three tests need no scrolling.
  EXPECT_EQ(GetMenuItemCount(s->menu()), 3);
  // A window far too narrow for the texts still paints, and clicks in it
  // find the cells drawn.
  SetWindowPos(s->hwnd(), nullptr, 0, 0, 60, 300, SWP_NOMOVE | SWP_NOZORDER);
  UpdateWindow(s->hwnd());
  int row = -1, col = -1;
  EXPECT_TRUE(t->find_cell(0.5, screen_paper.mm_y(5), &row, &col));
  EXPECT_TRUE(boxes_.texts().empty());
}

TEST_F(SummaryTest, SortingByEachColumnReordersTheSessionAndClicksSelect) {
  panel_ = open_session({
      {"P01S02T0101A.tst", 30, 300, 1.0},
      {"P01S02T0102B.tst", 0, 30000, 2.0},
      {"P01S02T0103C.tst", 10, 3000, 0.5},
  });
  summaryClass* s = open_summary(panel_);
  ASSERT_NE(s, nullptr);
  UpdateWindow(s->hwnd());
  // A click on a header sorts by its column.
  struct Case {
    int column;
    std::vector<std::string> order;
  } cases[] = {
      {1, {"P01S02T0102B", "P01S02T0103C", "P01S02T0101A"}},  // by time
      {0, {"P01S02T0101A", "P01S02T0102B", "P01S02T0103C"}},  // back to the session's first order
      {8, {"P01S02T0103C", "P01S02T0101A", "P01S02T0102B"}},  // by b-wave amplitude
      {4, {"P01S02T0101A", "P01S02T0103C", "P01S02T0102B"}},
      {5, {"P01S02T0101A", "P01S02T0103C", "P01S02T0102B"}},
      {6, {"P01S02T0103C", "P01S02T0101A", "P01S02T0102B"}},
      {10, {"P01S02T0102B", "P01S02T0103C", "P01S02T0101A"}},
      {2, {"P01S02T0101A", "P01S02T0102B", "P01S02T0103C"}},
      {3, {"P01S02T0101A", "P01S02T0102B", "P01S02T0103C"}},
      {7, {"P01S02T0101A", "P01S02T0102B", "P01S02T0103C"}},
      {9, {"P01S02T0101A", "P01S02T0102B", "P01S02T0103C"}},
  };
  for (const Case& c : cases) {
    click(s, 0, c.column);
    EXPECT_EQ(column(s, 2), c.order) << "column " << c.column;
    pump();
    // The next drawing gives the session the table's order.
    EXPECT_EQ(session_names(panel_), c.order) << "column " << c.column;
    EXPECT_FALSE(s->table()->order_changed());
  }
  EXPECT_TRUE(panel_->modified());
  for (int i = 0; i < 3; i++) EXPECT_EQ(panel_->thumbnail(i)->number(), i + 1);

  // Left clicks select X values, right clicks Y values; a header's pop-up
  // selects its column.
  click(s, 3, 4);
  click(s, 4, 4);
  click(s, 3, 8, true);
  EXPECT_EQ(s->table()->selection().size(), 3u);
  EXPECT_EQ(s->table()->cell(3, 4)->state, cell_role_x);
  EXPECT_EQ(s->table()->cell(3, 8)->state, cell_role_y);
  click(s, 4, 4);  // a second click undoes the first
  EXPECT_EQ(s->table()->cell(4, 4)->state, cell_unselected);
  popup_menu_calls answer_y{[](HMENU, UINT, int, int, HWND, LPTPMPARAMS) -> BOOL { return summary_choose_y; }};
  popup_menu_calls before = popup_menu_ui_install(answer_y);
  click(s, 1, 9, true);
  popup_menu_ui_install(before);
  EXPECT_EQ(s->table()->selection().size(), 5u);
  EXPECT_EQ(s->table()->y_column(), 8);
  SendMessageA(s->hwnd(), WM_COMMAND, summary_plot_reset, 0);
  EXPECT_TRUE(s->table()->selection().empty());
}

TEST_F(SummaryTest, AScrolledSummarySortsEveryTestAndSavesEveryRow) {
  std::vector<testShape> shapes;
  for (int i = 0; i < 13; i++) {
    shapes.push_back({numbered_test_name(i + 1), 13 - i, 3000 + i, 1.0 + 0.1 * i});
  }
  panel_ = open_session(shapes);
  ASSERT_EQ(panel_->thumbnail_count(), 13);
  summaryClass* s = open_summary(panel_);
  ASSERT_NE(s, nullptr);
  tableClass* t = s->table();
  EXPECT_EQ(t->visible_rows(), 15);
  // Thirteen tests: 12 data rows in view and the two scroll items.
  ASSERT_EQ(GetMenuItemCount(s->menu()), 5);
  char text[64];
  GetMenuStringA(s->menu(), summary_scroll_up, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "^ (scroll up)");
  GetMenuStringA(s->menu(), summary_scroll_down, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "V (scroll down)");
  SendMessageA(s->hwnd(), WM_COMMAND, summary_scroll_up, 0);
  SendMessageA(s->hwnd(), WM_COMMAND, summary_scroll_up, 0);
  EXPECT_EQ(t->first_shown_row(), 5);
  SendMessageA(s->hwnd(), WM_COMMAND, summary_scroll_down, 0);
  EXPECT_EQ(t->first_shown_row(), 4);
  UpdateWindow(s->hwnd());

  // Sorted by time (the reverse of the names; the first test listed is the
  // latest, so the others are before it) while row 3 is out of view:
  // the session keeps all 13 tests, in the table's order.
  click(s, 0, 1);
  pump();
  std::vector<std::string> names = session_names(panel_);
  ASSERT_EQ(names.size(), 13u);
  for (int i = 0; i < 13; i++) EXPECT_EQ(names[static_cast<size_t>(i)], shapes[static_cast<size_t>(12 - i)].name.substr(0, 12));

  // Saved as text: every row, header rows first, whatever is in view.
  std::string saved = folder_.file("Summary__.txt");
  dialog_answers = {saved};
  SendMessageA(s->hwnd(), WM_COMMAND, summary_save_text, 0);
  EXPECT_EQ(proposed_file, "C:\\DOCUMENTS AND SETTINGS\\ALL USERS\\DOCUMENTS\\Summary__.txt|Summary__");
  std::string expected =
      "session\tdelta\tfile name\teti\tflash\tflash\ta-wave\ta-wave\tb-wave\tb-wave\tb/a ratio\n"
      "position\ttime\t \t \tintensity\tintensity\tamplitude\timplicit time\tamplitude\timplicit time\t \n"
      " \t \t \t(sec)\t(mcd.s/m^2)\t(Log)\t(uV)\t(mS)\t(uV)\t(mS)\t \n";
  for (int r = 3; r < 16; r++) {
    for (int c = 0; c < 11; c++) expected += std::string(c ? "\t" : "") + t->cell_text(r, c);
    expected += "\n";
  }
  EXPECT_EQ(file_text(saved), expected);
  EXPECT_NE(expected.find("\n13\t-00|00:12:00.0\tP01S02T0113A\t  1.5\t3012\t0.0\t"), std::string::npos) << expected;

  // A full disk keeps the file saved before, byte for byte, and names it.
  dialog_answers = {saved};
  std::ofstream(saved, std::ios::binary) << "kept";
  set_whole_file_fault(wholeFileFault::flush);
  EXPECT_FALSE(s->save_as_text(s->hwnd(), "_", "", false));
  set_whole_file_fault(wholeFileFault::none);
  EXPECT_EQ(file_text(saved), "kept");
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** UNABLE TO WRITE THE SUMMARY FILE [" + saved +
                                                     "] ***\ncould not be flushed to the disk (is the disk full?)"});
  boxes_.clear();

  // A file that cannot be created is reported.
  dialog_answers = {folder_.file("no such folder\\Summary__.txt")};
  EXPECT_FALSE(s->save_as_text(s->hwnd(), "_", "", false));
  ASSERT_EQ(boxes_.texts().size(), 1u);
  EXPECT_EQ(boxes_.texts()[0].rfind("*** UNABLE TO CREATE THE SUMMARY FILE [", 0), 0u) << boxes_.texts()[0];
  // The comma form.
  dialog_answers = {folder_.file("Summary_x.csv")};
  EXPECT_TRUE(s->save_as_text(s->hwnd(), "x", "D:\\data\\old.csv", true));
  EXPECT_EQ(proposed_file, "D:\\data\\Summary_x.csv|Summary_x");
  EXPECT_EQ(file_text(folder_.file("Summary_x.csv")).substr(0, 30), "session,delta,file name,eti,fl");
}

TEST_F(SummaryTest, PlottingOpensAComparisonGraphOrRefusesItsThreeCases) {
  std::vector<testShape> shapes;
  for (int i = 0; i < 3; i++) {
    shapes.push_back({numbered_test_name(i + 1), i, 3000, 1.0});
  }
  panel_ = open_session(shapes);
  summaryClass* s = open_summary(panel_);
  ASSERT_NE(s, nullptr);
  tableClass* t = s->table();
  EXPECT_FALSE(s->plot_selected());
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** No cells have been selected ***"});
  boxes_.clear();
  t->select_cell(3, 4, cell_role_x);
  t->select_cell(4, 4, cell_role_x);
  t->select_cell(5, 4, cell_role_x);
  t->select_cell(3, 8, cell_role_y);
  t->select_cell(4, 8, cell_role_y);
  EXPECT_FALSE(s->plot_selected());
  EXPECT_EQ(boxes_.texts(),
            std::vector<std::string>{"*** x and y values are unbalanced (3 x values, 2 y values). ***"});
  boxes_.clear();
  // 17 selections of a column of 3 make 51 X values.
  t->clear_selection();
  for (int i = 0; i < 17; i++) t->select_column(4, cell_role_x);
  EXPECT_FALSE(s->plot_selected());
  EXPECT_EQ(boxes_.texts(), std::vector<std::string>{"*** I can only plot 50 data points ***"});
  EXPECT_EQ(t->selection().size(), 51u);  // the selection is kept
  boxes_.clear();

  // 50 X and 50 Y values plot: one trace "summary" in the x and y columns'
  // units, in a comparison graph under the summary.
  t->clear_selection();
  for (int i = 0; i < 16; i++) t->select_column(4, cell_role_x);
  t->select_cell(3, 3, cell_role_x);
  t->select_cell(4, 3, cell_role_x);
  for (int i = 0; i < 16; i++) t->select_column(8, cell_role_y);
  t->select_cell(3, 9, cell_role_y);
  t->select_cell(4, 9, cell_role_y);
  SendMessageA(s->hwnd(), WM_COMMAND, summary_plot_selected, 0);
  EXPECT_TRUE(boxes_.texts().empty());
  windowNode* node = find_window_node(s)->first_child;
  while (node && node->type != window_type::comparison_graph) node = node->next;
  ASSERT_NE(node, nullptr);
  auto* graph = static_cast<comparisonPanelClass*>(node->object);
  char title[256] = {};
  GetWindowTextA(graph->hwnd(), title, sizeof title);
  EXPECT_NE(std::string(title).find("Summary Graph: flash intensity vs b-wave amplitude"), std::string::npos) << title;
  ASSERT_EQ(graph->trace_count(), 1);
  traceClass* trace = graph->trace_entry(1)->active_trace();
  EXPECT_STREQ(trace->name(), "summary");
  EXPECT_STREQ(trace->x_units(), "mcd.s/m^2");
  EXPECT_STREQ(trace->y_units(), "uV");
  ASSERT_EQ(trace->get_count(), 50);
  // The pairs in order of x: the two run times (1.5 s) before the 3000s.
  EXPECT_DOUBLE_EQ(trace->x(0), 1.5);
  EXPECT_DOUBLE_EQ(trace->y(0), std::stod(t->cell_text(3, 9)));
  EXPECT_DOUBLE_EQ(trace->x(2), 3000.0);
  EXPECT_DOUBLE_EQ(trace->y(2), std::stod(t->cell_text(3, 8)));
  EXPECT_EQ(trace->color, 3);
  pump();
}

TEST_F(SummaryTest, AnEditInAMeasurementGraphShowsAtOnce) {
  panel_ = open_session(three_tests());
  summaryClass* s = open_summary(panel_);
  ASSERT_NE(s, nullptr);
  thumbnailClass* thumb = panel_->thumbnail(0);
  measGraphClass* graph = open_measurement_graph(thumb, nullptr, 10, 10);
  ASSERT_NE(graph, nullptr);
  pump();
  waveMeasurementModel* m = thumb->document().model();
  graphClass& g = graph->graph();
  int px = g.x_map().to_pixel(m->bwave_time.value());
  int py = g.y_map().to_pixel(m->bwave_point.value());
  SendMessageA(graph->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(px + 2, py - 2));
  SendMessageA(graph->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(px + 2, py - 2));
  std::string before = s->table()->cell_text(3, 9);
  UpdateWindow(s->hwnd());
  for (int i = 0; i < 10; i++) SendMessageA(graph->hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
  char text[32];
  std::snprintf(text, sizeof text, "%5.1lf", m->bwave_implicit_time.value());
  EXPECT_STREQ(s->table()->cell_text(3, 9), text);
  EXPECT_NE(before, text);
  // The summary is to be painted again.
  RECT dirty{};
  EXPECT_TRUE(GetUpdateRect(s->hwnd(), &dirty, FALSE));
}

TEST_F(SummaryTest, EachSummaryKeepsItsOwnReferenceTimeAndCutMakesANewOne) {
  panel_ = open_session(three_tests());
  summaryClass* first = open_summary(panel_);
  ASSERT_NE(first, nullptr);
  auto* other = open_session({{"P02S02T0101A.tst", 500, 3000, 1.0}, {"P02S02T0102A.tst", 530, 3000, 1.0}},
                             "other.s_f");
  summaryClass* second = open_summary(other);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(column(second, 1), (std::vector<std::string>{"00|00:00:00.0", "00|00:30:00.0"}));
  // The first summary still counts from its own first test.
  EXPECT_DOUBLE_EQ(first->table()->cell(5, 1)->number(), 75 * 60.0);
  first->table()->sort_by_column(1);
  EXPECT_EQ(column(first, 1), (std::vector<std::string>{"00|00:00:00.0", "00|00:10:00.0", "00|01:15:00.0"}));
  delete other;

  // Cut: the summary is made anew without the test.
  panel_->thumbnail(1)->run_command(thumb_cut);
  pump();
  summaryClass* now = static_cast<summaryClass*>(panel_->summary());
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->table()->row_count(), 5);
  EXPECT_EQ(column(now, 2), (std::vector<std::string>{"P01S02T0101A", "P01S02T0103A"}));
  UpdateWindow(now->hwnd());
  EXPECT_TRUE(boxes_.texts().empty());
}

// A full page of tests puts the table on a page of its own; the summary's
// view is given back after printing.
TEST_F(SummaryTest, TheReportPrintsTheSummaryPagesItCounts) {
  std::string file = default_printer_file();
  ASSERT_FALSE(file.empty()) << "no default printer on a file port: tools/wine-printer.sh sets it up";
  print_dialog_calls previous = print_dialog_ui_install(
      print_dialog_calls{default_printer_dialog, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr});
  paper printer;
  {
    PRINTDLGA* job = print_setup(nullptr, "probe");
    ASSERT_NE(job, nullptr);
    printer.copy_from(printer_paper);
    print_release(job);
  }
  const int per_page = paginate_report(1, printer.height_mm, 0, 0).per_page;
  std::vector<testShape> shapes;
  for (int i = 0; i < per_page; i++) {
    shapes.push_back({numbered_test_name(i + 1), i, 3000, 1.0});
  }
  panel_ = open_session(shapes);
  summaryClass* s = open_summary(panel_);
  ASSERT_NE(s, nullptr);
  s->table()->set_visible_rows(4);
  s->table()->scroll_forward();
  DeleteFileA(file.c_str());
  SendMessageA(s->hwnd(), WM_COMMAND, summary_print, 0);
  reportPages expected = paginate_report(per_page, printer.height_mm, per_page + 3, 3);
  EXPECT_EQ(expected.rows_on_last_test_page, 0);
  EXPECT_EQ(expected.summary_pages, 1);
  EXPECT_EQ(printed_pages(file), expected.total);
  EXPECT_EQ(s->table()->visible_rows(), 4);
  EXPECT_EQ(s->table()->first_shown_row(), 4);

  // From the session panel, with no summary open: one test more puts the
  // table below that test.
  delete panel_;
  shapes.push_back({"P01S02T0199A.tst", 99, 3000, 1.0});
  panel_ = open_session(shapes, "more.s_f");
  DeleteFileA(file.c_str());
  SendMessageA(panel_->hwnd(), WM_COMMAND, session_print, 0);
  expected = paginate_report(per_page + 1, printer.height_mm, per_page + 4, 3);
  EXPECT_GT(expected.rows_on_last_test_page, 0);
  EXPECT_EQ(printed_pages(file), expected.total);
  EXPECT_EQ(panel_->summary(), nullptr);
  print_dialog_ui_install(previous);
  EXPECT_TRUE(boxes_.texts().empty());
  EXPECT_EQ(printing_flag, 0);
}
