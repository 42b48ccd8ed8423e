// How the main dialog hands a command to the current menu: one handler per
// menu id, each returning 1 when it took the command. Commands are the
// keys (KEY_UPPER_LEFT..KEY_LOWER_RIGHT), PAGE_SHOWN_COMMAND (value: the
// page code) and MAIN_INTERNAL_COMMAND (value: its code).
#ifndef HANDHELD_UI_MENUS_MENU_DISPATCH_H
#define HANDHELD_UI_MENUS_MENU_DISPATCH_H

#include <windows.h>

using menuHandler = int (*)(int command, LPARAM value);

// Installs a menu's handler (null: the menu takes nothing); returns the
// previous one. Ids outside 0..45 are ignored.
menuHandler set_menu_handler(int menuId, menuHandler handler);

// The current menu's handling of the command: its handler's result, 0
// when it has none. A current menu outside 0..45 shows "### MENU %d\nNOT
// FOUND ###".
int dispatch_menu_command(int command, LPARAM value);

// The handlers this program has, installed at start-up.
void install_menu_handlers();

#endif
