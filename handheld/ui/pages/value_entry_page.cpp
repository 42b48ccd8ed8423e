#include "handheld/ui/pages/value_entry_page.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <string>

#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/window_placement.h"

namespace {

const int kFieldCount = 4;
const int kFields[kFieldCount] = {VALUE_LEADING, VALUE_TENTHS, VALUE_EXPONENT, VALUE_UPDATE};

struct valueRequest {
  HWND notify = nullptr;
  int* integerTarget = nullptr;
  double* doubleTarget = nullptr;
  std::wstring caption;
  std::wstring unit;
  bool hasUnit = false;
  HWND dialog = nullptr;
  int current = 0;
  int cache = 0;
};
valueRequest request;

void ask_for_page(const wchar_t* caption, const wchar_t* unit, HWND notify) {
  request.notify = notify;
  request.caption = caption != nullptr ? caption : L"";
  request.hasUnit = unit != nullptr;
  request.unit = unit != nullptr ? unit : L"";
  request.current = 0;
  request_menu(main_dialog, PAGE_DEFAULT, MENU_VALUE_ENTRY, nullptr, 0, false);
}

double target_value() {
  if (request.doubleTarget != nullptr) return *request.doubleTarget;
  if (request.integerTarget != nullptr) return *request.integerTarget;
  return 0.0;
}

valueFields read_fields(HWND dialog) {
  return valueFields{get_item_int(dialog, VALUE_LEADING), get_item_int(dialog, VALUE_TENTHS),
                     get_item_int(dialog, VALUE_EXPONENT)};
}

void recompute_value(HWND dialog) { set_item_double(dialog, VALUE_TEXT, fields_value(read_fields(dialog))); }

void show_value_fields(HWND dialog) {
  const double value = target_value();
  set_item_double(dialog, VALUE_TEXT, value);
  const valueFields fields = split_value(value);
  set_item_int(dialog, VALUE_EXPONENT, fields.exponent);
  set_item_int(dialog, VALUE_LEADING, fields.leading);
  set_item_int(dialog, VALUE_TENTHS, fields.tenths);
}

void focus_value_field(HWND dialog) {
  set_item_focus(dialog, kFields[(request.current + 3) % kFieldCount], false);
  set_item_focus(dialog, kFields[request.current], true);
  if (kFields[request.current] != VALUE_UPDATE) request.cache = get_item_int(dialog, kFields[request.current]);
}

void step_value_field(HWND dialog, int value) {
  request.cache = value;
  set_item_int(dialog, kFields[request.current], value);
  recompute_value(dialog);
}

void toggle_update_switch(HWND dialog) {
  wchar_t text[8] = {};
  GetDlgItemTextW(dialog, VALUE_UPDATE, text, 8);
  set_item_text(dialog, VALUE_UPDATE, wcscmp(text, L"YES") == 0 ? L"NO" : L"YES");
}

void step(HWND dialog, bool up) {
  const int field = kFields[request.current];
  if (field == VALUE_UPDATE) {
    toggle_update_switch(dialog);
  } else if (up) {
    step_value_field(dialog, (request.cache + 1) % 10);
  } else if (field == VALUE_TENTHS) {
    step_value_field(dialog, (request.cache + 9) % 10);
  } else {
    step_value_field(dialog, (request.cache - 1) % 10);
  }
}

// The value text as the target's type: an integer of any size is scanned
// as a double and rounded (its text may be in exponent form), held within
// the integer's range.
void store_target(HWND dialog) {
  wchar_t text[128] = {};
  GetDlgItemTextW(dialog, VALUE_TEXT, text, 128);
  double value = 0.0;
  if (swscanf(text, L"%lg", &value) != 1) value = 0.0;
  if (request.doubleTarget != nullptr) *request.doubleTarget = value;
  if (request.integerTarget != nullptr) {
    const double held = fmin(fmax(value, -2147483648.0), 2147483647.0);
    *request.integerTarget = static_cast<int>(llround(held));
  }
}

void done(HWND dialog) {
  wchar_t text[8] = {};
  GetDlgItemTextW(dialog, VALUE_UPDATE, text, 8);
  if (wcscmp(text, L"YES") == 0) {
    store_target(dialog);
    if (request.notify != nullptr && IsWindow(request.notify)) {
      SendMessageW(request.notify, WM_USER, MAIN_INTERNAL_COMMAND, VALUE_STORED);
    }
  }
  post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), VALUE_PAGE_DONE);
}

}  // namespace

valueFields split_value(double value) {
  valueFields fields{0, 0, 0};
  const double magnitude = fabs(value);
  if (magnitude == 0.0 || !isfinite(magnitude)) return fields;
  int exponent = static_cast<int>(floor(log10(magnitude)));
  // Tenths of the leading digit's unit, rounded down; a tiny allowance
  // keeps 0.3 from reading as 0.29999.
  double scaled = floor(magnitude / pow(10.0, exponent - 1) + 1e-9);
  if (scaled >= 100.0) {  // log10 came out one short
    ++exponent;
    scaled = floor(magnitude / pow(10.0, exponent - 1) + 1e-9);
  }
  const int digits = static_cast<int>(scaled);
  fields.exponent = exponent;
  fields.leading = (value < 0 ? -1 : 1) * (digits / 10);
  fields.tenths = digits % 10;
  return fields;
}

double fields_value(const valueFields& fields) {
  const double sign = fields.leading < 0 ? -1.0 : 1.0;
  return sign * (abs(fields.leading) + 0.1 * fields.tenths) * pow(10.0, fields.exponent);
}

void edit_integer_value(int* target, const wchar_t* caption, const wchar_t* unit, HWND notify) {
  request.integerTarget = target;
  request.doubleTarget = nullptr;
  ask_for_page(caption, unit, notify);
}

void edit_double_value(double* target, const wchar_t* caption, const wchar_t* unit, HWND notify) {
  request.doubleTarget = target;
  request.integerTarget = nullptr;
  ask_for_page(caption, unit, notify);
}

INT_PTR CALLBACK valueEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      request.dialog = dialog;
      place_window_low(dialog);
      set_item_text(dialog, VALUE_CAPTION, request.caption.c_str());
      if (request.hasUnit) set_item_text(dialog, VALUE_UNIT, request.unit.c_str());
      set_item_text(dialog, VALUE_UPDATE, L"YES");
      show_value_fields(dialog);
      request.current = 0;
      focus_value_field(dialog);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    case WM_USER:
      switch (wParam) {
        case PAGE_KEY_UP:
          step(dialog, true);
          return TRUE;
        case PAGE_KEY_DOWN:
          step(dialog, false);
          return TRUE;
        case PAGE_KEY_TAB:
          request.current = (request.current + 1) % kFieldCount;
          focus_value_field(dialog);
          return TRUE;
        case PAGE_KEY_DONE:
          done(dialog);
          return TRUE;
        case PAGE_CLOSE:
          if (request.dialog == dialog) request.dialog = nullptr;
          DestroyWindow(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}
