#include "handheld/engine/storage/calibration_lines.h"

#include <stdio.h>

#include "handheld/engine/acquisition/calibration_table.h"

namespace {

struct lineLayout {
  int y;
  const char* label;
  int first;
  int second;  // -1: one value
};

const lineLayout kLines[CALIBRATION_LINE_COUNT] = {
    {5, "FLSH", 0, 1},     {20, "F1C0", 22, -1},  {35, "F1C1", 23, -1},  {50, "F1C2", 24, -1},
    {65, "BKG1", 3, 2},    {95, "DATA_A", 6, 7},  {110, "DATA_B", 8, 9}, {125, "IMP_AE", 4, 5},
    {140, "IMP_AR", 10, 11}, {155, "IMP_BE", 12, 13}, {170, "IMP_BR", 14, 15}, {200, "F2C0", 25, -1},
    {215, "F2C1", 26, -1}, {230, "F2C2", 27, -1}, {245, "BKG2", 29, 28},
};

}  // namespace

void calibration_constant_lines(calibrationLine out[CALIBRATION_LINE_COUNT]) {
  for (int k = 0; k < CALIBRATION_LINE_COUNT; ++k) {
    const lineLayout& line = kLines[k];
    out[k].y = line.y;
    if (line.second < 0) {
      snprintf(out[k].text, sizeof out[k].text, "%s: %8lg", line.label, calibration_table[line.first].load());
    } else {
      snprintf(out[k].text, sizeof out[k].text, "%s: %8lg  %8lg", line.label,
               calibration_table[line.first].load(), calibration_table[line.second].load());
    }
  }
}
