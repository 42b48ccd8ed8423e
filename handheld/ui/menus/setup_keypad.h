// The calibration keypad (dialog 145): a heading, a prompt of several
// lines, a value typed as four mantissa digits and a decimal exponent, the
// value's unit and its echo. The calibration procedures, the parameter
// editor and the restore page push it over their menus; the soft keys reach
// it as PAGE_KEY_UP, PAGE_KEY_DOWN, PAGE_KEY_TAB, KEYPAD_FIRST_FIELD
// (first field, echo cleared) and PAGE_CLOSE.
#ifndef HANDHELD_UI_MENUS_SETUP_KEYPAD_H
#define HANDHELD_UI_MENUS_SETUP_KEYPAD_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/acquisition/value_digits.h"

const int KEYPAD_DIALOG = 145;
const int KEYPAD_HEADING = 1201;
const int KEYPAD_PROMPT = 1202;
const int KEYPAD_FIRST_DIGIT = 1203;  // 1203..1206 the digits, 1207 the exponent
const int KEYPAD_EXPONENT = 1207;
const int KEYPAD_ECHO = 1208;
const int KEYPAD_UNIT = 1209;
const int KEYPAD_FIELDS = 5;

const WPARAM KEYPAD_FIRST_FIELD = 43;

// What the next keypad opens with: the kind of DOWN (the calibration
// dialog's or the digit entry's), the value shown, the prompt and the unit.
void prepare_keypad(digitDialog kind, double value, const wchar_t* prompt, const wchar_t* unit);

// The two procedures on the one template: calibrationProc for the
// calibration procedures, digitEntryProc for the parameter editor.
INT_PTR CALLBACK calibrationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK digitEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Pushes the keypad over the current menu as prepared; its window.
HWND push_keypad(digitDialog kind, double value, const wchar_t* prompt, const wchar_t* unit);

// The typed value, and the reading step of the last value read.
double keypad_value();
double keypad_step();
// Shows a value in the digit fields.
void keypad_show_value(double value);
// Zeroes the digits and sets the exponent.
void keypad_clear_digits(int exponent);
// The open keypad (0 when none).
HWND keypad_window();

// Texts of the open keypad: the heading, and the prompt from a wide format
// (at most 128 characters).
void calibration_heading(const wchar_t* text);
void calibration_printf(const wchar_t* format, ...);

#endif
