// The unit's hardware on the simulated board: the hardware table bound to
// the simulated hardware library linked into this process, and the board
// brought up at power-on as the program brings it up (SPI clock, DAC at
// rest, converter reset and set up for 15000 conversions per second of
// input 0). Used by the tools that record on the simulated unit and by the
// engine's tests.
#ifndef HANDHELD_ENGINE_OFFDEVICE_SIMULATED_HARDWARE_H
#define HANDHELD_ENGINE_OFFDEVICE_SIMULATED_HARDWARE_H

#include <functional>

// Resets the simulated board (its virtual clock from 0), attaches the
// library, binds every entry and sets the converters up. False when the
// library does not attach.
bool power_on_simulated_unit();

// Unbinds the hardware table (every entry answers as an absent library).
void power_off_simulated_unit();

// Called before every conversion read of the collectors, with the number of
// reads made so far (from 0); returning false makes the read fail as a
// converter that is not ready does. Empty: every read goes to the board.
// Setting a hook starts the count again.
void set_simulated_read_hook(std::function<bool(int)> hook);

#endif
