#include "handheld/ui/menus/menu_captions.h"

#include "handheld/ui/menus/menu_stack.h"

namespace {

const wchar_t* const kCaptions[MENU_COUNT][4] = {
    {L"Acquire Data", L"File Info", L"System Setup", L"Quit"},              // 0 main menu
    {L"", L"", L"", L""},                                                    // 1 protocol page
    {L"Set Time", L"Calibration", L"Restore Defaults", L"Back"},            // 2 system set-up
    {L"Repeat Protocol", L"Discard Test", L"", L"Next"},                     // 3 after a test
    {L"UP", L"DOWN", L"SELECT", L"Back"},                                    // 4 test list
    {L"", L"", L"", L""},                                                    // 5 impedance running
    {L"Flash Int", L"Background Int", L"Data/impedance", L"Back"},           // 6 calibration choice
    {L"UP", L"DOWN", L"SELECT", L""},                                        // 7 session list
    {L"UP", L"DOWN", L"EDIT", L"Back"},                                      // 8 custom test editor
    {L"Up", L"Down", L"Tab", L"Back"},                                       // 9 impedance calibration
    {L"Restore", L"", L"", L"Do Not Restore"},                               // 10 restore defaults
    {L"UP", L"DOWN", L"TAB", L"DONE"},                                       // 11 data calibration
    {L"Data", L"Cal Values", L"Impedance", L"Back"},                         // 12 data calibration choice
    {L"Impedance test", L"Baseline test", L"Pod Channel", L"Back"},          // 13 electrodes
    {L"UP", L"DOWN", L"TAB", L"Save"},                                       // 14 set time
    {L"Yes", L"", L"No", L"Back"},                                           // 15 delete an empty folder
    {L"", L"", L"", L""},                                                    // 16 baseline running
    {L"", L"", L"", L"Back"},                                                // 17 message page
    {L"UP", L"DOWN", L"TAB", L"Back"},                                       // 18 numeric entry
    {L"CANCEL", L" ", L"SHUTDOWN", L""},                                     // 19 shutdown confirmation
    {L"Pause", L"", L"", L"Stop/Back"},                                      // 20 test running
    {L"UP", L"DOWN", L"SELECT", L"Back"},                                    // 21 file list
    {L"DELETE", L"", L"", L"Back"},                                          // 22 result graph
    {L"LEFT", L"Modify", L"Right", L"Back"},                                 // 23 cursor on a graph
    {L"Expand", L"Contract", L"", L"Back"},                                  // 24 graph scale
    {L"Flash", L"", L"", L""},                                               // 25 flash calibration
    {L"On", L"", L"", L""},                                                  // 26 background calibration
    {L"", L"System Parms", L"", L"Back"},                                    // 27 calibration entry
    {L"Up", L"Down", L"Tab", L"Back"},                                       // 28 patient number, test id
    {L"CHANNEL A", L"", L"CHANNEL B", L""},                                  // 29 data calibration channel
    {L"CHAN A EYE", L"CHAN A REF", L"CHAN B EYE", L"CHAN B REF"},            // 30 impedance electrode
    {L"To Disk", L"From Disk", L"Other", L"Back"},                           // 31 calibration values file
    {L"Set Defaults", L"Reset 8051", L"Enter Serial #", L"Back"},            // 32 calibration, other
    {L"", L"", L"", L""},                                                    // 33 waiting page
    {L"UP", L"DOWN", L"TAB", L"DONE"},                                       // 34 entry page
    {L"", L"", L"", L"Back"},                                                // 35 auto-calibration message
    {L"UP", L"DOWN", L"", L"NEXT"},                                          // 36 eye label choice
    {L"Up", L"Down", L"Select", L"Back"},                                    // 37 system parameter list
    {L"Up", L"Down", L"Tab", L"OK"},                                         // 38 edit a parameter
    {L"Accept", L"", L"Reject", L""},                                        // 39 confirm a value
    {L"YES", L"", L"NO", L""},                                               // 40 yes/no question
    {L"", L"", L"", L"OK"},                                                  // 41 version notice
    {L"Pause", L"", L"+ impedance", L"Back"},                                // 42 electrode monitor
    {L"Auto", L"Manual", L"Channel", L"Back"},                               // 43 electrodes, one dome
    {L"Dome 1", L"", L"Dome 2", L""},                                        // 44 dome choice
    {L"", L"Electrodes", L"System Parms", L"Back"},                          // 45 electrodes, fill-in
};

}  // namespace

const wchar_t* menu_caption(int menuId, int k) {
  if (menuId < 0 || menuId >= MENU_COUNT || k < 0 || k > 3) return L"";
  return kCaptions[menuId][k];
}
