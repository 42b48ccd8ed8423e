#include "handheld/ui/frame/startup.h"

#include "handheld/ui/status/card_room.h"
#include "platform/ce/ce_calls.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/storage/ini_file.h"
#include "handheld/ui/status/key_log.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_dialog_proc.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/engine/stimulator/main_window_link.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/frame/notices.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/remote/remote_line.h"
#include "handheld/engine/remote/remote_uart.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/stimulator/stimulator_reader.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/ui/frame/timers.h"
#include "handheld/ui/frame/unit_resources.h"
#include "handheld/engine/storage/unit_time.h"
#include "handheld/ui/frame/unit_workers.h"

namespace {

const int UI_SETUP_PRIORITY = 0;
const int UI_PRIORITY = 251;

// Messages of the engine's portable code go to the message display.
void show_engine_message(int kind, const char* text) { show_message(kind, false, "%s", text); }

}  // namespace

void write_framed_errors(const std::string& errors) {
  if (errors.empty()) return;
  const char* row = "*************************";
  remote_printf("\r\n%s", row);
  remote_write(errors.data(), errors.size());
  remote_printf("\r\n%s\r\n", row);
}

void start_up_main_dialog(HWND dialog) {
  start_ticks = GetTickCount();
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  main_dialog = dialog;
  first_paint_done = false;
  set_show_message_handler(show_engine_message);
  use_unit_time_for_log_and_folders();
  install_menu_handlers();

  reset_status_lines();
  test_flag_byte = 0;
  channels.a_on = 1;
  channels.b_on = 0;
  channels.current = 0;

  create_unit_resources();
  init_key_log();
  set_key_log_dump_hook(dump_key_log);

  std::string errors;
  // The stimulator's bytes and message time-outs reach this dialog and the
  // main window from now on.
  set_main_dialog_poster(window_main_dialog_poster(dialog));
  set_8051_message_timer(window_8051_message_timer(main_window));
  end_8051_message();
  forget_completed_messages();
  if (open_8051_uart() == nullptr || !start_stimulator_reader()) errors += "*** UNABLE TO CREATE UART THREAD ***";

  open_remote_uart();

  if (install_hardware_library() != 1) remote_printf("*** DLL INSTALLATION FAILED ***\r\n");

  start_unit_workers(errors);
  write_framed_errors(errors);
  errors.clear();

  reset_adc();
  setup_adc(15000, 0, 8, 0);

  send_8051_byte(COMMAND_VERSION);

  if (!CeSetThreadPriority(GetCurrentThread(), UI_SETUP_PRIORITY)) {
    errors += "### UNABLE TO SET\n THREAD PRIORITY\n FOR SETUP ###";
  }
  init_dac();
  CeSetThreadPriority(GetCurrentThread(), UI_PRIORITY);

  idle_minutes = 0;
  if (!start_timer(TIMER_IDLE, IDLE_PERIOD_MS)) errors += "### CANNOT CREATE TIMEOUT TIMER ###";
  write_framed_errors(errors);

  set_unit_serial("0123456");
  copy_default_parameters();
  if (!read_ini_file()) remote_printf("*** NO INITIALIZATION FILE (VANDU.INI) ***\r\n");
  check_card_space(false);
  // What a protocol run shows goes to the graph plotter from here on.
  install_plotter_screen(true);
  request_menu(dialog, PAGE_DEFAULT, MENU_MAIN, nullptr, 0, false);
  remote_printf("-- WE'RE UP\r\n");
}
