#include "desktop/windows/summary/summary.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/summary/session_report.h"
#include "desktop/windows/summary/summary_cells.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

struct columnHeading {
  const char* rows[summary_header_rows];
  const char* unit;
};

const columnHeading headings[summary_columns] = {
    {{"session", "position", " "}, "nbr"},
    {{"delta", "time", " "}, "DHMS"},
    {{"file name", " ", " "}, "???"},
    {{"eti", " ", "(sec)"}, "Sec"},
    {{"flash", "intensity", "(mcd.s/m^2)"}, "mcd.s/m^2"},
    {{"flash", "intensity", "(Log)"}, "Log"},
    {{"a-wave", "amplitude", "(uV)"}, "uV"},
    {{"a-wave", "implicit time", "(mS)"}, "mS"},
    {{"b-wave", "amplitude", "(uV)"}, "uV"},
    {{"b-wave", "implicit time", "(mS)"}, "mS"},
    {{"b/a ratio", " ", " "}, " "},
};

// Up to 12 tests are all in view; more scroll under 12 data rows.
constexpr int summary_visible_limit = 15;

uint64_t file_time_units(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

const char* elapsed_text(double seconds) { return format_elapsed_time(seconds, 1); }

}  // namespace

double delta_seconds(const winTypeClass* owner, const FILETIME& reference) {
  if (!owner) return 12345.678;
  const auto* test = static_cast<const thumbnailClass*>(owner);
  return file_time_seconds_between(file_time_units(reference), file_time_units(test->file_time()));
}

summaryClass::summaryClass(sessionPanelClass* session)
    : winTypeClass(session, summary_window_type), session_(session) {
  reference_time_ = FILETIME{0, 0};
  HWND window = CreateWindowExA(0, "summary", "summary", WS_OVERLAPPEDWINDOW, screen_paper.px_x(5.0),
                                screen_paper.px_y(20.0), screen_paper.scale_x(280.0), screen_paper.scale_y(162.0),
                                nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box("summary window creation failed", "window", box_ok);
    return;
  }
  set_hwnd(window);
  build_menus();
  std::vector<thumbnailClass*> tests;
  for (int i = 0; session && i < session->thumbnail_count(); i++) tests.push_back(session->thumbnail(i));
  fill_table(tests);
  if (table_->visible_rows() - summary_header_rows < static_cast<int>(tests.size())) {
    AppendMenuA(menu_, MF_STRING, summary_scroll_up, "^ (scroll up)");
    AppendMenuA(menu_, MF_STRING, summary_scroll_down, "V (scroll down)");
    DrawMenuBar(window);
  }
  header_menu_ = CreatePopupMenu();
  AppendMenuA(header_menu_, MF_STRING, summary_choose_x, "X value");
  AppendMenuA(header_menu_, MF_STRING, summary_choose_y, "Y value");
  set_position(5.0, 20.0, 280.0, table_->visible_rows() * 10.0 + 15.0, screen_paper);
  ShowWindow(window, SW_SHOWNORMAL);
}

summaryClass::~summaryClass() {
  drop_table();
  if (header_menu_) DestroyMenu(header_menu_);
  // The menu bar goes with the window.
}

void summaryClass::build_menus() {
  menu_ = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, summary_print, "Print");
  HMENU edit = CreatePopupMenu();
  AppendMenuA(edit, MF_STRING, summary_save_text, "Save as Text");
  HMENU plot = CreatePopupMenu();
  AppendMenuA(plot, MF_STRING, summary_plot_selected, "Selected Points");
  AppendMenuA(plot, MF_STRING, summary_plot_reset, "Reset");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "Edit");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(plot), "Plot");
  SetMenu(hwnd(), menu_);
}

void summaryClass::drop_table() {
  // The table hangs under this window in the window tree: a tree that
  // closes from further up has already deleted it.
  if (table_ && find_window_node(table_)) delete table_;
  table_ = nullptr;
}

