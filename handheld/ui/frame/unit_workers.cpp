#include "handheld/ui/frame/unit_workers.h"

#include <thread>

#include "handheld/engine/electrodes/electrode_monitor.h"
#include "handheld/engine/electrodes/electrode_thread.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/engine/remote/remote_uart.h"
#include "handheld/engine/threads/worker_event.h"

namespace {

workerEvent remoteEvent;
std::thread remoteThread;

}  // namespace

void start_unit_workers(std::string& errors) {
  // The run and pause events belong to the test thread.
  if (!start_test_thread()) errors += "*** UNABLE TO CREATE TEST THREAD ***";
  if (!remoteThread.joinable()) {
    try {
      remoteThread = std::thread(remote_line_reader);
    } catch (const std::exception&) {
      errors += "*** UNABLE TO CREATE REMOTE CONTROL THREAD ***";
    }
  }
  if (!start_electrode_thread()) errors += "*** UNABLE TO CREATE Electrode THREAD ***";
  if (!start_electrode_monitor_thread()) errors += "*** UNABLE TO CREATE ElectrodeTest THREAD ***";
}

void stop_unit_workers() {
  stop_test_thread();
  stop_electrode_monitor_thread();
  stop_electrode_thread();
  if (remoteThread.joinable()) {
    stop_remote_line_reader();
    remoteThread.join();
  }
}

void pulse_remote_event() { remoteEvent.set(); }
