// What the electrode measurements show while they run: the stabilisation's
// window means, their quality and the limits, the impedance sinewave's
// captures and levels, the baseline's average, and the texts below the
// graph. The handheld's screen installs its own (on the graph plotter);
// without one nothing is drawn, so the measurements run headless.
//
// Scales are pushed and popped around each measurement; x is in samples
// (stabilisation) or milliseconds (captures), y in microvolts. Pens and
// colours index the unit's colour table.
#ifndef HANDHELD_ENGINE_ELECTRODES_ELECTRODE_SCREEN_H
#define HANDHELD_ENGINE_ELECTRODES_ELECTRODE_SCREEN_H

#include "handheld/engine/storage/stored_records.h"

class electrodeScreen {
 public:
  virtual ~electrodeScreen() = default;
  virtual void clear_rows() {}
  virtual void push_scale(double /*x_min*/, double /*x_max*/, double /*y_min*/, double /*y_max*/) {}
  virtual void set_scale(double /*x_min*/, double /*x_max*/, double /*y_min*/, double /*y_max*/) {}
  virtual void pop_scale() {}
  // The plot erased and its axes drawn.
  virtual void draw_axes() {}
  virtual void title(const char* /*text*/) {}
  // A text on a row below the graph (negative rows).
  virtual void row_text(int /*colour*/, int /*row*/, int /*column*/, const char* /*text*/) {}
  virtual void point(int /*colour*/, double /*x*/, double /*y*/) {}
  virtual void plus(int /*pen*/, double /*x*/, double /*y*/, int /*half_size*/) {}
  // A line across the plot at y, and a line between two points (copy mode).
  virtual void hline(int /*pen*/, double /*y*/) {}
  virtual void line(int /*pen*/, double /*x1*/, double /*y1*/, double /*x2*/, double /*y2*/) {}
  // A block drawn against its time with a channel's data calibration.
  virtual void block(int /*pen*/, const samplesBlock& /*values*/, double /*scale*/, double /*offset*/) {}
};

// Null restores the headless screen.
void set_electrode_screen(electrodeScreen* screen);
electrodeScreen& electrode_screen();

#endif
