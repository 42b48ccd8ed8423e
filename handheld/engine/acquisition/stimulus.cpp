#include "handheld/engine/acquisition/stimulus.h"

#include <mutex>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "platform/ce/unit_clock.h"

std::atomic<int> flicker_period_ms{0};
std::atomic<double> flash_fill{0.0};
std::atomic<double> flash_share{1.0};
namespace {

// The background fill and its remaining share, as the flash ones.
std::atomic<double> background_fill{0.0};
std::atomic<double> background_share{1.0};

const uint8_t DAC_CONTROL = 15;
const uint8_t DAC_BACKGROUND_1 = 0;
const uint8_t DAC_FLASH_1 = 1;
const uint8_t DAC_BACKGROUND_2 = 2;
const uint8_t DAC_FLASH_2 = 3;
const uint16_t CONTROL_BACKGROUND_1 = 0;
const uint16_t CONTROL_FLASH_1 = 4;
const uint16_t CONTROL_BACKGROUND_2 = 8;
const uint16_t CONTROL_FLASH_2 = 12;

const double FLASH_VOLTS_LIMIT = 4.5;
const int MAX_PRESCALER = 255;

// One converter word, framed by the converter's chip select.
void write_dac(uint8_t command, uint16_t value) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_DAC_SELECT_BIT, 0);
  hardware.put_5722(command, value);
  hardware.wait_till_xmit_fifo_empty();
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_DAC_SELECT_BIT, 1);
}

uint16_t dac_counts(double volts) {
  const double counts = volts_to_dac(volts);
  return counts > 0.0 ? static_cast<uint16_t>(counts) : 0;
}

// The drive of one flash source.
void write_flash_drive(int flash, uint8_t output, double drive, int off) {
  const double volts = flash_intensity_to_volts(flash, drive);
  const bool on = drive > 0.0 && volts > 0.0 && off != 1;
  write_dac(output, on ? dac_counts(volts) : 0);
}

// The drive of one background light, on its dome's line.
void write_background_drive(int dome, uint8_t output, double level) {
  const double volts = calibration_table[background_slope_entry(dome)] * level +
                       calibration_table[background_intercept_entry(dome)];
  write_dac(output, volts > 0.0 && level != 0.0 ? dac_counts(volts) : 0);
}

// The 4 bytes of one backlight count: the words 0xC000 + v and 65536 - v,
// most significant byte first.
void backlight_bytes(int v, uint8_t* out) {
  out[0] = static_cast<uint8_t>(((v + 0xC000) >> 8) & 0xFF);
  out[1] = static_cast<uint8_t>(v & 0xFF);
  out[2] = static_cast<uint8_t>(((0x10000 - v) >> 8) & 0xFF);
  out[3] = static_cast<uint8_t>((0x10000 - v) & 0xFF);
}

void backlight_counts(double percent, uint8_t out[8]) {
  // The level is a percentage: one beyond 0..100 (from an edited ini file,
  // say) would give counts the stimulator's timer cannot take, or none at
  // all. It is held to the range; no level at all counts as full.
  if (!(percent <= 100.0)) percent = 100.0;
  if (percent < 0.0) percent = 0.0;
  const int k1 = static_cast<int>(half_counts(backlight_percent_to_counts(100.0 - (100.0 - percent) * 0.5)));
  const int k2 = static_cast<int>(half_counts(backlight_percent_to_counts(percent)));
  backlight_bytes(k1, out);
  backlight_bytes(k2, out + 4);
}

}  // namespace

void set_flash_fill_percent(double percent) {
  flash_fill = percent * 0.01;
  flash_share = 1.0 - percent * 0.01;
}

void set_background_fill_percent(double percent) {
  background_fill = percent * 0.01;
  background_share = 1.0 - percent * 0.01;
}

double flash_intensity_to_volts(int flash, double intensity) {
  const double c0 = calibration_table[flash_quadratic_entry(flash, 0)];
  const double c1 = calibration_table[flash_quadratic_entry(flash, 1)];
  const double c2 = calibration_table[flash_quadratic_entry(flash, 2)];
  if (c1 == 0.0) return calibration_table[0] * intensity + calibration_table[1];
  const double volts = (c2 * intensity + c1) * intensity + c0;
  return volts > FLASH_VOLTS_LIMIT ? FLASH_VOLTS_LIMIT : volts;
}

