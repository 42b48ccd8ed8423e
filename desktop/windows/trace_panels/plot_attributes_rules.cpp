#include "desktop/windows/trace_panels/plot_attributes_rules.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int32_t fill_dashes[] = {0, 2, 5, 10};  // "Solid" .. "Dash-10"
constexpr int fill_entry_count = 5;
constexpr int width_entry_count = 5;
constexpr size_t lowpass_text_limit = 128;

}  // namespace

int fill_entry(int32_t points_only, int32_t dash_period) {
  if (points_only == 1) return 0;
  for (int i = 0; i < 4; i++) {
    if (fill_dashes[i] == dash_period) return i + 1;
  }
  return -1;
}

bool fill_style(int entry, fillStyle* style) {
  if (!style || entry < 0 || entry >= fill_entry_count) return false;
  *style = entry == 0 ? fillStyle{1, 0} : fillStyle{0, fill_dashes[entry - 1]};
  return true;
}

int width_entry(int32_t line_width) {
  return line_width >= 1 && line_width <= width_entry_count ? static_cast<int>(line_width) - 1 : -1;
}

lowpassEntryResult read_lowpass_entry(const char* typed) {
  lowpassEntryResult result{lowpassEntry::not_committed, 0.0, ""};
  if (!typed) return result;
  bool committed = false;
  for (size_t i = 0; typed[i] && i < lowpass_text_limit; i++) {
    if (typed[i] == ';') {
      committed = true;
    } else {
      result.text += typed[i];
    }
  }
  if (!committed) return result;
  if (result.text.empty()) {
    result.kind = lowpassEntry::empty;
    return result;
  }
  double value = 0.0;
  bool number = std::sscanf(result.text.c_str(), "%lg", &value) == 1 && std::isfinite(value);
  if (!number || value < lowpass_entry_low || value > lowpass_entry_high) {
    result.kind = lowpassEntry::refused;
    return result;
  }
  result.kind = lowpassEntry::accepted;
  result.frequency = value;
  return result;
}
