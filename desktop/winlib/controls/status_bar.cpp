#include "desktop/winlib/controls/status_bar.h"

#include <commctrl.h>

void set_status_text(HWND bar, int part, const std::string& text) {
  if (bar) SendMessageA(bar, SB_SETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.c_str()));
}

void split_status_bar(HWND bar, int width) {
  int parts[2] = {width / 2, -1};
  SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void resize_status_bar(HWND bar, WPARAM wparam, LPARAM lparam) {
  if (!bar) return;
  SendMessageA(bar, WM_SIZE, wparam, lparam);
  RECT area{};
  GetClientRect(bar, &area);
  split_status_bar(bar, area.right - area.left);
}

paper scale_above_status_bar(HWND window, HWND bar) {
  paper scale;
  RECT client{};
  GetClientRect(window, &client);
  int status_height = 0;
  RECT area{};
  if (bar && GetWindowRect(bar, &area)) status_height = area.bottom - area.top;
  scale.set_from_pixels(client.right - client.left, client.bottom - client.top - status_height, screen_paper);
  return scale;
}
