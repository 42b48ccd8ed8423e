#include "menu_request.h"

#include <mutex>

namespace {

std::mutex request_lock;
menuRequest requests[MENU_REQUEST_SLOTS];
int count = 0;

}  // namespace

void request_menu(HWND window, int pageCode, int menuId, DLGPROC dialogProc, int resourceId, bool replace) {
  std::lock_guard<std::mutex> hold(request_lock);
  requests[count] = {window, pageCode, menuId, dialogProc, resourceId, replace};
  if (count < MENU_REQUEST_SLOTS - 1) ++count;
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
