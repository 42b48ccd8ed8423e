// What this library uses of the desktop test data and analysis subsystem's
// graph engine: the drag item embeds a graph of the dragged trace and tests
// the comparison graphs' plot areas for a drop.
//
// STAND-IN: standin_analysis_windows.cpp gives graphClass minimal bodies
// (no axes, markers or drawing) until the graph engine replaces it.
#ifndef ANALYSIS_GRAPH_SERVICES_H
#define ANALYSIS_GRAPH_SERVICES_H

#include <windows.h>

#include "analysis_data_services.h"
#include "r_list.h"

// The scale record of a drawing surface (page geometry).
class paper;

class graphClass {
 public:
  graphClass();
  ~graphClass();
  graphClass(const graphClass&) = delete;
  graphClass& operator=(const graphClass&) = delete;

  // Sets the plot rectangle (millimetres), its pixel bounds through the scale
  // record, the attribute, and a new clip region of those bounds.
  void set_plot_area(double x_left, double x_right, double y_top, double y_bottom, const paper& scale,
                     int attribute);
  // Wraps a copy of trace in a new entry of the graph's list.
  tracePlusClass* add_trace(const traceClass* trace);
  void autoscale();
  void draw(HDC dc, const paper& scale);
  // 1 when the pixel point lies inside the plot rectangle, else 0.
  int in_plot_area(int x, int y) const;

  int32_t entry_count() const { return entries_.count(); }

 private:
  r_list<tracePlusClass> entries_{"nameless"};
  RECT pixels_{};
  int attribute_ = 0;
  HRGN clip_ = nullptr;
};

#endif
