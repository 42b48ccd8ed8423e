// The unit's worker threads, each waiting on its event: the test thread
// (protocol runs), the remote-control thread (the service terminal's line
// reader), the electrode thread and the electrode monitor thread.
#ifndef HANDHELD_UI_FRAME_UNIT_WORKERS_H
#define HANDHELD_UI_FRAME_UNIT_WORKERS_H

#include <string>

// Starts each event and thread in order; each one that fails adds its
// message to errors.
void start_unit_workers(std::string& errors);
// Stops every worker and the stimulator's and the remote line's readers
// (the program's end, and between runs of the program in one process).
void stop_unit_workers();

// The remote-control side's event ("Remote_Event"), for the auto
// calibration it serves.
void pulse_remote_event();

#endif
