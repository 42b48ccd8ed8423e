// The measurement graph's rules that need no window: the lines that mark an
// a-/b-wave pair, the flash ticks of a flicker test, what an arrow key does,
// which adjustment circle a click hits, the amplitude of a trace at a time,
// and the texts of the status bar and the date line. Portable.
#ifndef DESKTOP_WINDOWS_MEAS_GRAPH_MEAS_GRAPH_RULES_H
#define DESKTOP_WINDOWS_MEAS_GRAPH_MEAS_GRAPH_RULES_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class traceClass;

// One straight line in data units.
struct markSegment {
  double x0;
  double y0;
  double x1;
  double y1;
};

// The four lines that mark an a-wave point (ta, aa) and a b-wave point
// (tb, ab): horizontal at ab from time 0 to tb, horizontal at aa from 0 to
// tb, vertical at tb from ab to aa, and vertical at ta from aa a third of the
// way towards ab.
std::array<markSegment, 4> wave_mark_segments(double ta, double aa, double tb, double ab);

// The spacing of a flicker test's flash ticks: the flash interval from
// program version 3000 on, else the post-flash data time (both mS).
constexpr int32_t flash_interval_version = 3000;
double flash_period(int32_t version, double interval_ms, double post_ms);

// The first tick stands here (mS), whatever the period.
constexpr double first_flash_tick = 0.4;
// More ticks than this would only fill the plot; the rest are left out.
constexpr int32_t flash_tick_limit = 10000;

// The tick times over an x range: 0.4, then i * period for i = 1 to n - 1,
// n = ceiling((x_end - x_start) / period). None when the period is 0 or
// below or no number, or the range is no number.
std::vector<double> flash_tick_times(double period, double x_start, double x_end);

// The adjustment circles, in the order a click tests them.
enum class adjustCircle { none = -1, bwave = 0, awave = 1, flash_time = 2, right_time = 3 };
constexpr int adjust_circle_count = 4;

struct pixelPoint {
  int x;
  int y;
};

// The first circle (b-wave, a-wave, flash time, right time) whose square of
// +-half_x, +-half_y pixels around its centre holds the click (edges
// included); none when no square does.
adjustCircle hit_circle(int px, int py, const std::array<pixelPoint, adjust_circle_count>& centres, int half_x,
                        int half_y);

enum class arrowKey { left, right, up, down };

// What an arrow key changes.
enum class keyTarget {
  nothing,
  awave_time,          // the a-wave time by a horizontal step; its amplitude follows the trace
  bwave_time,          // the b-wave time likewise
  awave_amplitude,     // by a vertical step
  bwave_amplitude,     // by a vertical step
  baseline_intercept,  // by a vertical step
  baseline_right,      // the baseline's value at its right time by a vertical step (the slope follows)
  xhair,               // the cross-hair by one pixel
};

struct keyAction {
  keyTarget target;
  int direction;  // +1 or -1 (right or up is +1)
};

// The row of the key table that applies: the first condition that holds.
keyAction arrow_key_action(arrowKey key, adjustCircle selected, bool shift, bool control, bool xhair_shown);

// The displayed amplitude of trace at its point nearest the displayed time t;
// a time before the first point takes the first point, one after the last
// the last. False (out untouched) for an empty trace or a time that is no
// number.
bool amplitude_at(const traceClass& trace, double t, double* out);

// The status bar's read-outs: "%8.2lf [%s]" of the time and of the amplitude
// with their units, joined by two blanks; and the cross-hair's distance to
// the cursor.
std::string cursor_status_text(double x, const char* x_unit, double y, const char* y_unit);
std::string xhair_status_text(double dx, double dy);

// The date line: " %2d%s %4d %.2d:%.2d:%.2d" of day, month name, year and
// time.
std::string date_line_text(int year, int month, int day, int hour, int minute, int second);

#endif
