// The start of the test road: the main menu's keys, the patient number and
// test id entry (which also takes the unit's serial number) and the message
// page of that entry.
#ifndef HANDHELD_UI_MENUS_ROAD_ENTRY_H
#define HANDHELD_UI_MENUS_ROAD_ENTRY_H

#include <windows.h>

int road_main_menu(int command, LPARAM value);
int id_entry_menu(int command, LPARAM value);
int entry_message_menu(int command, LPARAM value);

void install_road_entry_menus();

#endif
