// The electrode thread: on each signal of its event ("Electrode_Event") it
// measures the impedance of every fitted electrode or the baseline of every
// fitted channel (electrode_monitor.mode), writes electrode_results and
// posts the completion command (11, 52) to the main dialog unless a cancel
// is pending.
#ifndef HANDHELD_ENGINE_ELECTRODES_ELECTRODE_THREAD_H
#define HANDHELD_ENGINE_ELECTRODES_ELECTRODE_THREAD_H

// Starts the thread (once); false when it cannot be started.
bool start_electrode_thread();
// Signals "Electrode_Event".
void signal_electrode_event();
// Asks the thread to end after its current request and waits for it.
void stop_electrode_thread();

// One request as the thread runs it, on the calling thread.
void run_electrode_request();

#endif
