// The small windows of edit fields and buttons (a number, an annotation, a
// trace separation): their framed background with the fields' text colours,
// and their size fitted around their controls.
#ifndef DESKTOP_WINLIB_CONTROLS_EDIT_PANEL_H
#define DESKTOP_WINLIB_CONTROLS_EDIT_PANEL_H

#include <windows.h>

// Draws the frame (pixels) filled with brush, then sets the fields' text:
// colour 5 on an opaque colour 1.
void paint_edit_panel(HDC dc, HBRUSH brush, const RECT& frame);
// Sizes the window to width x height mm of the screen where it stands, then
// shows and paints it.
void fit_edit_panel(HWND window, double width_mm, double height_mm);

#endif
