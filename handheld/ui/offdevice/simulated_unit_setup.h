// The handheld program off the device: the board is the simulated unit
// (SimUnit.dll, reached through the simulated Kestal.dll), "COM2:" is its
// simulated stimulator, "COM3:" a text endpoint (a terminal can connect to
// it, README.md), and the storage card a folder of this machine. The unit's
// virtual clock is kept running at least as fast as real time, so the
// stimulator's replies arrive while the program waits for them.
#ifndef HANDHELD_UI_OFFDEVICE_SIMULATED_UNIT_SETUP_H
#define HANDHELD_UI_OFFDEVICE_SIMULATED_UNIT_SETUP_H

#include <memory>
#include <string>

#include "handheld/engine/offdevice/remote_text_endpoint.h"

struct simulatedUnitOptions {
  std::wstring card;        // the storage card's folder (made when missing)
  std::wstring transcript;  // when given, everything the unit writes on "COM3:" is copied here
  bool stimulator = true;   // false: no stimulator on "COM2:" (its port then fails to open)
  double batteryVolts = 3.9;
};

// The board at power-on with the unit's signals on both channels and the
// battery's voltage on its input; the ports served; the clock paced. False
// when the card folder cannot be made.
bool set_up_simulated_unit(const simulatedUnitOptions& options);
// The ports no longer served and the pacing stopped.
void tear_down_simulated_unit();

// The terminal's side of "COM3:" (null before set-up).
std::shared_ptr<remote_text_endpoint> remote_line_endpoint();

// The card folder for a command line: its first argument when there is
// one, else the setting ERG_CARD_FOLDER, else "Storage Card" beside the
// program.
std::wstring card_folder_for(const wchar_t* commandLine);

#endif
