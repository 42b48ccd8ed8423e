#include "handheld/ui/window_placement.h"

#include "handheld/engine/ids/handheld_ids.h"

namespace {

enum class vertical { centre, top, low, above_keys };

const int kLowRow = 265;

void place(HWND window, vertical where) {
  RECT own;
  if (!GetWindowRect(window, &own)) return;
  int width = own.right - own.left;
  int height = own.bottom - own.top;
  UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

  HWND parent = GetParent(window);
  RECT area;
  if (parent != nullptr) {
    GetClientRect(parent, &area);
  } else {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  POINT at = {(area.right - width) / 2, 0};
  if (where == vertical::centre) at.y = (area.bottom - height) / 2;
  if (where == vertical::low) at.y = kLowRow - height;
  if (where == vertical::above_keys && parent != nullptr) {
    // The room is the parent's client area above its upper key row.
    int room = area.bottom;
    HWND key = GetDlgItem(parent, KEY_UPPER_LEFT);
    RECT keyRect;
    if (key != nullptr && GetWindowRect(key, &keyRect)) {
      POINT top = {keyRect.left, keyRect.top};
      ScreenToClient(parent, &top);
      if (top.y > 0 && top.y < room) room = top.y;
    }
    if (height > room) height = room;
    at.y = (room - height) / 2;
    flags &= ~static_cast<UINT>(SWP_NOSIZE);
  }
  if (at.x < 0) at.x = 0;
  if (at.y < 0) at.y = 0;
  // A pop-up is placed in screen coordinates, a child in its parent's.
  bool child = (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
  if (parent != nullptr && !child) ClientToScreen(parent, &at);
  SetWindowPos(window, nullptr, at.x, at.y, width, height, flags);
}

}  // namespace

void center_window(HWND window) { place(window, vertical::centre); }

void center_window_horizontally(HWND window) { place(window, vertical::top); }

void place_window_low(HWND window) { place(window, vertical::low); }

void place_window_above_keys(HWND window) { place(window, vertical::above_keys); }
