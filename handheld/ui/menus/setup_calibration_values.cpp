#include "handheld/ui/menus/setup_calibration_values.h"

#include <stdio.h>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/ui/colour_brushes.h"
#include "handheld/ui/dialogs/unit_drawing.h"

namespace {

struct lineForm {
  int y;
  const wchar_t* format;
  int first;
  int second;  // -1: one value
};

const lineForm kLines[] = {
    {5, L"FLSH: %8lg  %8lg", 0, 1},      {20, L"F1C0: %8lg", 22, -1},        {35, L"F1C1: %8lg", 23, -1},
    {50, L"F1C2: %8lg", 24, -1},         {65, L"BKG1: %8lg  %8lg", 3, 2},     {95, L"DATA_A: %8lg  %8lg", 6, 7},
    {110, L"DATA_B: %8lg  %8lg", 8, 9},  {125, L"IMP_AE: %8lg  %8lg", 4, 5},  {140, L"IMP_AR: %8lg  %8lg", 10, 11},
    {155, L"IMP_BE: %8lg  %8lg", 12, 13}, {170, L"IMP_BR: %8lg  %8lg", 14, 15}, {200, L"F2C0: %8lg", 25, -1},
    {215, L"F2C1: %8lg", 26, -1},        {230, L"F2C2: %8lg", 27, -1},        {245, L"BKG2: %8lg  %8lg", 29, 28},
};

const int PAGE_COLOUR = 5;   // the main dialog's black
const int TEXT_BACKGROUND = 7;
const int TEXT_COLOUR = 5;

}  // namespace

std::vector<calibrationLine> calibration_constant_lines() {
  std::vector<calibrationLine> lines;
  for (const lineForm& form : kLines) {
    wchar_t text[96];
    if (form.second < 0) {
      swprintf(text, 96, form.format, calibration_table[form.first].load());
    } else {
      swprintf(text, 96, form.format, calibration_table[form.first].load(), calibration_table[form.second].load());
    }
    lines.push_back({form.y, text});
  }
  return lines;
}

void show_calibration_constants(HWND window, bool clear) {
  if (window == nullptr) return;
  RECT client;
  GetClientRect(window, &client);
  RECT area{5, 0, client.right - 10, 260};
  HDC dc = GetDC(window);
  FillRect(dc, &area, brushes[clear ? PAGE_COLOUR : TEXT_BACKGROUND]);
  if (!clear) {
    HGDIOBJ old = SelectObject(dc, small_font != nullptr ? small_font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkColor(dc, colour_of(TEXT_BACKGROUND));
    SetTextColor(dc, colour_of(TEXT_COLOUR));
    for (const calibrationLine& line : calibration_constant_lines()) {
      TextOutW(dc, 10, line.y, line.text.c_str(), static_cast<int>(line.text.size()));
    }
    SelectObject(dc, old);
  }
  ReleaseDC(window, dc);
}
