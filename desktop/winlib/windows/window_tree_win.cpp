#include "desktop/winlib/windows/window_tree.h"

void destroy_window_handle(HWND window) {
  if (IsWindow(window)) DestroyWindow(window);
}
