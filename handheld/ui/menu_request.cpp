#include "handheld/ui/menu_request.h"

#include <mutex>

#include "handheld/ui/main_dialog.h"

namespace {

std::mutex request_lock;
menuRequest requests[MENU_REQUEST_SLOTS];
int count = 0;

}  // namespace

void request_menu(HWND window, int pageCode, int menuId, DLGPROC dialogProc, int resourceId, bool replace) {
  {
    std::lock_guard<std::mutex> hold(request_lock);
    const int slot = count < MENU_REQUEST_SLOTS ? count++ : MENU_REQUEST_SLOTS - 1;
    requests[slot] = {window, pageCode, menuId, dialogProc, resourceId, replace};
  }
  HWND main = main_dialog;
  if (main != nullptr) PostMessageW(main, WM_USER, NOTICE_MENU_REQUEST, 0);
}

bool take_menu_request(menuRequest& request) {
  std::lock_guard<std::mutex> hold(request_lock);
  if (count == 0) return false;
  request = requests[--count];
  return true;
}

int menu_request_count() {
  std::lock_guard<std::mutex> hold(request_lock);
  return count;
}

menuRequest menu_request_slot(int slot) {
  std::lock_guard<std::mutex> hold(request_lock);
  if (slot < 0 || slot >= MENU_REQUEST_SLOTS) return menuRequest{};
  return requests[slot];
}

void clear_menu_requests() {
  std::lock_guard<std::mutex> hold(request_lock);
  count = 0;
}
