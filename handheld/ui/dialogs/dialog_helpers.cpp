#include "handheld/ui/dialogs/dialog_helpers.h"

#include <stdarg.h>
#include <stdio.h>
#include <wchar.h>

#include <mutex>

#include "handheld/ui/message_display.h"

namespace {

char scratch[SCRATCH_TEXT_CAPACITY];

const int SAVED_VALUES = 5;
int savedValues[SAVED_VALUES];
int savedIndex = 0;

const int ITEM_READ_CHARACTERS = 127;

}  // namespace

void set_item_focus(HWND dialog, int id, bool select) {
  HWND item = GetDlgItem(dialog, id);
  if (select) {
    PostMessageW(item, EM_SETSEL, 0, -1);
    PostMessageW(item, WM_SETFOCUS, 0, 0);
  } else {
    PostMessageW(item, WM_KILLFOCUS, 0, 0);
  }
}

void select_list_item(HWND dialog, int id, int index) {
  SendDlgItemMessageW(dialog, id, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void set_item_text(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }

void set_item_text_narrow(HWND dialog, int id, const char* text) {
  wchar_t wide[140];
  size_t n = 0;
  for (; text != nullptr && text[n] != '\0' && n < 139; ++n) {
    wide[n] = static_cast<wchar_t>(static_cast<unsigned char>(text[n]));
  }
  wide[n] = L'\0';
  set_item_text(dialog, id, wide);
}

void set_item_int(HWND dialog, int id, int value) {
  wchar_t text[32];
  swprintf(text, 32, L"%d", value);
  set_item_text(dialog, id, text);
}

void set_item_double(HWND dialog, int id, double value) {
  wchar_t text[64];
  swprintf(text, 64, L"%lg", value);
  set_item_text(dialog, id, text);
}

int get_item_int(HWND dialog, int id) {
  wchar_t text[ITEM_READ_CHARACTERS + 1] = {};
  GetDlgItemTextW(dialog, id, text, ITEM_READ_CHARACTERS + 1);
  int value = 0;
  return swscanf(text, L"%d", &value) == 1 ? value : 0;
}

double get_item_double(HWND dialog, int id) {
  wchar_t text[ITEM_READ_CHARACTERS + 1] = {};
  GetDlgItemTextW(dialog, id, text, ITEM_READ_CHARACTERS + 1);
  double value = 0.0;
  return swscanf(text, L"%lg", &value) == 1 ? value : 0.0;
}

const char* format_to_scratch(const char* format, ...) {
  va_list args;
  va_start(args, format);
  if (vsnprintf(scratch, sizeof scratch, format, args) < 0) scratch[0] = '\0';
  va_end(args);
  return scratch;
}

void push_saved_value(int value) {
  savedValues[savedIndex] = value;
  savedIndex = (savedIndex + 1) % SAVED_VALUES;
}

int pop_saved_value() {
  savedIndex = (savedIndex + SAVED_VALUES - 1) % SAVED_VALUES;
  return savedValues[savedIndex];
}

bool make_date_string(const SYSTEMTIME& date, wchar_t* buffer, size_t capacity) {
  if (buffer == nullptr) return false;
  if (capacity < 8) {
    show_message(MESSAGE_ERROR, false, "*** DATESTRING WILL NOT FIT IN BUFFER SUPPLIED ***");
    if (capacity > 3) wcscpy(buffer, L"ERR");
    return false;
  }
  swprintf(buffer, capacity, L"T%02d%02d%02d", date.wYear % 100, date.wMonth % 100, date.wDay % 100);
  return true;
}
