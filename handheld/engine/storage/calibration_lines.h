// The calibration constants as the calibration pages show them: 15 lines,
// each at its y in the page's constants area (x = 10), drawn by the page.
#ifndef HANDHELD_ENGINE_STORAGE_CALIBRATION_LINES_H
#define HANDHELD_ENGINE_STORAGE_CALIBRATION_LINES_H

const int CALIBRATION_LINE_COUNT = 15;

struct calibrationLine {
  int y;
  char text[64];
};

// "FLSH: %8lg  %8lg" (entries 0, 1) at y 5 to "BKG2: %8lg  %8lg" (29, 28)
// at y 245; the background lines show the intercept before the slope.
void calibration_constant_lines(calibrationLine out[CALIBRATION_LINE_COUNT]);

#endif
