#include "desktop/windows/meas_graph/meas_graph_rules.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/data/trace.h"

std::array<markSegment, 4> wave_mark_segments(double ta, double aa, double tb, double ab) {
  return {{{0.0, ab, tb, ab}, {0.0, aa, tb, aa}, {tb, ab, tb, aa}, {ta, aa, ta, aa + (ab - aa) / 3.0}}};
}

double flash_period(int32_t version, double interval_ms, double post_ms) {
  return version >= flash_interval_version ? interval_ms : post_ms;
}

std::vector<double> flash_tick_times(double period, double x_start, double x_end) {
  std::vector<double> times;
  double span = x_end - x_start;
  if (!(period > 0.0) || !std::isfinite(period) || !std::isfinite(span)) return times;
  double n = std::ceil(span / period);
  times.push_back(first_flash_tick);
  for (int32_t i = 1; i < n && i < flash_tick_limit; i++) times.push_back(i * period);
  return times;
}

adjustCircle hit_circle(int px, int py, const std::array<pixelPoint, adjust_circle_count>& centres, int half_x,
                        int half_y) {
  for (int i = 0; i < adjust_circle_count; i++) {
    long dx = std::labs(static_cast<long>(px) - centres[i].x);
    long dy = std::labs(static_cast<long>(py) - centres[i].y);
    if (dx <= std::labs(half_x) && dy <= std::labs(half_y)) return static_cast<adjustCircle>(i);
  }
  return adjustCircle::none;
}

keyAction arrow_key_action(arrowKey key, adjustCircle selected, bool shift, bool control, bool xhair_shown) {
  switch (key) {
    case arrowKey::left:
    case arrowKey::right: {
      int direction = key == arrowKey::right ? 1 : -1;
      if (selected == adjustCircle::awave || selected == adjustCircle::bwave || control) {
        bool awave = selected == adjustCircle::awave || shift;
        return {awave ? keyTarget::awave_time : keyTarget::bwave_time, direction};
      }
      return {xhair_shown ? keyTarget::xhair : keyTarget::nothing, direction};
    }
    case arrowKey::up:
    case arrowKey::down: {
      int direction = key == arrowKey::up ? 1 : -1;
      if (selected == adjustCircle::awave || (key == arrowKey::down && shift))
        return {keyTarget::awave_amplitude, direction};
      if (selected == adjustCircle::flash_time) return {keyTarget::baseline_intercept, direction};
      if (selected == adjustCircle::right_time) return {keyTarget::baseline_right, direction};
      if (selected == adjustCircle::bwave) return {keyTarget::bwave_amplitude, direction};
      return {xhair_shown ? keyTarget::xhair : keyTarget::nothing, direction};
    }
  }
  return {keyTarget::nothing, 0};
}

bool amplitude_at(const traceClass& trace, double t, double* out) {
  int32_t count = trace.get_count();
  if (count <= 0 || !std::isfinite(t)) return false;
  // The lookup runs on the stored times.
  double stored = trace.x_factor != 0.0 ? t / trace.x_factor - trace.x_offset() : t;
  int32_t i = trace.nearest_index(stored);
  if (i < 0) i = 0;  // before the first point
  if (i >= count) i = count - 1;
  *out = trace.y(i);
  return true;
}

namespace {

std::string bounded(const char* format, double value, const char* unit) {
  char text[128];
  std::snprintf(text, sizeof text, format, value, unit ? unit : "");
  return text;
}

}  // namespace

std::string cursor_status_text(double x, const char* x_unit, double y, const char* y_unit) {
  return bounded("%8.2lf [%s]", x, x_unit) + "  " + bounded("%8.2lf [%s]", y, y_unit);
}

std::string xhair_status_text(double dx, double dy) {
  char text[128];
  std::snprintf(text, sizeof text, "X-HAIR TO CURSOR: %8.2lf [mS]  %8.2lf [uV]", dx, dy);
  return text;
}

std::string date_line_text(int year, int month, int day, int hour, int minute, int second) {
  char text[64];
  std::snprintf(text, sizeof text, " %2d%s %4d %.2d:%.2d:%.2d", day, month_name(month), year, hour, minute, second);
  return text;
}
