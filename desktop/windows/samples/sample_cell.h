// sampleCell: one sample as the selection shows it, a small graph of its
// trace under its number, drawn in a sample window on the screen or printed
// on a page of the selection's printout.
#ifndef DESKTOP_WINDOWS_SAMPLES_SAMPLE_CELL_H
#define DESKTOP_WINDOWS_SAMPLES_SAMPLE_CELL_H

#include <windows.h>

#include "desktop/data/graph/graph.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/data/trace.h"

class sampleCell {
 public:
  // The graph holds a copy of trace (null: an empty graph).
  sampleCell(int number, const traceClass* trace);
  sampleCell(const sampleCell&) = delete;
  sampleCell& operator=(const sampleCell&) = delete;

  int number() const { return number_; }
  graphClass& graph() { return graph_; }
  // The graph's first active trace, or null.
  traceClass* trace() { return graph_.trace_count() > 0 ? graph_.trace(0) : nullptr; }

  // Scales the graph to its trace and draws it where it was placed.
  void draw_graph(HDC dc, const paper& scale);
  // On a printed page at (x, y) mm: the 40 mm box green when included and
  // red when not, the graph 1 mm inside it, a line across an excluded
  // sample, and "Sample %2d" centred 0.5 mm below the box.
  void print(HDC dc, const paper& page, double x, double y, bool included);

 private:
  int number_;
  graphClass graph_;
};

#endif
