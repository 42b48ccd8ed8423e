// The calibration values as the calibration values page shows them: one
// line per item at its height in the page, drawn on the main dialog.
#ifndef HANDHELD_UI_MENUS_SETUP_CALIBRATION_VALUES_H
#define HANDHELD_UI_MENUS_SETUP_CALIBRATION_VALUES_H

#include <windows.h>

#include <string>
#include <vector>

struct calibrationLine {
  int y;
  std::wstring text;
};
// The fifteen lines of the current table.
std::vector<calibrationLine> calibration_constant_lines();

// Draws the lines on the window (from x 5 to its width less 10, y 0 to
// 260), or with clear only fills that rectangle with the page's brush.
void show_calibration_constants(HWND window, bool clear);

#endif
