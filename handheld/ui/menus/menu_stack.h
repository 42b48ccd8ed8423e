// The stack of menu levels: each level is a soft-key menu (its id) and,
// for most menus, a modeless page dialog over the main dialog. A level
// keeps the captions the keys had before it was pushed; popping it puts
// them back. Only the user-interface thread changes the stack; other
// threads ask for changes with request_menu (menu_request.h).
#ifndef HANDHELD_UI_MENUS_MENU_STACK_H
#define HANDHELD_UI_MENUS_MENU_STACK_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"

const int MENU_STACK_LEVELS = 50;

// Pushes a level. With a dialog procedure the page dialog (resource
// resourceId of the program) is created over the main dialog and returned;
// without one the level has no dialog and 0 is returned. At 50 levels the
// push is refused and 0 returned: "### push_menu: OVERFLOW ###" goes to the
// log once (until a level is taken off), never to a message page.
HWND push_menu(int menuId, DLGPROC dialogProc, int resourceId);
// A page dialog of the current menu.
HWND push_dialog(DLGPROC dialogProc, int resourceId);
// Pops every level of the top menu id (their dialogs closed with PAGE_CLOSE,
// the first level's saved captions put back); the uncovered level's dialog
// is shown and told (PAGE_UNCOVERED). Returns the menu now on top;
// MENU_SHUTDOWN_CONFIRM on an empty stack.
int pop_menu();
// Pops one level that has a dialog: its captions put back, its dialog
// closed; 1. A level without a dialog is refused ("### pop_dialog, NO
// DIALOG AT TOP LEVEL ###") and left; 0. An empty stack: 0.
int pop_dialog();

// The top level's menu id; 19 with "### current_menu: STACK IS EMPTY ###"
// on an empty stack.
int current_menu();
// The topmost level's dialog that has one; 0 when none.
HWND top_dialog();
bool dialog_is_active(DLGPROC dialogProc);
// Levels on the stack (0 when empty).
int menu_stack_depth();
// Puts the shown pop-up pages over the topmost page inside the main window
// above the main window again, lowest level first: a touch on a key raises
// the main window, which must never hide the page over it.
void raise_page_windows();
// Closes every level's dialog and empties the stack (the program's end).
void clear_menu_stack();

// To the top dialog; 0 when there is none, else 1.
int send_to_top_dialog(UINT message, WPARAM wParam, LPARAM lParam);
int post_to_top_dialog(UINT message, WPARAM wParam, LPARAM lParam);
// The commands a menu handler takes besides the keys: a page shown (its
// page code as the value) and the main dialog's internal command.
inline bool is_page_shown(int command) { return command == static_cast<int>(PAGE_SHOWN_COMMAND); }
inline bool is_internal_command(int command) { return command == static_cast<int>(MAIN_INTERNAL_COMMAND); }
// Menu changes on the main dialog's keys, shown with the page code: a menu
// (pushed over the current one, or replacing it) and going back.
void open_menu(int menuId, int pageCode, bool replace = false);
void go_back(int pageCode);
// One of the four keys to the top dialog as its notice: WM_USER with
// PAGE_KEY_UP (upper left), PAGE_KEY_DOWN (lower left), PAGE_KEY_TAB (upper
// right) or PAGE_KEY_DONE (lower right).
// 1 for a key, 0 for any other command.
int post_key_to_page(int command);
// WM_COMMAND id with value as lParam to the main dialog.
void post_main_command(int id, LPARAM value);

// A message kept by another thread for the user-interface thread.
void defer_message(int kind, const char* text);
// Shows a kept message (show_message, pushed over the current menu); 1
// when one was shown.
int show_deferred_message();

// The changes themselves, on the user-interface thread.
void show_menu(HWND window, int pageCode, int menuId, DLGPROC dialogProc, int resourceId, bool replace);
void set_menu_captions(HWND window, const wchar_t* c1, const wchar_t* c2, const wchar_t* c3, const wchar_t* c4,
                       int pageCode);
// NOTICE_MENU_REQUEST: runs the newest queued request; nothing when none is queued.
void run_menu_request();

#endif
