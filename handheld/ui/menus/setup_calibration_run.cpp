#include "handheld/ui/menus/setup_calibration_run.h"

#include <math.h>

#include <mutex>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/ui/menus/setup_keypad.h"
#include "handheld/ui/menus/setup_menus.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/engine/acquisition/sweep_collection.h"
#include "handheld/engine/hardware/thread_priority.h"

calibrationRun calibration_run;

namespace {

const int FIT_CAPACITY = 20;
const int QUADRATIC = 2;

// Nominal intensities: element (mode x 10 + step - 1).
const int kNominal[18] = {10000, 20000, 15000, 30000, 25000, 14000, 16000, 22000, 18000,
                          28000, 20000, 30000, 8000,  25000, 14000, 22000, 11000, 21000};
// Reference resistors of the impedance procedure, from step 1 (the
// procedure uses the first six).
const double kResistors[16] = {10000, 6810, 5600, 4750, 2210, 1500, 1270, 1000,
                               825,   681,  562,  402,  332,  221,  182,  56.2};

// Data: 200 ms of signal at 15000 samples a second, of which at most 3000
// values are used. 200 ms at that rate is 3000 values give or take one, so
// the collector gets room for a few more: a block of exactly 3000 would
// overrun whenever the tick count had not yet moved on.
const int DATA_CAPTURE_MS = 200;
const int DATA_CAPTURE_POINTS = 3000;
const int DATA_CAPTURE_ROOM = 3100;
const int DATA_RATE = 15000;
const double IMPEDANCE_TIME_LIMIT_S = 60.0;

calibrationRun& run = calibration_run;

int dome() { return calibration_choice.dome == 1 ? 1 : 0; }
int channel() { return calibration_choice.channel == 1 ? 1 : 0; }

// The impedance line of the chosen electrode: its slope's entry (the
// intercept follows it).
int impedance_entry() {
  static const int entries[2][2] = {{4, 10}, {12, 14}};
  return entries[channel()][calibration_choice.electrode == 1 ? 1 : 0];
}

int data_entry() { return channel() == 0 ? 6 : 8; }

void store(int entry, double value) {
  calibration_table[entry] = value;
  send_calibration_constant(entry + 1, value);
}

void keep_old_values() {
  switch (run.mode) {
    case CAL_FLASH:
      for (int t = 0; t < 3; ++t) run.old_values[t] = calibration_table[flash_quadratic_entry(dome(), t)];
      break;
    case CAL_BACKGROUND:
      run.old_values[0] = calibration_table[background_slope_entry(dome())];
      run.old_values[1] = calibration_table[background_intercept_entry(dome())];
      break;
    case CAL_DATA:
      run.old_values[0] = calibration_table[data_entry()];
      run.old_values[1] = calibration_table[data_entry() + 1];
      break;
    default:
      run.old_values[0] = calibration_table[impedance_entry()];
      run.old_values[1] = calibration_table[impedance_entry() + 1];
      break;
  }
}

// The last point is in: the fit is solved and the stimulator put at rest
// (the flash and background procedures), and the main dialog told.
void points_taken() {
  keep_old_values();
  line_fit_value(run.line, 0.0);
  if (run.mode == CAL_FLASH) poly_fit_value(run.poly, 0.0);
  if (run.mode == CAL_FLASH || run.mode == CAL_BACKGROUND) {
    set_background(0);
    set_flash(0, 1, 0, 1, 1);
    send_8051_byte(COMMAND_DONE);
  }
  post_main_command(static_cast<int>(MAIN_INTERNAL_COMMAND), CALIBRATION_POINTS_TAKEN);
}

// The next point, or the end of the points; true at the end.
bool next_point() {
  if (run.step < run.steps) {
    ++run.step;
    if (run.mode == CAL_FLASH) prepare_calibration_flash();
    return false;
  }
  points_taken();
  return true;
}

void keep_flash_point() {
  const int nominal = nominal_intensity(CAL_FLASH, run.step);
  const double measured = keypad_value();
  const double sigma = keypad_step();
  const double volts = flash_intensity_to_volts(dome(), nominal);
  line_fit_add(run.line, measured, volts);
  poly_fit_add(run.poly, measured, volts, flash_intensity_to_volts(dome(), sigma));
  const double c0 = calibration_table[flash_quadratic_entry(dome(), 0)];
  const double c1 = calibration_table[flash_quadratic_entry(dome(), 1)];
  const double c2 = calibration_table[flash_quadratic_entry(dome(), 2)];
  log_mesg("Flash data point: x = %lg mcds/m^2, y = %lg volts, sigma = %lg", measured,
           quadratic_value(c0, c1, c2, nominal), sigma);
  next_point();
}

void keep_background_point() {
  const int nominal = nominal_intensity(CAL_BACKGROUND, run.step);
  const double measured = keypad_value();
  const double volts = calibration_table[background_slope_entry(dome())] * nominal +
                       calibration_table[background_intercept_entry(dome())];
  log_mesg("Background data point: x = %lg mcd/m^2, y = %lg volts", measured, volts);
  line_fit_add(run.line, measured, volts);
  next_point();
}

// The flash trigger pulsed: low, then high.
void fire_flash() {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_FLASH_TRIGGER_BIT, 0);
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_FLASH_TRIGGER_BIT, 1);
}

const char* const kChannelNames[2] = {"A", "B"};
const char* const kElectrodeNames[2] = {"eye", "reference"};

}  // namespace

void begin_calibration(int mode, int steps) {
  run.mode = mode;
  run.steps = steps;
  run.step = 1;
  run.state = CAL_WAIT_READING;
  line_fit_init(run.line, FIT_CAPACITY);
  poly_fit_setup(run.poly, QUADRATIC, nullptr);
}

