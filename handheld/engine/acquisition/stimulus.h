// Stimulus intensities: a flash intensity becomes a flash duration (sent to
// the stimulator with the flicker timing) and a drive level for each flash
// source; a background intensity becomes a drive level for each background
// light; a backlight percentage becomes the stimulator's two timer counts.
// Drive levels go to the digital-to-analog converter's four outputs:
//   0 background light 1, 1 flash 1, 2 background light 2, 3 flash 2,
// each preceded by the control word (command 15) 0, 4, 8 or 12.
// Lights are in mcd.s/m^2 (flash) and mcd/m^2 (background); durations in
// microseconds; drive in stimulator volts.
#ifndef HANDHELD_ENGINE_ACQUISITION_STIMULUS_H
#define HANDHELD_ENGINE_ACQUISITION_STIMULUS_H

#include <stdint.h>

#include <atomic>

// The last flicker period set_flash sent (ms), for the collectors' time-out.
extern std::atomic<int> flicker_period_ms;

// The flash's fill-in share f (a fraction) and the remaining share 1 - f
// (1.0 until a fill is set); the background's are kept the same way inside.
extern std::atomic<double> flash_fill;
extern std::atomic<double> flash_share;
// From [FLASHFILL] and [BKGFILL] in percent: fill = percent x 0.01, share =
// 1 - fill.
void set_flash_fill_percent(double percent);
void set_background_fill_percent(double percent);

// Flash settings: "f" and a 6-byte body to the stimulator (flash word D =
// duration x 5 - 1 in 0.2 us ticks, the mode byte, the flicker prescaler
// and count), then the drive of flash 1 and, on a unit with a second dome or
// a fill-in flash, of flash 2 (an output whose off flag is 1 gets 0).
// Everything is worked out before anything is sent: a flicker period the
// stimulator's timer cannot make (negative, shorter than the flash, or
// needing a prescaler above 255) shows "*** UNATTAINABLE FLICKER TIME ***"
// and sends nothing. 1 when sent, 0 when unattainable.
int set_flash(int intensity, uint8_t mode, int period_ms, int flash1_off, int flash2_off);
// Background drive levels; 1.
int set_background(int intensity);

// Flash k (0 or 1): its quadratic c0 + c1 x + c2 x^2 when its c1 is not 0
// (limited to 4.5 V), else the flash line (not limited).
double flash_intensity_to_volts(int flash, double intensity);
// Converter counts of a drive: 4095 from 5.0 V up, else v x 4096 x 0.2.
double volts_to_dac(double volts);
// A flash's light is its drive times its duration: below 10000 the drive
// stays at 10000 and the duration shrinks (x / 2 us, 10 us for none);
// from 10000 up the duration is 5000 us and the drive the intensity.
double split_flash_intensity(double intensity, double* duration_us);

// Backlight: a level in percent and the stimulator's timer counts. The
// records below hold the level to 0..100 (not a number: 100).
double backlight_percent_to_counts(double percent);  // 16000 - 160 p
double counts_to_backlight_percent(double counts);   // (16000 - c) x 0.00625
double half_counts(double x);
double double_counts(double x);
// 'B' and the two counts now; 9 bytes in one write.
void set_backlight(double percent);
// 'L', 0, 8 and the two counts, stored by the stimulator; 11 bytes in one
// write; then logged.
void store_backlight(double percent);

#endif
