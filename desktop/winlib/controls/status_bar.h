// The status bar of two parts at the foot of a graph window: its texts, its
// halves kept when the window's size changes, and the page of the client
// area above it.
#ifndef DESKTOP_WINLIB_CONTROLS_STATUS_BAR_H
#define DESKTOP_WINLIB_CONTROLS_STATUS_BAR_H

#include <windows.h>

#include <string>

#include "desktop/winlib/geometry/paper.h"

// Nothing for a null bar.
void set_status_text(HWND bar, int part, const std::string& text);
// Two parts, the first width / 2 pixels wide.
void split_status_bar(HWND bar, int width);
// Passes the window's WM_SIZE on to the bar, then splits it in halves.
void resize_status_bar(HWND bar, WPARAM wparam, LPARAM lparam);
// The window's client area less the bar's height (a null bar has none), as
// a page of the screen.
paper scale_above_status_bar(HWND window, HWND bar);

#endif
