#include "handheld/ui/frame/shutdown.h"

#include <windows.h>

#include <stdio.h>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/engine/remote/remote_line.h"
#include "handheld/ui/frame/timers.h"

void manual_shutdown() {
  const DWORD elapsedMs = GetTickCount() - start_ticks;
  const double hours = elapsedMs / 3600000.0;
  const int wholeHours = static_cast<int>(hours);
  const double minutes = (hours - wholeHours) * 60.0;
  const int wholeMinutes = static_cast<int>(minutes);
  const double seconds = (minutes - wholeMinutes) * 60.0;
  remote_printf("-- WE'RE DOWN.\r\n");
  log_mesg(" %6.2lf Min", elapsedMs / 60000.0);
  log_mesg("Manual Shutdown, ETI [%2.2i:%2.2i:%04.1lf]", wholeHours, wholeMinutes, seconds);
  log_close_record(1, "%s", "");
  fflush(nullptr);
  ShowCursor(TRUE);
  if (main_dialog != nullptr) PostMessageW(main_dialog, WM_USER, NOTICE_TIMER_EVENT, TIMER_WARNING);
}
