// Requests for a menu change, callable from any thread: each is queued and
// NOTICE_MENU_REQUEST is posted to the main dialog, which takes the newest queued
// request and shows its menu on the user-interface thread.
#ifndef HANDHELD_UI_MENU_REQUEST_H
#define HANDHELD_UI_MENU_REQUEST_H

#include <windows.h>

#include "handheld/engine/ids/handheld_ids.h"

struct menuRequest {
  HWND window;         // whose keys get the captions (the main dialog)
  int pageCode;        // passed with the page-shown command; 9 = none
  int menuId;          // 0..45; 46 = go back
  DLGPROC dialogProc;  // null: the level has no dialog
  int resourceId;
  bool replace;        // replace the current level instead of pushing over it
};

const int MENU_REQUEST_SLOTS = 10;

// Queues the request (with ten queued, it replaces the newest) and posts
// NOTICE_MENU_REQUEST to the main dialog.
void request_menu(HWND window, int pageCode, int menuId, DLGPROC dialogProc, int resourceId, bool replace);

// Takes the newest queued request (last in, first out); false when none is
// queued.
bool take_menu_request(menuRequest& request);

// The queue as it stands: the count and the slots from the oldest (0).
int menu_request_count();
menuRequest menu_request_slot(int slot);
// Forgets every queued request.
void clear_menu_requests();

#endif