double volts_to_dac(double volts) { return volts >= 5.0 ? 4095.0 : volts * 4096.0 * 0.2; }

double split_flash_intensity(double intensity, double* duration_us) {
  double duration;
  double drive;
  if (intensity <= 0.0) {
    duration = 10.0;
    drive = 0.0;
  } else if (intensity < 10000.0) {
    duration = 5000.0 / (10000.0 / intensity);
    drive = 10000.0;
  } else {
    duration = 5000.0;
    drive = intensity;
  }
  if (duration_us != nullptr) *duration_us = duration;
  return drive;
}

int set_flash(int intensity, uint8_t mode, int period_ms, int flash1_off, int flash2_off) {
  double duration;
  const double drive = split_flash_intensity(intensity, &duration);
  const int flash_word = static_cast<int>(duration * 5.0 - 0.5);

  // The flicker timer: a prescaler p and a count of 0.2 us ticks.
  const double ticks = period_ms * 1000.0 * 5.0;
  const double base = flash_word - 1560;
  int prescaler = 1;
  long long count = static_cast<long long>(ticks - base);
  while (count > 65535 && prescaler < MAX_PRESCALER + 1) {
    ++prescaler;
    count = static_cast<long long>(ticks / prescaler - base / prescaler);
  }
  // A count below 0 would make the period shorter than the flash itself.
  if (period_ms < 0 || prescaler > MAX_PRESCALER || (period_ms > 0 && count < 0)) {
    engine_show_message(0, "*** UNATTAINABLE FLICKER TIME ***");
    return 0;
  }

  const uint8_t body[6] = {
      static_cast<uint8_t>((flash_word >> 8) & 0xFF), static_cast<uint8_t>(flash_word & 0xFF),
      mode,
      static_cast<uint8_t>(prescaler),
      static_cast<uint8_t>((count >> 8) & 0xFF), static_cast<uint8_t>(count & 0xFF),
  };
  {
    std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
    send_8051_byte(COMMAND_FLASH);
    unit_sleep_ms(2);
    send_8051(body, sizeof body);
  }
  flicker_period_ms = period_ms;
  unit_sleep_ms(10);

  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  const bool fill_in = fill_in_fitted();
  write_dac(DAC_CONTROL, CONTROL_FLASH_1);
  write_flash_drive(0, DAC_FLASH_1, fill_in ? drive * flash_share : drive, flash1_off);
  if (!dual_dome_fitted() && !fill_in) return 1;
  write_dac(DAC_CONTROL, CONTROL_FLASH_2);
  write_flash_drive(1, DAC_FLASH_2, fill_in ? drive * flash_fill : drive, flash2_off);
  return 1;
}

int set_background(int intensity) {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  const bool fill_in = fill_in_fitted();
  const double level = intensity;
  write_dac(DAC_CONTROL, CONTROL_BACKGROUND_1);
  write_background_drive(0, DAC_BACKGROUND_1, fill_in ? level * background_share : level);
  if (!dual_dome_fitted() && !fill_in) return 1;
  write_dac(DAC_CONTROL, CONTROL_BACKGROUND_2);
  write_background_drive(1, DAC_BACKGROUND_2, fill_in ? level * background_fill : level);
  return 1;
}

double backlight_percent_to_counts(double percent) { return 16000.0 - 160.0 * percent; }
double counts_to_backlight_percent(double counts) { return (16000.0 - counts) * 0.00625; }
double half_counts(double x) { return 0.5 * x; }
double double_counts(double x) { return 2.0 * x; }

void set_backlight(double percent) {
  uint8_t record[9] = {COMMAND_BACKLIGHT};
  backlight_counts(percent, record + 1);
  send_8051(record, sizeof record);
}

void store_backlight(double percent) {
  uint8_t record[11] = {COMMAND_STORE, 0, 8};
  backlight_counts(percent, record + 3);
  send_8051(record, sizeof record);
  log_mesg("-- backlight updated to %lg", percent);
}
