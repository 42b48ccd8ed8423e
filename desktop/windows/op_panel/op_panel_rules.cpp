#include "desktop/windows/op_panel/op_panel_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

template <typename... Args>
std::string text_of(const char* format, Args... args) {
  char text[128];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

}  // namespace

double op_sampling_rate(int32_t count, double xmin, double xmax) {
  const double span = xmax - xmin;
  if (count < 2 || !std::isfinite(span) || span <= 0.0) return 0.0;
  return (count - 1) / span * 1000.0;
}

int32_t op_frequency_limit(double rate) {
  if (!std::isfinite(rate)) return 0;
  return static_cast<int32_t>(std::max(0.0, std::min(rate / 2.0 - 0.5, 500.0)));
}

opView op_view(double x0, double x1, double centre_offset, double magnification) {
  const double c = (x0 + x1) / 2.0 - centre_offset;
  const double w = (x1 - x0) / std::max(1.0, magnification);
  return {c, c - w / 2.0, c + w / 2.0};
}

double op_centre_offset(int32_t position, double step) { return (op_centre_middle - position) * step; }

void op_y_range(double ymin, double ymax, double* low, double* high) {
  if (ymax - ymin < 0.1) {
    *low = ymin - 0.1;
    *high = ymax + 0.1;
  } else {
    *low = ymin;
    *high = ymax;
  }
}

std::string op_low_caption(int32_t low) { return text_of("Min Freq = %5.1lf Hz ", static_cast<double>(low)); }
std::string op_high_caption(int32_t high) { return text_of("Max Freq = %5.1lf Hz ", static_cast<double>(high)); }
std::string op_centre_caption(double centre) { return text_of("Center: %6.2lf mS", centre); }
std::string op_magnification_caption(double magnification) {
  return text_of("Magnification : %6.2lf", magnification);
}

std::string op_band_text(int32_t low, int32_t high) {
  if (low < high) return text_of("[%lg Hz .. %lg Hz]", static_cast<double>(low), static_cast<double>(high));
  return text_of("]%lg Hz .. %lg Hz[", static_cast<double>(high), static_cast<double>(low));
}

std::string op_view_text(double centre, double magnification) {
  return text_of("ctr %6.2lf mS  mag %lg", centre, magnification);
}

std::string op_clipboard_name(int32_t low, int32_t high) { return text_of("(OP %d..%d)", low, high); }
std::string op_trace_label(int32_t low, int32_t high) { return text_of("OP %d..%d", low, high); }

std::string literal_format(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}
