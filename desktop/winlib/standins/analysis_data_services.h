// What this library uses of the desktop test data and analysis subsystem:
// the trace clipboard and the drag flag of a drag, and the list payloads of
// that subsystem (trace entries of a graph, sample entries of a samples
// list), which lists delete through their own destructors.
//
// STAND-IN: until that subsystem is built, standin_analysis_data.cpp gives
// these declarations minimal bodies so that this library links and is tested
// alone. The subsystem's own classes replace the declarations below.
#ifndef ANALYSIS_DATA_SERVICES_H
#define ANALYSIS_DATA_SERVICES_H

#include <cstdint>

#include "list_payload.h"

// A trace: a named series of (x, y) points with display attributes.
class traceClass;

// The program's one trace clipboard: one copied trace and a loaded state.
// The test thumbnail loads it before it starts a drag; the drag item reads
// its trace.
class clipboardClass {
 public:
  clipboardClass() = default;
  clipboardClass(const clipboardClass&) = delete;
  clipboardClass& operator=(const clipboardClass&) = delete;

  bool loaded() const { return loaded_ != 0; }
  const traceClass* trace() const { return trace_; }
  // STAND-IN: holds the trace without copying it.
  void load(const traceClass* trace) {
    trace_ = trace;
    loaded_ = trace ? 1 : 0;
  }

 private:
  const traceClass* trace_ = nullptr;
  uint8_t loaded_ = 0;
};

extern clipboardClass trace_clipboard;

// 1 while a trace is being dragged: the thumbnail sets it before it creates a
// drag item, the drag item clears it when the drag ends.
extern uint8_t drag_in_progress;

// One entry of a graph's trace list: a copy of a trace with its processing
// switches.
class tracePlusClass : public listPayload {
 public:
  tracePlusClass() = default;
  ~tracePlusClass() override;
};

// One sample of a samples list, owning its trace.
class sampleEntry : public listPayload {
 public:
  sampleEntry() = default;
  ~sampleEntry() override;
};

#endif
