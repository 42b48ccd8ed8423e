#include "handheld/ui/menus/frame_menus.h"

#include "handheld/engine/storage/ini_file.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/menus/road_entry.h"
#include "handheld/ui/menus/road_files.h"
#include "handheld/ui/menus/road_protocol.h"
#include "handheld/ui/menus/road_run.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/menus/setup_electrode_menus.h"
#include "handheld/ui/menus/setup_menus.h"
#include "handheld/ui/menus/setup_parameters.h"
#include "handheld/ui/frame/shutdown.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/ui/frame/timers.h"

namespace {

bool mainPageShownOnce = false;
HWND rememberedPage = nullptr;

void main_page_shown() {
  if (!mainPageShownOnce) {
    mainPageShownOnce = true;
    enable_battery_reading(true);
    battery_volts();
  }
  status_page_drawn = false;
  push_dialog(statusPageProc, STATUS_PAGE_DIALOG);
  HDC dc = GetDC(main_dialog);
  show_status_page(dc, calibration_received.load() != 0);
  ReleaseDC(main_dialog, dc);
  if (!timer_running(TIMER_STATUS)) start_timer(TIMER_STATUS, STATUS_PERIOD_MS);
}

}  // namespace

int main_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    (void)value;
    main_page_shown();
    return 1;
  }
  if (command == KEY_LOWER_RIGHT) {  // "Quit"
    kill_timer(TIMER_STATUS);
    open_menu(MENU_SHUTDOWN_CONFIRM, PAGE_DEFAULT);
    return 1;
  }
  // "Acquire Data", "File Info" and "System Setup" open the menus of the
  // test road and of the set-up pages.
  return 0;
}

int message_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    push_dialog(messageDialogProc, IDD_MESSAGE_TEN_LINES);
    return 1;
  }
  if (command == KEY_LOWER_RIGHT) {  // "Back"
    show_remembered_page();
    go_back(PAGE_BACK_FROM_MESSAGE);
    return 1;
  }
  return 1;  // the other keys do nothing
}

int shutdown_menu(int command, LPARAM) {
  if (is_page_shown(command)) {
    write_ini_file();
    Sleep(300);
    // Notices queued for the main dialog no longer matter.
    MSG dropped;
    while (PeekMessageW(&dropped, main_dialog, WM_USER, WM_USER, PM_REMOVE)) {
    }
    rememberedPage = top_dialog();
    if (rememberedPage != nullptr) ShowWindow(rememberedPage, SW_HIDE);
    set_message_layout(MESSAGE_WARNING, 3, -1);
    push_dialog(messageDialogProc, IDD_SHUTDOWN_WARNING);
    return 1;
  }
  if (command == KEY_UPPER_RIGHT) {  // "SHUTDOWN"
    manual_shutdown();
    return 1;
  }
  if (command == KEY_UPPER_LEFT) {  // "CANCEL"
    start_timer(TIMER_IDLE, IDLE_PERIOD_MS);
    idle_minutes = 0;
    show_remembered_page();
    go_back(PAGE_NONE);
    return 1;
  }
  return 1;  // KEY_LOWER_LEFT does nothing
}

bool main_page_shown_once() { return mainPageShownOnce; }

void show_remembered_page() {
  if (rememberedPage != nullptr && IsWindow(rememberedPage)) ShowWindow(rememberedPage, SW_SHOW);
  rememberedPage = nullptr;
}

void install_menu_handlers() {
  mainPageShownOnce = false;
  rememberedPage = nullptr;
  // The main menu's handler is installed with the test road's menus, whose
  // keys it opens; it hands the rest to main_menu.
  set_menu_handler(MENU_MESSAGE, message_menu);
  set_menu_handler(MENU_SHUTDOWN_CONFIRM, shutdown_menu);
  install_road_entry_menus();
  install_road_protocol_menus();
  install_road_run_menus();
  install_road_file_menus();
  install_setup_menus();
  install_parameter_menus();
  install_electrode_menus();
}
