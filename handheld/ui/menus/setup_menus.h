// The technician's menus: system set-up, its date and time, the
// calibration choice, the restore of the parameter defaults, the data
// calibration choice, the calibration entry, the channel and electrode
// choices of the data and impedance calibrations, the calibration values
// file, its other page, the dome choice and the electrodes page of a unit
// with the fill-in fitted.
#ifndef HANDHELD_UI_MENUS_SETUP_MENUS_H
#define HANDHELD_UI_MENUS_SETUP_MENUS_H

#include <windows.h>

// What the calibrations are run on: the dome (0 or 1), the channel (0 A, 1
// B) and, for the impedance, the electrode (0 eye, 1 reference).
struct calibrationChoice {
  int dome;
  int channel;
  int electrode;
};
extern calibrationChoice calibration_choice;

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
