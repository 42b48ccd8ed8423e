// The technician's menus: system set-up (2), its date and time (14), the
// calibration choice (6),
// the restore of the parameter defaults (10), the data calibration choice
// (12), the calibration entry (27), the channel and electrode choices of the
// data and impedance calibrations (29, 30), the calibration values file
// (31), its other page (32), the dome choice (44) and the electrodes page of
// a unit with the fill-in fitted (45).
#ifndef SETUP_MENUS_H
#define SETUP_MENUS_H

#include <windows.h>

// What the calibrations are run on: the dome (0 or 1), the channel (0 A, 1
// B) and, for the impedance, the electrode (0 eye, 1 reference).
struct calibrationChoice {
  int dome;
  int channel;
  int electrode;
};
extern calibrationChoice g_calibrationChoice;

int system_setup_menu(int command, LPARAM value);
int date_time_menu(int command, LPARAM value);
int calibration_choice_menu(int command, LPARAM value);
int restore_defaults_menu(int command, LPARAM value);
int data_calibration_choice_menu(int command, LPARAM value);
int calibration_entry_menu(int command, LPARAM value);
int data_channel_menu(int command, LPARAM value);
int impedance_electrode_menu(int command, LPARAM value);
int calibration_values_menu(int command, LPARAM value);
int calibration_other_menu(int command, LPARAM value);
int dome_menu(int command, LPARAM value);
int fill_in_electrodes_menu(int command, LPARAM value);

// Calibration is enabled on a unit whose cfc id carries the service mode
// letter ('c' or 'p' as its seventh character).
bool calibration_enabled();

// Installs the menus above.
void install_setup_menus();

#endif
