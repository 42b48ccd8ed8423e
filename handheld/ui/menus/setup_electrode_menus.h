// The clinician's electrode menus: the electrodes page (its own on a unit
// with one dome), the impedance and baseline measurements with their abort
// and result pages and the electrode monitor with its check window.
#ifndef HANDHELD_UI_MENUS_SETUP_ELECTRODE_MENUS_H
#define HANDHELD_UI_MENUS_SETUP_ELECTRODE_MENUS_H

#include <windows.h>

int electrodes_menu(int command, LPARAM value);
int electrodes_single_dome_menu(int command, LPARAM value);
int impedance_running_menu(int command, LPARAM value);
int baseline_running_menu(int command, LPARAM value);
int electrode_monitor_menu(int command, LPARAM value);

void install_electrode_menus();

#endif
