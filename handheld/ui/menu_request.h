// Requests for a menu change, callable from any thread. The menu stack runs
// them on the user-interface thread; until it exists the requests are only
// kept, in the queue it will take them from.
#ifndef MENU_REQUEST_H
#define MENU_REQUEST_H

#include <windows.h>

struct menuRequest {
  HWND window;         // whose keys get the captions (the main dialog)
  int pageCode;        // passed with the page-shown command; 9 = none
  int menuId;          // 0..45; 46 = go back
  DLGPROC dialogProc;  // null: the level has no dialog
  int resourceId;
  bool replace;        // replace the current level instead of pushing over it
};

const int MENU_REQUEST_SLOTS = 10;

// Stores the request in slot [count] and, while count is below 9, counts it
// (a tenth and every later request replace slot 9).
void request_menu(HWND window, int pageCode, int menuId, DLGPROC dialogProc, int resourceId, bool replace);

// The queue as it stands.
int menu_request_count();
menuRequest menu_request_slot(int slot);
// Forgets every queued request.
void clear_menu_requests();

#endif