int nominal_intensity(int mode, int step) {
  const int at = mode * 10 + step - 1;
  return at >= 0 && at < 18 ? kNominal[at] : 0;
}

double reference_resistor(int step) { return step >= 1 && step <= 16 ? kResistors[step - 1] : 0.0; }

void calibration_keypad_opened() {
  if (run.mode == CAL_ENTRY) return;
  run.step = 1;
  line_fit_init(run.line, FIT_CAPACITY);
  poly_fit_setup(run.poly, QUADRATIC, nullptr);
  if (run.mode == CAL_FLASH || run.mode == CAL_BACKGROUND) keypad_clear_digits(4);
  if (run.mode == CAL_FLASH) prepare_calibration_flash();
}

int calibration_keypad_notice(WPARAM code) {
  switch (code) {
    case KEYPAD_FIRE_FLASH:
      fire_flash();
      return 1;
    case KEYPAD_KEEP_POINT:
      if (run.mode == CAL_FLASH) keep_flash_point();
      if (run.mode == CAL_BACKGROUND) keep_background_point();
      return 1;
    case KEYPAD_DROP_POINT:
      return 1;  // the point is taken again
    default:
      return 0;
  }
}

// One rule for both points: the flash of the dome not calibrated is off.
void prepare_calibration_flash() {
  set_flash(nominal_intensity(CAL_FLASH, run.step), 1, 0, dome() == 1 ? 1 : 0, dome() == 0 ? 1 : 0);
}

bool capture_data_signal() {
  if (!run.capture) run.capture.reset(new samplesBlock());
  set_thread_priority_for("datacal", COLLECTION_PRIORITY);
  int status;
  {
    std::lock_guard<std::recursive_mutex> hold(converter_lock());
    setup_adc(DATA_RATE, channel() << 4, 8, 0);
    status = collect_sweep(DATA_CAPTURE_MS, 0, run.capture.get(), DATA_CAPTURE_ROOM, 0, 1, 300);
  }
  set_thread_priority_for("datacal2", WORKER_PRIORITY);
  int count = run.capture->PointCount + 1;
  if (count > DATA_CAPTURE_POINTS) count = DATA_CAPTURE_POINTS;
  if (status < 0 || count < 2 || count > kSamplesPerBlock ||
      sinewave_peaks(run.capture->Data, count, run.mean_peak, run.mean_trough) == 0) {
    show_message(MESSAGE_ERROR, false, "*** A/D ERROR ***");
    return false;
  }
  return true;
}

bool add_data_step(double attenuation_db) {
  const double amplitude = 1e6 * pow(10.0, -attenuation_db / 20.0);
  line_fit_add(run.line, run.mean_peak, amplitude / 2);
  line_fit_add(run.line, run.mean_trough, -amplitude / 2);
  log_mesg("ADD DATAPOINTS step %d (%lg [counts], %lg [uV]) and (%lg [counts], %lg [uV])", run.step, run.mean_peak,
           amplitude / 2, run.mean_trough, -amplitude / 2);
  return next_point();
}

bool measure_impedance_point() {
  if (!run.record) run.record.reset(new testFileRecord());
  testFileRecord& record = *run.record;
  clear_test_samples(record);
  record.Config.Scale = channel_data_scale(channel());
  record.Config.Offset = channel_data_offset(channel());
  double peak = 0.0, trough = 0.0;
  const double uv =
      impedance(calibration_choice.electrode == 1 ? 1 : 0, channel(), record, IMPEDANCE_TIME_LIMIT_S, peak, trough);
  if (uv == MEASUREMENT_FAILED) return false;
  run.measured_uv = uv;
  return true;
}

bool add_impedance_step() {
  line_fit_add(run.line, run.measured_uv, reference_resistor(run.step));
  return next_point();
}

bool calibration_fit_ready() {
  line_fit_value(run.line, 0.0);
  if (run.line.solved == 0) return false;
  if (run.mode == CAL_FLASH) return poly_fit_value(run.poly, 0.0) != kResultNotObtained;
  return true;
}

bool accept_calibration() {
  if (!calibration_fit_ready()) {
    show_message(MESSAGE_ERROR, false, "*** NO FIT ***\n\nthe points give no line;\nnothing is stored.");
    return false;
  }
  const double slope = run.line.slope, intercept = run.line.intercept;
  switch (run.mode) {
    case CAL_FLASH:
      store(0, slope);
      store(1, intercept);
      for (int t = 0; t < 3; ++t) store(flash_quadratic_entry(dome(), t), run.poly.coefficients[t]);
      log_named_message("quadcal", "FLASH (dome %d) CALIBRATION ACCEPTED, %lg %lg %lg", dome() + 1,
                        run.poly.coefficients[0], run.poly.coefficients[1], run.poly.coefficients[2]);
      return true;
    case CAL_BACKGROUND:
      store(background_slope_entry(dome()), slope);
      store(background_intercept_entry(dome()), intercept);
      log_mesg("BACKGROUND (dome %d) CALIBRATION ACCEPTED %lg %lg", dome() + 1, slope, intercept);
      return true;
    case CAL_DATA:
      store(data_entry(), slope);
      store(data_entry() + 1, intercept);
      log_mesg("DATA CALIBRATION ACCEPTED (channel %c) %lg %lg", channel() == 0 ? 'A' : 'B', slope, intercept);
      return true;
    case CAL_IMPEDANCE:
      send_8051_byte(COMMAND_IMPEDANCE_END);
      store(impedance_entry(), slope);
      store(impedance_entry() + 1, intercept);
      log_mesg("Channel %s, %s Impedance calibration ACCEPTED s: %lg i: %lg", kChannelNames[channel()],
               kElectrodeNames[calibration_choice.electrode == 1 ? 1 : 0], slope, intercept);
      return true;
    default:
      return false;
  }
}
