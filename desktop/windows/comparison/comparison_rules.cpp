#include "desktop/windows/comparison/comparison_rules.h"

#include <cstdio>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/data/trace.h"

int32_t cycle_colour(int32_t step) {
  int32_t i = step % colour_cycle_length;
  if (i < 0) i += colour_cycle_length;
  return colour_cycle[i];
}

std::string trace_line_text(int number, int32_t colour, const char* legend) {
  char line[512];
  std::snprintf(line, sizeof line, "%d. %6s %s", number, colour_name(colour), legend ? legend : "");
  return line;
}

std::string trace_item_text(int number, const char* legend) {
  char line[512];
  std::snprintf(line, sizeof line, "%d. [%s]", number, legend ? legend : "");
  return line;
}

std::string trace_style_text(int32_t colour, int32_t points_only, int32_t dash) {
  const char* line = points_only == 1 ? "N" : points_only == 0 ? "L" : "?";
  char code[32];
  std::snprintf(code, sizeof code, "%sD%d", line, static_cast<int>(dash));
  char text[64];
  std::snprintf(text, sizeof text, "%6s %s", colour_name(colour), code);
  return text;
}

std::string trace_long_line_text(int number, const std::string& style, const char* legend,
                                 const traceFilterMarks& filters) {
  char lowpass[64] = "";
  if (filters.lowpass) std::snprintf(lowpass, sizeof lowpass, " LP(%lg)", filters.lowpass_frequency);
  char line[640];
  std::snprintf(line, sizeof line, "%d. %6s %s%s%s%s%s", number, style.c_str(), legend ? legend : "",
                filters.spikes ? " spks" : "", filters.notch60 ? " 60Hz" : "", filters.notch50 ? " 50Hz" : "",
                lowpass);
  return line;
}

traceCommand decode_trace_command(int id) {
  if (id < first_trace_command_id) return {0, 0};
  int number = id / trace_command_base;
  if (number < 1) return {0, 0};
  return {number, id - number * trace_command_base};
}

traceOffsets alignment_offsets(int row, bool separate, double time_step, double voltage_step, double y_at_time,
                               bool found) {
  double y = found ? -y_at_time : 0.0;
  if (!separate) return {0.0, y};
  return {row * time_step, y + row * voltage_step};
}

bool amplitude_near_time(const traceClass& trace, double t, double* out) {
  int32_t n = trace.get_count();
  if (n <= 0 || !(t >= trace.x_at(0)) || !(t <= trace.x_at(n - 1))) return false;
  int32_t i = trace.nearest_index(t);
  if (i < 0 || i >= n) return false;
  *out = trace.y(i);
  return true;
}

viewRange view_range(double centre, double span) { return {centre - span / 2.0, centre + span / 2.0}; }

double x_view_span(double range, double gain) { return range * 1.05 / gain; }

double y_view_span(double range, double gain) { return range / gain; }

const char* save_all_refusal(int count) {
  if (count <= 0) return "*** NO TRACES TO OUTPUT ***";
  if (count > max_traces_to_output) return "*** TOO MANY TRACES TO OUTPUT (20 MAX) ***";
  return "";
}

lowpassEntry check_lowpass_entry(double current, double entered) {
  if (entered == current) return lowpassEntry::unchanged;
  if (!(entered >= lowest_lowpass_frequency)) return lowpassEntry::too_low;
  return lowpassEntry::accepted;
}
