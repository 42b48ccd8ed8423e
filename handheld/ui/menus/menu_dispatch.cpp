#include "handheld/ui/menus/menu_dispatch.h"

#include <atomic>

#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/frame/timers.h"

namespace {

std::atomic<menuHandler> handlers[MENU_COUNT];

// The test thread ends each run with RUN_ENDED_COMMAND and RUN_ENDED_CODE.
// That is no key press: only the running page takes it. Any other menu on top (a
// message over the running page, the flicker's waiting page) holds it
// until the running page is shown again.
std::atomic<bool> runEndHeld{false};

}  // namespace

menuHandler set_menu_handler(int menuId, menuHandler handler) {
  runEndHeld = false;  // new handlers (a new run of the program) hold nothing
  if (menuId < 0 || menuId >= MENU_COUNT) return nullptr;
  return handlers[menuId].exchange(handler);
}

int dispatch_menu_command(int command, LPARAM value) {
  const bool runEnd = command == RUN_ENDED_COMMAND && value == RUN_ENDED_CODE;
  if (command >= KEY_UPPER_LEFT && command <= KEY_LOWER_RIGHT && !runEnd) {
    // A soft key is the operator at work, whether it does anything or not;
    // a blank one does nothing, from the screen as from the stimulator.
    idle_minutes = 0;
    if (key_is_blank(command - KEY_UPPER_LEFT + 1)) return 1;
  }
  const int menu = current_menu();
  if (menu < 0 || menu >= MENU_COUNT) {
    show_message(MESSAGE_ERROR, false, "### MENU %d\nNOT FOUND ###", menu);
    return 0;
  }
  if (runEnd && menu != MENU_RUNNING) {
    runEndHeld = true;
    return 1;
  }
  if (menu == MENU_RUNNING && is_page_shown(command) && runEndHeld.exchange(false)) {
    post_main_command(RUN_ENDED_COMMAND, RUN_ENDED_CODE);
  }
  const menuHandler handler = handlers[menu].load();
  return handler != nullptr ? handler(command, value) : 0;
}
