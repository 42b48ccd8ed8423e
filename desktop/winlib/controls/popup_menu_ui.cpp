#include "desktop/winlib/controls/popup_menu_ui.h"

namespace {

BOOL real_track_popup_menu(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, params);
}

const popup_menu_calls platform_calls = {real_track_popup_menu};
popup_menu_calls current = platform_calls;

}  // namespace

const popup_menu_calls& popup_menu_ui() { return current; }

const popup_menu_calls& popup_menu_ui_platform() { return platform_calls; }

popup_menu_calls popup_menu_ui_install(const popup_menu_calls& calls) {
  popup_menu_calls previous = current;
  current.track_popup_menu = calls.track_popup_menu ? calls.track_popup_menu : platform_calls.track_popup_menu;
  return previous;
}

int track_popup_command(HMENU menu, int screen_x, int screen_y, HWND owner) {
  return static_cast<int>(current.track_popup_menu(menu, TPM_RETURNCMD, screen_x, screen_y, owner, nullptr));
}
