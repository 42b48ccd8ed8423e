// The system parameter editor: the list of the visible parameters
// (MENU_PARAMETER_LIST), the entry of a value on the keypad
// (MENU_PARAMETER_EDIT) and its confirmation (MENU_PARAMETER_CONFIRM), and
// the restore of every default.
#ifndef HANDHELD_UI_MENUS_SETUP_PARAMETERS_H
#define HANDHELD_UI_MENUS_SETUP_PARAMETERS_H

#include <windows.h>

#include <string>

#include "handheld/engine/storage/system_parameters.h"

const int PARAMETER_LIST_DIALOG = 146;
const int PARAMETER_LIST_TITLE = 1211;
const int PARAMETER_LIST_BOX = 1212;
const int PARAMETER_LIST_STATUS = 1213;

// The table row of the n-th visible row; 0 when there is none.
int visible_parameter_index(int n);
int visible_parameter_count();
// "current: ..." for a row: ON/OFF and YES/NO units by name, any other unit
// after the value.
std::wstring parameter_current_text(int row);

// The backlight level of the stimulator's 'b' reply (the whole message:
// id and payload, count bytes): its bytes 7 and 8 as the board's count,
// held to 0..100. False, nothing taken, for a reply too short to hold them.
bool backlight_of_reply(const uint8_t* message, int count, double& level);

// Every value back to its default (with what follows from each); the
// backlight sent to the board and stored there.
void restore_parameter_defaults();

// The list's procedure (dialog 146).
INT_PTR CALLBACK parameterListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The row being edited and the menus.
int current_parameter_row();
int parameter_list_menu(int command, LPARAM value);
int parameter_edit_menu(int command, LPARAM value);
int parameter_confirm_menu(int command, LPARAM value);

void install_parameter_menus();

#endif
