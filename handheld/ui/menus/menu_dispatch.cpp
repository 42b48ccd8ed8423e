#include "menu_dispatch.h"

#include <atomic>

#include "menu_stack.h"
#include "message_display.h"

namespace {

std::atomic<menuHandler> handlers[MENU_COUNT];

}  // namespace

menuHandler set_menu_handler(int menuId, menuHandler handler) {
  if (menuId < 0 || menuId >= MENU_COUNT) return nullptr;
  return handlers[menuId].exchange(handler);
}

int dispatch_menu_command(int command, LPARAM value) {
  const int menu = current_menu();
  if (menu < 0 || menu >= MENU_COUNT) {
    show_message(MESSAGE_ERROR, false, "### MENU %d\nNOT FOUND ###", menu);
    return 0;
  }
  const menuHandler handler = handlers[menu].load();
  return handler != nullptr ? handler(command, value) : 0;
}
