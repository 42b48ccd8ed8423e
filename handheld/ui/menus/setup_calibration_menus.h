// The calibration procedures' menus: impedance, data, flash and
// background. Each steps its procedure (setup_calibration_run.h)
// on the calibration keypad: the reading prompted, the value typed and
// confirmed with YES or NO, the fit shown for ACCEPT or REJECT.
#ifndef HANDHELD_UI_MENUS_SETUP_CALIBRATION_MENUS_H
#define HANDHELD_UI_MENUS_SETUP_CALIBRATION_MENUS_H

#include <windows.h>

int impedance_calibration_menu(int command, LPARAM value);
int data_calibration_menu(int command, LPARAM value);
int flash_calibration_menu(int command, LPARAM value);
int background_calibration_menu(int command, LPARAM value);

void install_calibration_menus();

#endif
