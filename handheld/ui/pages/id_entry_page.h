// The patient number and test id page (dialog 101), which also takes the
// unit's serial number. Field 0 is the patient number (1..99), fields 1 to
// 10 the id's characters as indices of the entry alphabet; in serial mode
// fields 0 to 6 are the serial number's characters. The soft keys reach it
// as PAGE_KEY_UP, PAGE_KEY_DOWN, PAGE_KEY_TAB, PAGE_KEY_DONE, and
// PAGE_CLOSE closes it; done posts the main dialog MAIN_INTERNAL_COMMAND
// with ENTRY_DONE.
#ifndef HANDHELD_UI_PAGES_ID_ENTRY_PAGE_H
#define HANDHELD_UI_PAGES_ID_ENTRY_PAGE_H

#include <windows.h>

#include <string>

const int ID_ENTRY_DIALOG = 101;
const int ID_PATIENT_NUMBER = 1057;  // 1058..1067 the ten characters
const int ID_NUMBER_CAPTION = 1151;
const int ID_TEXT_CAPTION = 1152;
const int ID_STATE_LINE = 1171;
const int ID_FIELDS = 11;

// "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ?"; index 10 is the blank.
const int ENTRY_ALPHABET_SIZE = 38;
const int ENTRY_BLANK = 10;
wchar_t entry_alphabet_char(int index);

struct idEntryState {
  int fields[ID_FIELDS] = {1, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10};
  int current = 0;
  bool serialMode = false;
  bool open = false;
};
// Kept between openings.
idEntryState& id_entry();

INT_PTR CALLBACK idEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The page in patient mode: captions, the patient number, the latest
// stored id of that patient and the state line ("- -" or "- New -").
void open_patient_entry(HWND dialog, int patientNumber);
// The page in serial mode: "Serial Number" and the unit's serial number.
void open_serial_entry(HWND dialog, const std::string& serial);

// Fills the ten characters from the latest test of the patient number in
// the current test folder; true when one was found (else ten blanks).
bool load_id_for_number(HWND dialog);
void prepare_serial_entry(const std::string& serial);
void show_id_fields(HWND dialog);

// Fields 1..10 as text (ten characters), and fields 0..6 in serial mode.
std::wstring entered_id_text();
std::string entered_serial_text();
// The seven serial positions are digits or blanks.
bool serial_entry_is_digits();

#endif
