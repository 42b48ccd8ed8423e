// The plot attributes window's rules that need no window: which selector
// entry shows a trace's fill and line width, what a chosen fill entry sets,
// and how a typed low-pass frequency is taken. Portable.
#ifndef DESKTOP_WINDOWS_TRACE_PANELS_PLOT_ATTRIBUTES_RULES_H
#define DESKTOP_WINDOWS_TRACE_PANELS_PLOT_ATTRIBUTES_RULES_H

#include <cstdint>
#include <string>

// The Fill selector's entries: "None", "Solid", "Dash-2", "Dash-5",
// "Dash-10". The entry a trace shows: "None" for points only (1), else by
// its dash period (0, 2, 5, 10); -1 for any other period.
int fill_entry(int32_t points_only, int32_t dash_period);

// What a Fill entry sets: the points-only flag and the dash period.
struct fillStyle {
  int32_t points_only;
  int32_t dash_period;
};
// Entries outside the selector give no change (false).
bool fill_style(int entry, fillStyle* style);

// The Width selector's entries "0.5mm" .. "2.5mm" stand for line widths 1 to
// 5; -1 for any other width.
int width_entry(int32_t line_width);

// The line Color selector's entries "Red" .. "Gray", "White" and the colour
// indexes they stand for (White is 9, not 7).
constexpr int line_colour_count = 8;
constexpr int32_t line_colour_values[line_colour_count] = {0, 1, 2, 3, 4, 5, 6, 9};

// The low-pass frequencies a user may enter (Hz), both ends taken.
constexpr double lowpass_entry_low = 3.0;
constexpr double lowpass_entry_high = 1000.0;

// A text typed into the LP Freq field: only a text holding a ";" is taken;
// its semicolons removed, it is empty, not a number in range (a text that
// does not begin with a finite number counts as out of range), or a
// frequency.
enum class lowpassEntry { not_committed, empty, refused, accepted };
struct lowpassEntryResult {
  lowpassEntry kind;
  double frequency;   // for accepted
  std::string text;   // the typed text without its semicolons
};
// At most 128 characters of typed are read.
lowpassEntryResult read_lowpass_entry(const char* typed);

#endif
