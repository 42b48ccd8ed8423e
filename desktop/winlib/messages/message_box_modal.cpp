// The Windows build's message boxes: through the modal seam.
#include <windows.h>

#include "desktop/winlib/messages/message_box.h"
#include "platform/modal/modal_ui.h"

namespace {

BOOL CALLBACK take_first_shown(HWND window, LPARAM found) {
  if (!IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// A box without an owner can open behind the program's windows, where no
// one sees it and the program seems stuck: it belongs to the window the
// person works in (the active one), else to the program's first shown
// top-level window, the main window.
HWND box_owner() {
  HWND active = GetActiveWindow();
  if (active && IsWindowVisible(active)) return active;
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), take_first_shown, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

int show_message_box(const char* text, const char* caption, unsigned style) {
  return modal_message_box(box_owner(), text, caption, style);
}
