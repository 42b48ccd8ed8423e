// The comparison graph's rules that need no window: the colour cycle of new
// traces, the texts of its trace rows, the identifiers of its per-trace
// pop-up commands, the offsets that align and separate its traces, its view
// ranges, the limits of saving all traces and the check of a low-pass
// frequency typed for a trace. Portable.
#ifndef DESKTOP_WINDOWS_COMPARISON_COMPARISON_RULES_H
#define DESKTOP_WINDOWS_COMPARISON_COMPARISON_RULES_H

#include <cstdint>
#include <string>

class traceClass;

// New traces take their colour index from this cycle (Blue, Black, Red,
// Green, Violet, Yellow).
constexpr int32_t colour_cycle_length = 6;
constexpr int32_t colour_cycle[colour_cycle_length] = {3, 5, 0, 2, 4, 1};
// The cycle's entry at step (any integer, taken modulo the cycle).
int32_t cycle_colour(int32_t step);

// A trace's row in the list: "%d. %6s %s" with its number, its colour's name
// and its legend text.
std::string trace_line_text(int number, int32_t colour, const char* legend);
// A trace's pop-up sub-menu: "%d. [%s]" with its number and legend text.
std::string trace_item_text(int number, const char* legend);
// A trace's style: "%6s %s" with the colour's name and "N" (no line), "L"
// (line) or "?" (any other value of the no-line flag) followed by "D%d" with
// the dash length.
std::string trace_style_text(int32_t colour, int32_t points_only, int32_t dash);
// The filters a printed row names.
struct traceFilterMarks {
  bool spikes;
  bool notch60;
  bool notch50;
  bool lowpass;
  double lowpass_frequency;
};
// A printed row: "%d. %6s %s%s%s%s%s" with the number, the style text, the
// legend text, " spks", " 60Hz", " 50Hz" and " LP(%lg)" for the filters that
// are on.
std::string trace_long_line_text(int number, const std::string& style, const char* legend,
                                 const traceFilterMarks& filters);

// Per-trace pop-up commands: trace number x 100000 + command. Commands that
// the pop-up returns from this identifier on belong to a trace.
constexpr int trace_command_base = 100000;
constexpr int first_trace_command_id = 90001;
constexpr int trace_command_id(int number, int command) { return number * trace_command_base + command; }
struct traceCommand {
  int number;   // 1-based trace number; 0 when the identifier names none
  int command;  // the offset below 100000
};
// The trace and command of a pop-up identifier; number 0 for identifiers
// below 90001 or a trace number below 1.
traceCommand decode_trace_command(int id);

// The offsets of list row `row` (0-based) while alignment is on. y_at_time
// is the trace's displayed amplitude at its point nearest the alignment time
// (with its offsets at 0), found false when the time lies outside the trace:
// the trace then keeps an amplitude offset of 0 from the alignment.
struct traceOffsets {
  double x;
  double y;
};
traceOffsets alignment_offsets(int row, bool separate, double time_step, double voltage_step, double y_at_time,
                               bool found);
// The displayed amplitude of trace at its point nearest t (stored time);
// false when the trace is empty or t lies before its first or after its last
// point.
bool amplitude_near_time(const traceClass& trace, double t, double* out);

// A view range: centre +- span / 2.
struct viewRange {
  double low;
  double high;
};
viewRange view_range(double centre, double span);
// The x span shown for a data range: range x 1.05 / gain; the y span:
// range / gain.
double x_view_span(double range, double gain);
double y_view_span(double range, double gain);

// Saving every trace as text: at most this many at once.
constexpr int max_traces_to_output = 20;
// "" when count traces may be saved, else the message that refuses it.
const char* save_all_refusal(int count);

// A low-pass frequency typed for a trace (Hz).
constexpr double lowest_lowpass_frequency = 0.1;
enum class lowpassEntry { unchanged, too_low, accepted };
lowpassEntry check_lowpass_entry(double current, double entered);

#endif
