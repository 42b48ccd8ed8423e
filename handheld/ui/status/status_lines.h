// The lines of the status page (dialog 201): program and stimulator
// versions, battery and board options, clock, serial number and storage
// card; the battery class; the status page itself.
#ifndef HANDHELD_UI_STATUS_STATUS_LINES_H
#define HANDHELD_UI_STATUS_STATUS_LINES_H

#include <windows.h>

#include <atomic>

// Items of the status page.
const int STATUS_PAGE_DIALOG = 201;
const int STATUS_BANNER = 1161;
const int STATUS_VERSION = 1153;
const int STATUS_STIMULATOR = 1154;
const int STATUS_BATTERY = 1155;
const int STATUS_TIME = 1156;
const int STATUS_SERIAL = 1157;
const int STATUS_CARD = 1158;

// 2 good (above 3.7 V), 1 fair, 0 low (below 3.5 V).
extern std::atomic<int> battery_class;
int battery_class_of(double volts);

// Battery reading: off (0.0 volts) until enabled; then on converter input
// 32 when the alternate input is chosen, else 16.
void enable_battery_reading(bool alternateInput);
void disable_battery_reading();
double battery_volts();

// The status page's procedure: placed at the top, its banner alternating
// between the maker's and the instrument's name on each opening; the time
// and battery lines in their colours; closes on PAGE_CLOSE.
INT_PTR CALLBACK statusPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The status page when it is the top dialog, else 0.
HWND status_page();

// The page's lines; each does nothing while the status page is not on top.
void show_status_page(HDC dc, bool withSerial);
void show_time_line(HDC dc);
void show_serial_line();
void show_stimulator_line();
void show_battery_line();

// Forgets what was shown (a new run of the program).
void reset_status_lines();

#endif
