#include "handheld/ui/status/status_lines.h"

#include <stdio.h>
#include <wchar.h>

#include <string>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/colour_brushes.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/acquisition/sweep_collection.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_folders.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/ui/dialogs/unit_drawing.h"
#include "handheld/engine/storage/unit_time.h"
#include "handheld/ui/window_placement.h"

std::atomic<int> battery_class{2};

namespace {

std::atomic<int> batteryReading{0};   // 0 off, 16 or 32: the converter input
std::atomic<bool> serialShown{false};
std::atomic<bool> batteryLogged{false};
std::atomic<int> bannerOpenings{0};

const wchar_t* const kBanners[2] = {L"\n----------- S a d r i n -----------",
                                    L"\n--------- T a r n a v e l l e ---------"};

std::wstring widen_text(const std::string& text) { return std::wstring(text.begin(), text.end()); }

void set_line(int item, const wchar_t* text) {
  HWND page = status_page();
  if (page != nullptr) SetDlgItemTextW(page, item, text);
}

SYSTEMTIME unit_system_time() {
  const unitTime t = unit_local_time();
  SYSTEMTIME s = {};
  s.wYear = static_cast<WORD>(t.year);
  s.wMonth = static_cast<WORD>(t.month);
  s.wDay = static_cast<WORD>(t.day);
  s.wDayOfWeek = static_cast<WORD>(t.day_of_week);
  s.wHour = static_cast<WORD>(t.hour);
  s.wMinute = static_cast<WORD>(t.minute);
  s.wSecond = static_cast<WORD>(t.second);
  return s;
}

}  // namespace

int battery_class_of(double volts) {
  if (volts > 3.7) return 2;
  if (volts < 3.5) return 0;
  return 1;
}

void enable_battery_reading(bool alternateInput) { batteryReading = alternateInput ? 32 : 16; }
void disable_battery_reading() { batteryReading = 0; }

double battery_volts() {
  const int input = batteryReading.load();
  return input == 0 ? 0.0 : read_battery_volts(input);
}

HWND status_page() { return dialog_is_active(statusPageProc) ? top_dialog() : nullptr; }

void reset_status_lines() {
  serialShown = false;
  batteryLogged = false;
  battery_class = 2;
  disable_battery_reading();
}

void show_status_page(HDC dc, bool withSerial) {
  if (dc != nullptr) {
    SetBkColor(dc, colour_of(5));
    SetTextColor(dc, colour_of(7));
    const wchar_t* blanks = L"                                           ";
    for (int y = 15; y <= 75; y += 15) ExtTextOutW(dc, 0, y, 0, nullptr, blanks, 43, nullptr);
  }
  wchar_t text[64];
  swprintf(text, 64, L"S/W VERSION %2i.%3.3i%lc", kProgramMajor, kProgramMinor, static_cast<wint_t>(kProgramRelease));
  set_line(STATUS_VERSION, text);
  show_stimulator_line();
  show_battery_line();
  show_time_line(dc);
  if (withSerial) show_serial_line();
  const std::string card = cfc_id();
  if (card != "?????") {
    swprintf(text, 64, L"CF card %ls", widen_text(card).c_str());
    set_line(STATUS_CARD, text);
  }
}

void show_time_line(HDC) {
  if (clock_set.load() != 0) {
    const SYSTEMTIME now = unit_system_time();
    wchar_t date[32] = {}, time[32] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, date, 32);
    GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 32);
    wchar_t text[96];
    swprintf(text, 96, L"     %ls  %ls     ", date, time);
    set_line(STATUS_TIME, text);
  } else {
    set_line(STATUS_TIME, L"*** TIME IS NOT SET ***");
  }
  HWND page = status_page();
  if (page != nullptr) InvalidateRect(GetDlgItem(page, STATUS_TIME), nullptr, TRUE);
}

void show_serial_line() {
  wchar_t text[32];
  swprintf(text, 32, L"Serial #%ls", widen_text(unit_serial()).c_str());
  set_line(STATUS_SERIAL, text);
  serialShown = true;
}

void show_stimulator_line() {
  const stimulatorVersionNumber v = stimulator_version();
  if (v.major + v.minor == 0) return;
  wchar_t text[48];
  swprintf(text, 48, L"uC S/W VERSION %2i.%3.3i", v.major, v.minor);
  set_line(STATUS_STIMULATOR, text);
}

void show_battery_line() {
  const double volts = battery_volts();
  battery_class = battery_class_of(volts);
  const int options = board_options.load();
  const wchar_t* dome = (options & BOARD_DUAL_DOME) != 0 ? L"Dual Dome" : L"";
  const wchar_t* fill = (options & BOARD_FILL_IN) != 0 ? L"Fill-in" : L"";
  wchar_t link[16] = L"";
  if ((options & BOARD_MASTER_LINK) != 0) swprintf(link, 16, L"M/S-%ls", is_master.load() != 0 ? L"M" : L"S");
  wchar_t text[128];
  swprintf(text, 128, L"\nBATTERY : %4.2lf volts \n%ls %ls %ls", volts, dome, fill, link);
  set_line(STATUS_BATTERY, text);
  HWND page = status_page();
  if (page != nullptr) InvalidateRect(GetDlgItem(page, STATUS_BATTERY), nullptr, TRUE);
  if (!serialShown.load() && calibration_received.load() != 0) show_serial_line();
  show_stimulator_line();
  if (logging_on() && !batteryLogged.exchange(true)) log_mesg("Batt %4.2lfv DD:%2.2X", volts, options);
}

INT_PTR CALLBACK statusPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      center_window_horizontally(dialog);
      SetDlgItemTextW(dialog, STATUS_BANNER, kBanners[bannerOpenings++ % 2]);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(brushes[5]);
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id == STATUS_BATTERY) {
        const int colour = battery_class.load();
        SetTextColor(dc, colour_of(5));
        SetBkColor(dc, colour_of(colour));
        return reinterpret_cast<INT_PTR>(brushes[colour]);
      }
      if (id == STATUS_BANNER) {
        SetTextColor(dc, colour_of(7));
        SetBkColor(dc, colour_of(6));
        return reinterpret_cast<INT_PTR>(brushes[6]);
      }
      if (id == STATUS_TIME && clock_set.load() == 0) {
        SetTextColor(dc, colour_of(0));
        SetBkColor(dc, colour_of(7));
        return reinterpret_cast<INT_PTR>(brushes[7]);
      }
      SetTextColor(dc, colour_of(7));
      SetBkColor(dc, colour_of(5));
      return reinterpret_cast<INT_PTR>(brushes[5]);
    }
    case WM_USER:
      if (wParam == PAGE_CLOSE) {
        DestroyWindow(dialog);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
