// The date and time page (dialog 117): month, day, year, hour, minute,
// second and AM/PM, stepped with the soft keys (WM_USER KEY_UPPER_LEFT
// up, KEY_LOWER_LEFT down, KEY_UPPER_RIGHT tab), saved with WM_USER
// DATE_TIME_SAVE and closed with PAGE_CLOSE. Saving sets the unit's clock,
// sends the time to the stimulator, logs the change and chooses the test
// folder of the new date, then posts the main dialog MAIN_INTERNAL_COMMAND
// with DATE_TIME_SAVE. A date that does not exist (the 31st of April) or
// a time out of range is refused with a message and nothing is changed.
#ifndef HANDHELD_UI_PAGES_DATE_TIME_PAGE_H
#define HANDHELD_UI_PAGES_DATE_TIME_PAGE_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/storage/unit_time.h"

const int DATE_TIME_DIALOG = 117;
const int DATE_MONTH = 1084;
const int DATE_DAY = 1085;
const int DATE_YEAR = 1008;
const int TIME_HOUR = 1086;
const int TIME_MINUTE = 1010;
const int TIME_SECOND = 1011;
const int TIME_AM_PM = 1012;
const int DATE_FOLDER_TEXT = 1087;

INT_PTR CALLBACK dateTimeProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The test-folder date string of the entered month, day and year into 1087.
void show_entered_date(HWND dialog);

// 'S', 10 ms, then the time as a FILETIME in eight bytes, high 32 bits
// first, each half most significant byte first.
void send_clock_to_stimulator(const unitTime& time);

// The calendar's check: month 1..12, a day of that month (leap years
// counted), hour 0..23, minute and second 0..59.
bool valid_unit_time(const unitTime& time);

#endif