void summaryClass::fill_table(const std::vector<thumbnailClass*>& tests) {
  drop_table();
  const int count = static_cast<int>(tests.size());
  const int rows = count + summary_header_rows;
  table_ = new tableClass(this, rows, summary_columns, summary_header_rows);
  table_->set_visible_rows(rows < summary_visible_limit + 1 ? rows : summary_visible_limit);
  for (int c = 0; c < summary_columns; c++) {
    for (int r = 0; r < summary_header_rows; r++) table_->set_cell_format(r, c, headings[c].rows[r]);
    table_->set_column_unit(c, headings[c].unit);
  }
  table_->set_column_routine(1, elapsed_text);

  // The reference time is the first test's time (the first one read, when
  // the first could not be).
  reference_time_ = FILETIME{0, 0};
  for (thumbnailClass* test : tests) {
    if (test && test->loaded()) {
      reference_time_ = test->file_time();
      break;
    }
  }
  for (int i = 0; i < count; i++) {
    thumbnailClass* test = tests[static_cast<size_t>(i)];
    const int row = summary_header_rows + i;
    for (int c = 0; c < summary_columns; c++) table_->cell(row, c)->owner = test;
    if (!test) continue;
    table_->set_cell_format(row, 0, fmt("%lg", test->number()));
    table_->set_cell_format(row, 2, test->file_name());
    table_->cell(row, 2)->text_flag = 1;
    testFileRecord* record = test->document().record();
    waveMeasurementModel* model = test->document().model();
    if (!test->loaded() || !record || !model) continue;

    tableCellClass* delta = table_->cell(row, 1);
    const FILETIME* reference = &reference_time_;
    delta->value_routine = [reference](winTypeClass* owner) { return delta_seconds(owner, *reference); };
    table_->set_cell_format(row, 1, fmt("%s", elapsed_text(delta->number())));

    table_->set_cell_format(row, 3, "%5.1lf");
    table_->bind_cell(row, 3, &model->elapsed_seconds);
    table_->set_cell_format(row, 4, intensity_text(*record).c_str());
    table_->set_cell_format(row, 5, log_intensity_text(*record).c_str());
    const bool flicker = test->document().is_flicker();
    if (flicker) {
      table_->set_cell_format(row, 6, "FLICKER");
    } else {
      table_->set_cell_format(row, 6, "%5.1lf");
      table_->bind_cell(row, 6, &model->abs_awave_amplitude);
      table_->set_cell_format(row, 7, "%5.1lf");
      table_->bind_cell(row, 7, &model->awave_implicit_time);
    }
    table_->set_cell_format(row, 8, "%5.1lf");
    table_->bind_cell(row, 8, &model->bwave_amplitude);
    table_->set_cell_format(row, 9, "%5.1lf");
    table_->bind_cell(row, 9, &model->bwave_implicit_time);
    if (!flicker) {
      table_->set_cell_format(row, 10, "%5.2lf");
      table_->bind_cell(row, 10, &model->ba_ratio);
    }
    // A wave the search did not find shows "---", never its marker; the
    // b-wave's amplitude and the ratio are measured from the a-wave.
    auto no_bwave = [model] { return !model->bwave_found(); };
    auto no_awave = [model] { return !model->awave_found() || !model->bwave_found(); };
    for (int c : {6, 7, 8, 10}) table_->cell(row, c)->no_value = no_awave;
    table_->cell(row, 9)->no_value = no_bwave;
  }
}

void summaryClass::draw(HDC dc, const paper& scale) {
  if (!shown_ || !table_) return;
  if (!printing_flag && !IsWindowVisible(hwnd())) ShowWindow(hwnd(), SW_SHOW);
  if (table_->order_changed() && find_window_node(session_)) {
    HWND panel = session_->hwnd();
    ShowWindow(panel, SW_HIDE);
    table_->draw(dc, 0.0, 0.0, scale.width_mm, scale.height_mm, scale, session_);
    ShowWindow(panel, SW_SHOW);
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return;
  }
  table_->draw(dc, 0.0, 0.0, scale.width_mm, scale.height_mm, scale, nullptr);
}

void summaryClass::mouse_down(int x, int y, bool right) {
  if (!table_) return;
  int row = -1;
  int column = -1;
  if (!table_->find_cell(screen_paper.mm_x(x), screen_paper.mm_y(y), &row, &column)) return;
  if (!right) {
    table_->select_cell(row, column, cell_role_x);
  } else if (row < table_->header_row_count()) {
    POINT at{x, y};
    ClientToScreen(hwnd(), &at);
    int choice = track_popup_command(header_menu_, at.x, at.y, hwnd());
    if (choice == summary_choose_x) table_->select_column(column, cell_role_x);
    if (choice == summary_choose_y) table_->select_column(column, cell_role_y);
  } else {
    table_->select_cell(row, column, cell_role_y);
  }
  invalidate();
}

intptr_t summaryClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      mouse_down(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)),
                 message == WM_RBUTTONDOWN);
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case summary_print:
          if (session_) print_session_report(*session_, this);
          return 0;
        case summary_save_text:
          save_as_text(window, "_", "", false);
          return 0;
        case summary_plot_selected:
          plot_selected();
          return 0;
        case summary_plot_reset:
          if (table_) table_->clear_selection();
          invalidate();
          return 0;
        case summary_scroll_up:
          if (table_) table_->scroll_forward();
          invalidate();
          return 0;
        case summary_scroll_down:
          if (table_) table_->scroll_back();
          invalidate();
          return 0;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}
