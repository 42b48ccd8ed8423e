// The four calibration procedures (flash, background, data and impedance):
// their state, the points they collect and fit, and what ACCEPT stores and
// sends. The calibration menus (setup_calibration_menus.h) step through
// them; the calibration keypad takes the points of the flash and background
// procedures (KEYPAD_KEEP_POINT, KEYPAD_DROP_POINT, KEYPAD_FIRE_FLASH) and
// tells the main dialog when the last one is in (MAIN_INTERNAL_COMMAND with
// CALIBRATION_POINTS_TAKEN).
#ifndef HANDHELD_UI_MENUS_SETUP_CALIBRATION_RUN_H
#define HANDHELD_UI_MENUS_SETUP_CALIBRATION_RUN_H

#include <windows.h>

#include <memory>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/engine/acquisition/line_fit.h"
#include "handheld/engine/acquisition/poly_fit.h"
#include "handheld/engine/storage/stored_records.h"

enum calibrationMode { CAL_FLASH = 0, CAL_BACKGROUND = 1, CAL_DATA = 2, CAL_IMPEDANCE = 3, CAL_ENTRY = 5 };

// Where a procedure stands.
enum calibrationState {
  CAL_WAIT_READING = 0,    // waiting for a flash, a light, a signal or a resistor
  CAL_ENTERING = 1,        // the operator types the measured value
  CAL_CONFIRMING = 2,      // the typed value awaits YES or NO
  CAL_FIT_SHOWN = 3,       // the fit is shown for ACCEPT or REJECT
  CAL_SINEWAVE_SHOWN = 4,  // the data calibration's capture is shown
  CAL_POINT_MEASURED = 5,  // an impedance reading is shown
};

const WPARAM KEYPAD_KEEP_POINT = 37;
const WPARAM KEYPAD_DROP_POINT = 38;
const WPARAM KEYPAD_FIRE_FLASH = 40;

struct calibrationRun {
  int mode = CAL_ENTRY;
  int step = 1;
  int steps = 5;
  int state = CAL_WAIT_READING;
  straightLineFit line;
  polyFit poly;
  double old_values[3] = {0.0, 0.0, 0.0};  // what an ACCEPT replaces, for the fit's graph
  double measured_uv = 0.0;                // impedance: the reading shown
  double first_attenuation = 72.0;         // data: dB of step 1 and the increment
  double attenuation_step = 4.0;
  double mean_peak = 0.0;                  // data: the capture's mean peak and trough (counts)
  double mean_trough = 0.0;
  std::unique_ptr<samplesBlock> capture;   // data: the last capture
  std::unique_ptr<testFileRecord> record;  // impedance: the measurement's buffer
};
extern calibrationRun calibration_run;

// A procedure begins: its mode, its number of points, step 1, the fits
// reset (the line, and the quadratic with the basis 1, x, x^2).
void begin_calibration(int mode, int steps);

// The nominal intensity of a step of the flash (mode 0) or background
// (mode 1) procedure, and the impedance procedure's reference resistor.
int nominal_intensity(int mode, int step);
double reference_resistor(int step);

// The keypad's side: the keypad opened for a procedure (its digits zeroed
// with exponent 4 for the flash and background, the first flash prepared),
// and its notices 37, 38 and 40 (1 when taken).
void calibration_keypad_opened();
int calibration_keypad_notice(WPARAM code);

// Flash: the flash of the current point prepared on the chosen dome.
void prepare_calibration_flash();

// Data: 200 ms of the chosen channel's signal captured without a flash and
// its mean peak and trough taken; false (with "*** A/D ERROR ***") when the
// converter failed. Then the step's points at an attenuation in dB; true
// when that was the last step (the fit is then made).
bool capture_data_signal();
bool add_data_step(double attenuation_db);

// Impedance: the chosen electrode measured (the graph must be open); false
// when no reading was obtained. Then the reading kept against the step's
// resistor; true when that was the last step.
bool measure_impedance_point();
bool add_impedance_step();

// Whether the fits of the procedure hold a result to store.
bool calibration_fit_ready();
// ACCEPT: the fitted values stored, sent to the stimulator and logged.
// False (nothing stored, a message shown) when there is no fit.
bool accept_calibration();

#endif
