#include "handheld/ui/menus/road_files.h"

#include <algorithm>
#include <string>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/storage/directory_browser.h"
#include "handheld/ui/directory_dialog.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/menus/road_state.h"
#include "handheld/engine/acquisition/sample_statistics.h"

namespace {

int rememberedChannel = 0;
// The browsed test's date and time as the list showed it.
std::wstring browsedDate;

std::wstring widen_record_text(const char16_t* text, size_t capacity) {
  std::wstring out;
  for (size_t i = 0; i < capacity && text[i] != u'\0'; ++i) out += static_cast<wchar_t>(text[i]);
  return out;
}

}  // namespace

void show_stored_test(HDC) {
  const testFileRecord& record = browsed_test_record();
  const double scale = record.Config.Scale;
  const double offset = record.Config.Offset;
  const double time = record.LastSweep.Time > 0 ? record.LastSweep.Time : record.Average.Time;
  double amin = 0, atmin = 0, amax = 0, atmax = 0, lmin = 0, ltmin = 0, lmax = 0, ltmax = 0;
  const bool average = minmax(record.Average, 0.0, time, amin, atmin, amax, atmax, scale, offset);
  const bool sweep = minmax(record.LastSweep, 0.0, time, lmin, ltmin, lmax, ltmax, scale, offset);
  double low = -1.0, high = 1.0;
  if (average && sweep) {
    low = std::min(amin, lmin);
    high = std::max(amax, lmax);
  } else if (average || sweep) {
    low = average ? amin : lmin;
    high = average ? amax : lmax;
  }
  if (high <= low) high = low + 1.0;
  push_scale(0.0, time > 0 ? time : 1.0, low, high, -1.0, no_minimum_range);
  graph_title(5, L"%ls", widen_record_text(record.ProtocolName, 64).c_str());
  show_test_label(&record, browsed_test_channel());
  graph_string1(5, -3, 7, L"%ls", browsedDate.c_str());
  erase_background_draw_axes(KEEP_COLOUR, KEEP_COLOUR);
  plot_last_sweep(&record, 0);
  plot_average(&record, 3);
  if (average) {
    hline(amin, 11);
    hline(amax, 11);
    xyplus(3, atmin, amin, 5);
    xyplus(3, atmax, amax, 5);
    graph_string2(5, -2, 3, "MIN:%4.0lf@%4.0lf   MAX:%4.0lf@%4.0lf", amin, atmin, amax, atmax);
    graph_string2(5, -1, 20, "p-p %4.0lf uV", amax - amin);
  }
  pop_scale();
}

int file_list_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == BROWSE_DELETE_TEST || value == BROWSE_DELETE_FOLDER) {
      send_to_top_dialog(WM_USER, static_cast<WPARAM>(value), 0);
    } else if (!dialog_is_active(directoryDialogProc)) {
      rememberedChannel = channels.current.load();
      push_dialog(directoryDialogProc, DIRECTORY_DIALOG);
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:
      post_to_top_dialog(WM_USER, PAGE_KEY_UP, 0);
      return 1;
    case KEY_LOWER_LEFT:
      post_to_top_dialog(WM_USER, PAGE_KEY_DOWN, 0);
      return 1;
    case KEY_UPPER_RIGHT:
      post_to_top_dialog(WM_USER, PAGE_SELECT, 0);
      return 1;
    case KEY_LOWER_RIGHT:
      channels.current = rememberedChannel;
      go_back(PAGE_DEFAULT);
      return 1;
    case MAIN_INTERNAL_COMMAND:
      if (value == PAGE_SHOW_BROWSED_TEST) {
        HWND list = top_dialog();
        wchar_t date[64] = {};
        if (list != nullptr) GetDlgItemTextW(list, DIRECTORY_TEXT_2, date, 64);
        browsedDate = date;
        open_menu(MENU_RESULT_GRAPH, PAGE_DEFAULT);
        return 1;
      }
      if (value == PAGE_ASK_DELETE_FOLDER) {
        open_menu(MENU_DELETE_FOLDER, PAGE_DEFAULT);
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

int stored_test_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    if (!plotter_exists()) {
      // The list stays hidden under the graph; going back shows it again.
      HWND list = top_dialog();
      if (list != nullptr) ShowWindow(list, SW_HIDE);
      set_plot_defaults(0, 199, -500, 500, show_stored_test);
      push_dialog(graph_dialog_procedure, GRAPH_DIALOG_ID);
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "DELETE": the list deletes the shown test
      pop_scale();
      go_back(BROWSE_DELETE_TEST);
      return 1;
    case KEY_LOWER_RIGHT:
      pop_scale();
      go_back(PAGE_NOTHING);
      return 1;
    default:
      return 1;
  }
}

int delete_folder_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    push_dialog(deleteFolderDialogProc, DELETE_FOLDER_DIALOG);
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Yes"
      go_back(BROWSE_DELETE_FOLDER);
      return 1;
    case KEY_UPPER_RIGHT:  // "No"
    case KEY_LOWER_RIGHT:  // "Back"
      go_back(PAGE_NOTHING);
      return 1;
    default:
      return 1;
  }
}

int graph_cursor_menu(int command, LPARAM) {
  if (command == KEY_LOWER_LEFT) {
    open_menu(MENU_GRAPH_SCALE, PAGE_DEFAULT);
  } else if (command == KEY_LOWER_RIGHT) {
    go_back(PAGE_DEFAULT);
  }
  return 1;
}

int graph_scale_menu(int command, LPARAM) {
  if (command == KEY_LOWER_RIGHT) go_back(PAGE_DEFAULT);
  return 1;
}

void install_road_file_menus() {
  rememberedChannel = 0;
  browsedDate.clear();
  set_menu_handler(MENU_FILE_LIST, file_list_menu);
  set_menu_handler(MENU_RESULT_GRAPH, stored_test_menu);
  set_menu_handler(MENU_DELETE_FOLDER, delete_folder_menu);
  set_menu_handler(MENU_GRAPH_CURSOR, graph_cursor_menu);
  set_menu_handler(MENU_GRAPH_SCALE, graph_scale_menu);
}
