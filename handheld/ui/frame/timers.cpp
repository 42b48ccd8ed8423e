#include "handheld/ui/frame/timers.h"

#include <initializer_list>
#include <mutex>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/storage/ini_file.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/remote/remote_line.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/ui/status/status_lines.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/frame/unit_workers.h"

std::atomic<int> idle_minutes{0};
std::atomic<int> status_ticks{0};
std::atomic<bool> status_page_drawn{false};

namespace {

// The kept ids, by timer: 100, 101, 103 (started by the stimulator link
// itself) and 104.
std::atomic<UINT_PTR> idleTimer{0};
std::atomic<UINT_PTR> warningTimer{0};
std::atomic<UINT_PTR> statusTimer{0};

std::atomic<UINT_PTR>* kept(UINT_PTR id) {
  switch (id) {
    case TIMER_IDLE: return &idleTimer;
    case TIMER_WARNING: return &warningTimer;
    case TIMER_STATUS: return &statusTimer;
    default: return nullptr;
  }
}

const int STATUS_TICKS_PER_BATTERY = 5;

void idle_minute() {
  if (auto_calibration.load() == 0) ++idle_minutes;
  if (static_cast<double>(idle_minutes.load()) >= shutdown_minutes()) {
    if (main_dialog != nullptr) PostMessageW(main_dialog, WM_USER, NOTICE_TIMER_EVENT, TIMER_IDLE);
    idleTimer = 0;
  }
}

void warning_over() {
  kill_timer(TIMER_WARNING);
  if (static_cast<double>(idle_minutes.load()) < shutdown_minutes()) return;
  write_ini_file();
  remote_printf("-- I'M OUTA HERE\r\n");
  log_mesg("Timeout Shutdown, ETI = %lg Min", static_cast<double>(GetTickCount() - start_ticks) / 60000.0);
  log_close_record(1, "%s", "");
  if (main_dialog != nullptr) PostMessageW(main_dialog, WM_USER, NOTICE_TIMER_EVENT, TIMER_WARNING);
}

void status_refresh() {
  HDC dc = main_dialog != nullptr ? GetDC(main_dialog) : nullptr;
  show_time_line(dc);
  if (!status_page_drawn.exchange(true)) show_status_page(dc, calibration_received.load() != 0);
  if (++status_ticks > STATUS_TICKS_PER_BATTERY) {
    show_battery_line();
    status_ticks = 0;
  }
  if (dc != nullptr) ReleaseDC(main_dialog, dc);
  if (auto_calibration.load() != 0) return;
  FILE* marker = open_card_file(L"Storage Card\\CAL\\IN", "rb");
  if (marker == nullptr) return;
  fclose(marker);
  set_message_layout(MESSAGE_NOTICE, 3, MESSAGE_TEXT_CONTROL);
  format_message_text("%s", "\n\n-- AUTO CALIBRATION MODE  --");
  request_menu(main_dialog, PAGE_DEFAULT, MENU_CALIBRATION_MESSAGE, messageDialogProc, IDD_MESSAGE_SIX_LINES, false);
  pulse_remote_event();
}

}  // namespace

bool start_timer(UINT_PTR id, UINT periodMs) {
  std::atomic<UINT_PTR>* slot = kept(id);
  const UINT_PTR started = main_window != nullptr ? SetTimer(main_window, id, periodMs, nullptr) : 0;
  if (slot != nullptr) *slot = started;
  return started != 0;
}

void kill_timer(UINT_PTR id) {
  if (main_window != nullptr) KillTimer(main_window, id);
  std::atomic<UINT_PTR>* slot = kept(id);
  if (slot != nullptr) *slot = 0;
}

bool timer_running(UINT_PTR id) {
  std::atomic<UINT_PTR>* slot = kept(id);
  return slot != nullptr && slot->load() != 0;
}

void timer_handler(UINT_PTR id) {
  if (id == 0) return;
  if (id == idleTimer.load()) {
    idle_minute();
  } else if (id == warningTimer.load()) {
    warning_over();
  } else if (id == TIMER_MESSAGE) {
    if (main_window != nullptr) KillTimer(main_window, TIMER_MESSAGE);
    stimulator_message_timed_out();
  } else if (id == statusTimer.load()) {
    status_refresh();
  }
}

void reset_timers() {
  for (UINT_PTR id : {TIMER_IDLE, TIMER_WARNING, TIMER_MESSAGE, TIMER_STATUS}) kill_timer(id);
  idle_minutes = 0;
  status_ticks = 0;
  status_page_drawn = false;
}
