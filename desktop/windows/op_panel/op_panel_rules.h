// The oscillatory potentials panel's rules that need no window: the sampling
// rate and slider limit of a source trace, the filter's taps, the view that
// the centre and magnification sliders choose, the y range of the filtered
// trace, and the panel's texts. Portable.
#ifndef DESKTOP_WINDOWS_OP_PANEL_OP_PANEL_RULES_H
#define DESKTOP_WINDOWS_OP_PANEL_OP_PANEL_RULES_H

#include <cstdint>
#include <string>

// The band after construction (Hz).
constexpr int32_t op_default_low_hz = 100;
constexpr int32_t op_default_high_hz = 300;
// The centre slider runs 0 .. 1000 with its middle at 500; the
// magnification slider 1 .. 10.
constexpr int32_t op_centre_positions = 1000;
constexpr int32_t op_centre_middle = 500;
constexpr int32_t op_magnification_max = 10;

// The text shown when a trace has nothing to filter.
constexpr const char* no_op_data_text = "*** NO DATA IN FOR OSC POTENTIALS ***";

// (count - 1) / (xmax - xmin) * 1000 Hz; 0 for fewer than 2 points or no
// time span (no data).
double op_sampling_rate(int32_t count, double xmin, double xmax);
// The frequency sliders' upper limit: min(rate / 2 - 0.5, 500) truncated,
// not below 0.
int32_t op_frequency_limit(double rate);

// What the sliders show: the view centre and its x range.
struct opView {
  double centre;
  double x_min;
  double x_max;
};
// c = (x0 + x1) / 2 - centre offset, width (x1 - x0) / magnification
// (magnification at least 1).
opView op_view(double x0, double x1, double centre_offset, double magnification);
// The centre offset of a centre slider position: (500 - position) * step.
double op_centre_offset(int32_t position, double step);

// The plotted y range: (min, max), or 0.1 wider at both ends when they lie
// less than 0.1 apart.
void op_y_range(double ymin, double ymax, double* low, double* high);

// Texts: the slider captions, the band, the centre and magnification line,
// the clipboard name and the label of the trace copied on.
std::string op_low_caption(int32_t low);
std::string op_high_caption(int32_t high);
std::string op_centre_caption(double centre);
std::string op_magnification_caption(double magnification);
std::string op_band_text(int32_t low, int32_t high);
std::string op_view_text(double centre, double magnification);
std::string op_clipboard_name(int32_t low, int32_t high);
std::string op_trace_label(int32_t low, int32_t high);

// A text as a value text's format that gives the text itself: every '%'
// doubled.
std::string literal_format(const std::string& text);

#endif
