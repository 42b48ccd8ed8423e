#include "handheld/ui/menus/setup_keypad.h"

#include <math.h>
#include <stdarg.h>
#include <stdio.h>

#include <string>

#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/menus/setup_calibration_run.h"
#include "handheld/ui/window_placement.h"

namespace {

struct keypadState {
  HWND window = nullptr;
  digitDialog kind = CALIBRATION_DIALOG;
  valueDigits digits{{0, 0, 0, 0}, 0};
  int field = 0;
  double step = 0.0;
  std::wstring prompt;
  std::wstring unit;
  double opening_value = 0.0;
};
keypadState keypad;

int field_item(int field) { return KEYPAD_FIRST_DIGIT + field; }

void show_digits() {
  if (keypad.window == nullptr) return;
  for (int i = 0; i < 4; ++i) set_item_int(keypad.window, field_item(i), keypad.digits.digit[i]);
  set_item_int(keypad.window, KEYPAD_EXPONENT, keypad.digits.exponent);
}

// The current field highlighted: its text selected and the focus on it.
void select_value_digit(int previous) {
  if (keypad.window == nullptr) return;
  SendDlgItemMessageW(keypad.window, field_item(previous), EM_SETSEL, static_cast<WPARAM>(-1), 0);
  set_item_focus(keypad.window, field_item(keypad.field), true);
}

void echo_value() {
  const double value = digits_to_value(keypad.digits, &keypad.step);
  wchar_t text[40];
  swprintf(text, 40, L"%10lg", value);
  set_item_text(keypad.window, KEYPAD_ECHO, text);
}

INT_PTR take_key(WPARAM code) {
  const int previous = keypad.field;
  switch (code) {
    case PAGE_KEY_UP:
      digit_up(keypad.digits, keypad.field);
      show_digits();
      echo_value();
      break;
    case PAGE_KEY_DOWN:
      digit_down(keypad.digits, keypad.field, keypad.kind);
      show_digits();
      echo_value();
      break;
    case PAGE_KEY_TAB:
      keypad.field = (keypad.field + 1) % KEYPAD_FIELDS;
      break;
    case KEYPAD_FIRST_FIELD:
      keypad.field = 0;
      set_item_text(keypad.window, KEYPAD_ECHO, L"");
      break;
    case PAGE_CLOSE:
      DestroyWindow(keypad.window);
      return TRUE;
    case NOTICE_TIMER_EVENT:
      show_message(MESSAGE_ERROR, false, "########\nBACKLIGHT MESSAGE TIMEOUT\n########");
      return TRUE;
    case NOTICE_STIMULATOR_MESSAGE:
    case PAGE_UNCOVERED:
      return TRUE;
    default:
      // The calibration procedures' points: keep, drop, fire the flash.
      if (keypad.kind == CALIBRATION_DIALOG && calibration_keypad_notice(code) != 0) return TRUE;
      log_mesg("***calibrationProc(1) UNKNOWN SWITCH VALUE (%d) ***", static_cast<int>(code));
      return TRUE;
  }
  select_value_digit(previous);
  return TRUE;
}

INT_PTR keypad_procedure(digitDialog kind, HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      keypad.window = dialog;
      keypad.kind = kind;
      keypad.field = 0;
      place_window_low(dialog);
      set_item_text(dialog, KEYPAD_PROMPT, keypad.prompt.c_str());
      set_item_text(dialog, KEYPAD_UNIT, keypad.unit.c_str());
      keypad.digits = value_to_digits(keypad.opening_value);
      digits_to_value(keypad.digits, &keypad.step);
      show_digits();
      if (kind == CALIBRATION_DIALOG) calibration_keypad_opened();
      select_value_digit(0);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    case WM_USER:
      return take_key(wParam);
    case WM_DESTROY:
      if (keypad.window == dialog) keypad.window = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void prepare_keypad(digitDialog kind, double value, const wchar_t* prompt, const wchar_t* unit) {
  keypad.kind = kind;
  keypad.opening_value = value;
  keypad.prompt = prompt != nullptr ? prompt : L"";
  keypad.unit = unit != nullptr ? unit : L"";
}

INT_PTR CALLBACK calibrationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return keypad_procedure(CALIBRATION_DIALOG, dialog, message, wParam, lParam);
}

INT_PTR CALLBACK digitEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return keypad_procedure(DIGIT_ENTRY_DIALOG, dialog, message, wParam, lParam);
}

HWND push_keypad(digitDialog kind, double value, const wchar_t* prompt, const wchar_t* unit) {
  prepare_keypad(kind, value, prompt, unit);
  return push_dialog(kind == CALIBRATION_DIALOG ? calibrationProc : digitEntryProc, KEYPAD_DIALOG);
}

double keypad_value() { return digits_to_value(keypad.digits, &keypad.step); }

double keypad_step() { return keypad.step; }

void keypad_show_value(double value) {
  keypad.digits = value_to_digits(value);
  show_digits();
}

void keypad_clear_digits(int exponent) {
  keypad.digits = valueDigits{{0, 0, 0, 0}, exponent};
  show_digits();
}

HWND keypad_window() { return keypad.window; }

void calibration_heading(const wchar_t* text) {
  if (keypad.window != nullptr) set_item_text(keypad.window, KEYPAD_HEADING, text);
}

void calibration_printf(const wchar_t* format, ...) {
  wchar_t text[129];
  va_list args;
  va_start(args, format);
  vswprintf(text, 129, format, args);
  va_end(args);
  text[128] = L'\0';
  if (keypad.window != nullptr) set_item_text(keypad.window, KEYPAD_PROMPT, text);
}
