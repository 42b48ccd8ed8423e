// Running a program: the page after a test (repeat, discard, next), the
// running page (pause, skip, restart, stop), the waiting page of a flicker
// and the entry page (captions only).
#ifndef HANDHELD_UI_MENUS_ROAD_RUN_H
#define HANDHELD_UI_MENUS_ROAD_RUN_H

#include <windows.h>

int after_test_menu(int command, LPARAM value);
int running_menu(int command, LPARAM value);
int waiting_menu(int command, LPARAM value);
int entry_page_menu(int command, LPARAM value);

void install_road_run_menus();

#endif
