// Placing a page dialog over its parent (the main dialog), size and z-order
// unchanged. A window without a parent is placed on the screen.
#ifndef HANDHELD_UI_WINDOW_PLACEMENT_H
#define HANDHELD_UI_WINDOW_PLACEMENT_H

#include <windows.h>

// Centre of the parent's client area; neither coordinate below 0.
void center_window(HWND window);
// Centred horizontally, top at 0.
void center_window_horizontally(HWND window);
// Centred horizontally, bottom edge at row 265 of the parent (top at least 0).
void place_window_low(HWND window);
// Centred in the parent's client area above its soft keys (the top of
// KEY_UPPER_LEFT), never over them: a window taller than that room is cut to it.
void place_window_above_keys(HWND window);

#endif
