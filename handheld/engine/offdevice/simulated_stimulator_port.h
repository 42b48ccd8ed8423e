// "COM2:" on the simulated unit: the stimulator of SimUnit, in-process.
#ifndef HANDHELD_ENGINE_OFFDEVICE_SIMULATED_STIMULATOR_PORT_H
#define HANDHELD_ENGINE_OFFDEVICE_SIMULATED_STIMULATOR_PORT_H

// Registers the simulated stimulator as the endpoint of "COM2:"; ports
// opened on "COM2:" from now on talk to it. Writes reach it at once, at the
// current virtual time; a read takes the bytes it has sent whose virtual
// arrival time has come, waiting (in real time, without moving the virtual
// clock) while there are none.
void use_simulated_stimulator_port();

#endif
