#include "handheld/ui/pages/id_entry_page.h"

#include <wchar.h>

#include <memory>

#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/ui/window_placement.h"

namespace {

const wchar_t kAlphabet[] = L"0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
const int kSerialCharacters = 7;

idEntryState entry;

int control_of_field(int field) { return ID_PATIENT_NUMBER + field; }

// The alphabet index of a character; -1 outside the alphabet.
int alphabet_index(wchar_t c) {
  for (int i = 0; i < ENTRY_ALPHABET_SIZE; ++i) {
    if (kAlphabet[i] == c) return i;
  }
  return -1;
}

void show_state_line(HWND dialog, bool found) { set_item_text(dialog, ID_STATE_LINE, found ? L"- -" : L"- New -"); }

void step_field(HWND dialog, bool up) {
  int& value = entry.fields[entry.current];
  if (entry.current == 0 && !entry.serialMode) {
    value = up ? (value + 1) % 100 : (value + 99) % 100;
    if (value == 0) value = up ? 1 : 99;
    show_state_line(dialog, load_id_for_number(dialog));
  } else {
    value = up ? (value + 1) % ENTRY_ALPHABET_SIZE : (value + ENTRY_ALPHABET_SIZE - 1) % ENTRY_ALPHABET_SIZE;
  }
  show_id_fields(dialog);
}

}  // namespace

wchar_t entry_alphabet_char(int index) {
  return index >= 0 && index < ENTRY_ALPHABET_SIZE ? kAlphabet[index] : L' ';
}

idEntryState& id_entry() { return entry; }

bool load_id_for_number(HWND dialog) {
  if (dialog != nullptr) set_item_text(dialog, ID_TEXT_CAPTION, L"Test Id");
  entry.serialMode = false;
  auto record = std::make_unique<testFileRecord>();
  if (!load_protocol_test(entry.fields[0], *record)) {
    for (int i = 1; i < ID_FIELDS; ++i) entry.fields[i] = ENTRY_BLANK;
    return false;
  }
  bool ended = false;
  for (int i = 1; i < ID_FIELDS; ++i) {
    const wchar_t c = ended ? L'\0' : static_cast<wchar_t>(record->TestId[i - 1]);
    if (c == L'\0') ended = true;
    if (ended) {
      entry.fields[i] = 0;
      continue;
    }
    const int index = alphabet_index(c);
    if (index >= 0) entry.fields[i] = index;
  }
  return true;
}

void prepare_serial_entry(const std::string& serial) {
  for (int i = 0; i < ID_FIELDS; ++i) {
    const wchar_t c = i < kSerialCharacters && i < static_cast<int>(serial.size())
                          ? static_cast<wchar_t>(static_cast<unsigned char>(serial[i]))
                          : L' ';
    const int index = i < kSerialCharacters ? alphabet_index(c) : -1;
    entry.fields[i] = index >= 0 ? index : ENTRY_BLANK;
  }
  entry.serialMode = true;
}

void show_id_fields(HWND dialog) {
  if (dialog == nullptr) return;
  if (entry.serialMode) {
    const wchar_t text[2] = {entry_alphabet_char(entry.fields[0]), L'\0'};
    set_item_text(dialog, ID_PATIENT_NUMBER, text);
  } else {
    set_item_int(dialog, ID_PATIENT_NUMBER, entry.fields[0]);
  }
  for (int i = 1; i < ID_FIELDS; ++i) {
    const wchar_t text[2] = {entry_alphabet_char(entry.fields[i]), L'\0'};
    set_item_text(dialog, control_of_field(i), text);
  }
  set_item_focus(dialog, control_of_field(entry.current), true);
}

void open_patient_entry(HWND dialog, int patientNumber) {
  set_item_text(dialog, ID_NUMBER_CAPTION, L"Patient Number");
  set_item_text(dialog, ID_TEXT_CAPTION, L"Test Id");
  entry.fields[0] = patientNumber >= 1 && patientNumber <= 99 ? patientNumber : 1;
  show_state_line(dialog, load_id_for_number(dialog));
  show_id_fields(dialog);
}

void open_serial_entry(HWND dialog, const std::string& serial) {
  set_item_text(dialog, ID_NUMBER_CAPTION, L"");
  set_item_text(dialog, ID_TEXT_CAPTION, L"Serial Number");
  set_item_text(dialog, ID_STATE_LINE, L"");
  prepare_serial_entry(serial);
  show_id_fields(dialog);
}

std::wstring entered_id_text() {
  std::wstring id;
  for (int i = 1; i < ID_FIELDS; ++i) id += entry_alphabet_char(entry.fields[i]);
  return id;
}

std::string entered_serial_text() {
  std::string serial;
  for (int i = 0; i < kSerialCharacters; ++i) serial += static_cast<char>(entry_alphabet_char(entry.fields[i]));
  return serial;
}

bool serial_entry_is_digits() {
  for (int i = 0; i < kSerialCharacters; ++i) {
    if (entry.fields[i] < 0 || entry.fields[i] > ENTRY_BLANK) return false;
  }
  return true;
}

INT_PTR CALLBACK idEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      place_window_low(dialog);
      if (!entry.open) entry.current = 0;
      ShowWindow(dialog, SW_SHOW);
      entry.open = true;
      return TRUE;
    case WM_USER:
      switch (wParam) {
        case PAGE_KEY_UP:
          step_field(dialog, true);
          return TRUE;
        case PAGE_KEY_DOWN:
          step_field(dialog, false);
          return TRUE;
        case PAGE_KEY_TAB:
          set_item_focus(dialog, control_of_field(entry.current), false);
          entry.current = (entry.current + 1) % ID_FIELDS;
          set_item_focus(dialog, control_of_field(entry.current), true);
          return TRUE;
        case PAGE_KEY_DONE:
          entry.open = false;
          post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), ENTRY_DONE);
          return TRUE;
        case PAGE_CLOSE:
          entry.open = false;
          DestroyWindow(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}
