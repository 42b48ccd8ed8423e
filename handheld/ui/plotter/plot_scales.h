// The plotter's arithmetic: the scale ring, the mapping of values to
// pixels, tick steps, the thinning and display low-pass of a block, and the
// eye label. Portable (no platform header).
#ifndef HANDHELD_UI_PLOTTER_PLOT_SCALES_H
#define HANDHELD_UI_PLOTTER_PLOT_SCALES_H

#include <cstdint>
#include <string>

// The pixel frame the values map into (left, right, top, bottom).
struct plotArea {
  int32_t left = 0;
  int32_t right = 0;
  int32_t top = 0;
  int32_t bottom = 0;
};

struct scaleEntry {
  double x_origin = 0.0;
  double y_origin = 0.0;
  double x_min = 0.0;
  double x_max = 10.0;
  double y_min = 0.0;
  double y_max = 10.0;
  double x_per_unit = 1.0;
  double y_per_unit = -1.0;
};

// No minimum y range.
constexpr double no_minimum_range = -1.0;

// Fills an entry: a y range narrower than min_range (unless it is -1) is
// centred on its middle with that width; then widened by 5 %; the x origin
// is x_origin when above 0, else x_min; the y origin the stored y minimum.
// An empty or not finite range is widened first (one unit each way), so
// the pixels per unit are always finite.
void fill_scale_entry(scaleEntry& entry, const plotArea& area, double x_min, double x_max, double y_min,
                      double y_max, double x_origin, double min_range);

// The column and row of a value pair, held to the integer range.
int32_t map_column(const scaleEntry& entry, const plotArea& area, double x);
int32_t map_row(const scaleEntry& entry, const plotArea& area, double y);

// Five entries in a ring: push advances (overwriting the oldest after five
// pushes), pop steps back, neither is counted.
class scaleRing {
 public:
  static constexpr int size = 5;
  scaleEntry& current() { return entries_[index_]; }
  const scaleEntry& current() const { return entries_[index_]; }
  scaleEntry& push() {
    index_ = (index_ + 1) % size;
    return entries_[index_];
  }
  void pop() { index_ = (index_ + size - 1) % size; }
  int index() const { return index_; }
  void reset() {
    for (scaleEntry& e : entries_) e = scaleEntry();
    index_ = 0;
  }

 private:
  scaleEntry entries_[size];
  int index_ = 0;
};

// The first of 0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100, 200, 400, 500 with
// span / step <= 6, else 1000.
double tick_step(double span);

// How a block of count points is thinned for display: every step-th point,
// step = ratio rounded up when count / graph_points > 1 (graph_points 0 or
// below: no thinning).
int32_t thinning_step(int32_t count, int32_t graph_points);
// The points a thinned block keeps: 0, step, 2 step, ... below count.
int32_t thinned_count(int32_t count, int32_t step);

// The display low-pass of n thinned points: taps 31 up to 512 points, else
// 63. It runs only when there are more points than taps (a shorter block is
// shown unfiltered).
int lowpass_taps(int32_t n);
bool lowpass_applies(int32_t n);

// The eye label of the text rows: by the channels in use and the eye codes
// of channels A and B (1 both eyes, 2 A right, other A left).
std::string eye_label(bool channel_a, bool channel_b, int eye_a, int eye_b);

#endif
