// The menus of the frame itself: the main menu with its status page, the
// message page and the shutdown confirmation.
#ifndef HANDHELD_UI_MENUS_FRAME_MENUS_H
#define HANDHELD_UI_MENUS_FRAME_MENUS_H

#include <windows.h>

int main_menu(int command, LPARAM value);
int message_menu(int command, LPARAM value);
int shutdown_menu(int command, LPARAM value);

// The page hidden while the shutdown confirmation stands, shown again when
// it is cancelled.
void show_remembered_page();

// The main page has been shown once since start-up (the battery read and
// the board's options with it).
bool main_page_shown_once();

#endif
