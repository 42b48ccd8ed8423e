#include "handheld/ui/pages/date_time_page.h"

#include <wchar.h>

#include <mutex>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/storage/test_folders.h"
#include "platform/ce/unit_clock.h"
#include "handheld/ui/window_placement.h"

namespace {

struct field {
  int control;
  int minimum;
  int maximum;
};
// In TAB order; the AM/PM field last.
const field kFields[] = {{DATE_MONTH, 1, 12},  {DATE_DAY, 1, 31},    {DATE_YEAR, 2005, 2050}, {TIME_HOUR, 1, 12},
                         {TIME_MINUTE, 0, 59}, {TIME_SECOND, 0, 59}, {TIME_AM_PM, 0, 0}};
const int kFieldCount = 7;
const int kAmPmField = 6;

int current = 0;
int cache = 0;
unitTime oldTime{};

void read_current(HWND dialog) {
  if (current != kAmPmField) cache = get_item_int(dialog, kFields[current].control);
}

void focus_current(HWND dialog) {
  set_item_focus(dialog, kFields[current].control, true);
  read_current(dialog);
}

bool is_pm(HWND dialog) {
  wchar_t text[8] = {};
  GetDlgItemTextW(dialog, TIME_AM_PM, text, 8);
  return wcscmp(text, L"PM") == 0;
}

void step(HWND dialog, bool up) {
  if (current == kAmPmField) {
    set_item_text(dialog, TIME_AM_PM, is_pm(dialog) ? L"AM" : L"PM");
  } else {
    const field& f = kFields[current];
    if (up) {
      cache = cache >= f.maximum ? f.minimum : cache + 1;
    } else {
      cache = cache <= f.minimum ? f.maximum : cache - 1;
    }
    set_item_int(dialog, f.control, cache);
  }
  show_entered_date(dialog);
}

void show_time(HWND dialog, const unitTime& time) {
  set_item_int(dialog, DATE_MONTH, time.month);
  set_item_int(dialog, DATE_DAY, time.day);
  set_item_int(dialog, DATE_YEAR, time.year < 2008 ? 2008 : time.year);
  const int hour12 = time.hour == 0 ? 12 : time.hour > 12 ? time.hour - 12 : time.hour;
  set_item_int(dialog, TIME_HOUR, hour12);
  set_item_int(dialog, TIME_MINUTE, time.minute);
  set_item_int(dialog, TIME_SECOND, time.second);
  set_item_text(dialog, TIME_AM_PM, time.hour > 11 ? L"PM" : L"AM");
}

unitTime entered_time(HWND dialog) {
  unitTime time{};
  time.month = get_item_int(dialog, DATE_MONTH);
  time.day = get_item_int(dialog, DATE_DAY);
  time.year = get_item_int(dialog, DATE_YEAR);
  time.hour = get_item_int(dialog, TIME_HOUR);
  time.minute = get_item_int(dialog, TIME_MINUTE);
  time.second = get_item_int(dialog, TIME_SECOND);
  if (is_pm(dialog)) {
    if (time.hour <= 11) time.hour += 12;
  } else if (time.hour == 12) {
    time.hour = 0;
  }
  return time;
}

void log_time_of(const char* name, const unitTime& time) {
  log_open_record("%s", name);
  log_field(0, "date", "%.2d/%.2d/%.2d", time.month, time.day, time.year);
  log_field(0, "time", "%.2d:%.2d:%.2d", time.hour, time.minute, time.second);
  log_close_record(0, "%s", "");
}

void save(HWND dialog) {
  const unitTime time = entered_time(dialog);
  if (!valid_unit_time(time)) {
    show_message(MESSAGE_ERROR, false, "*** INVALID DATE OR TIME ***\n\n%.2d/%.2d/%.4d %.2d:%.2d:%.2d", time.month,
                 time.day, time.year, time.hour, time.minute, time.second);
    return;
  }
  set_unit_time_filetime(unit_time_to_filetime(time));
  send_clock_to_stimulator(time);
  log_open_record("time_change");
  log_time_of("from", oldTime);
  log_time_of("to", time);
  log_field(0, "test_folder", "%s", narrow(current_test_folder()).c_str());
  log_close_record(1, "%s", "");
  const int folders = count_ERG_directories();
  erg_directory_index = folders > 0 ? folders - 1 : 0;
  set_ERG_directory(true);
  post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), static_cast<LPARAM>(DATE_TIME_SAVE));
}

}  // namespace

bool valid_unit_time(const unitTime& time) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (time.month < 1 || time.month > 12 || time.year < 1601) return false;
  const bool leap = (time.year % 4 == 0 && time.year % 100 != 0) || time.year % 400 == 0;
  const int days = kDays[time.month - 1] + (time.month == 2 && leap ? 1 : 0);
  return time.day >= 1 && time.day <= days && time.hour >= 0 && time.hour <= 23 && time.minute >= 0 &&
         time.minute <= 59 && time.second >= 0 && time.second <= 59;
}

void show_entered_date(HWND dialog) {
  SYSTEMTIME date{};
  date.wYear = static_cast<WORD>(get_item_int(dialog, DATE_YEAR));
  date.wMonth = static_cast<WORD>(get_item_int(dialog, DATE_MONTH));
  date.wDay = static_cast<WORD>(get_item_int(dialog, DATE_DAY));
  wchar_t text[16] = {};
  make_date_string(date, text, 16);
  set_item_text(dialog, DATE_FOLDER_TEXT, text);
}

void send_clock_to_stimulator(const unitTime& time) {
  const uint64_t filetime = unit_time_to_filetime(time);
  uint8_t bytes[8];
  const uint32_t high = static_cast<uint32_t>(filetime >> 32);
  const uint32_t low = static_cast<uint32_t>(filetime & 0xFFFFFFFFu);
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<uint8_t>(high >> (24 - 8 * i));
    bytes[4 + i] = static_cast<uint8_t>(low >> (24 - 8 * i));
  }
  std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
  send_8051_byte(COMMAND_CLOCK);
  unit_sleep_ms(10);
  send_8051(bytes, sizeof bytes);
}

INT_PTR CALLBACK dateTimeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      place_window_low(dialog);
      ShowWindow(dialog, SW_SHOW);
      oldTime = unit_local_time();
      current = 0;
      show_time(dialog, oldTime);
      show_entered_date(dialog);
      focus_current(dialog);
      return TRUE;
    case WM_USER:
      switch (wParam) {
        case KEY_UPPER_LEFT:
          step(dialog, true);
          return TRUE;
        case KEY_LOWER_LEFT:
          step(dialog, false);
          return TRUE;
        case KEY_UPPER_RIGHT:
          set_item_focus(dialog, kFields[current].control, false);
          current = (current + 1) % kFieldCount;
          focus_current(dialog);
          return TRUE;
        case DATE_TIME_SAVE:
          save(dialog);
          return TRUE;
        case PAGE_CLOSE:
          DestroyWindow(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}
