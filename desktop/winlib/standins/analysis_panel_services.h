// What this library calls in the desktop analysis windows subsystem: the
// comparison window's add that ends a drag, and the one-message pump that
// keeps the interface alive during long work.
//
// STAND-IN: standin_analysis_windows.cpp gives these bodies until that
// subsystem replaces them.
#ifndef ANALYSIS_PANEL_SERVICES_H
#define ANALYSIS_PANEL_SERVICES_H

#include <windows.h>

#include "analysis_data_services.h"
#include "analysis_graph_services.h"

// The comparison graph window (window type 4).
class comparisonPanelClass {
 public:
  comparisonPanelClass() = default;

  graphClass& graph() { return graph_; }
  // Adds the clipboard's trace to the window's graph: 0 with a message for a
  // null or empty clipboard, else the result of the add (1 when added).
  int add_trace(const clipboardClass* clipboard);

 private:
  graphClass graph_;
};

// Removes one waiting message of the thread (any window); when there was
// one, translates and dispatches it and returns the dispatch result, else
// returns the peek result.
LRESULT pump_one_message();

#endif
