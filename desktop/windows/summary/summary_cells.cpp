#include "desktop/windows/summary/summary_cells.h"

#include <cmath>
#include <cstdio>

namespace {

bool before_version_3(const testFileRecord& record) { return record.ProgramVersion / 1000.0 < 3.0; }

}  // namespace

double summary_intensity(const testFileRecord& record) {
  double intensity = record.Config.Intensity;
  if (before_version_3(record)) return intensity;
  double factor = record.FilterValue;
  return factor == 1.0 || factor == 0.0 ? intensity : intensity / factor;
}

std::string intensity_text(const testFileRecord& record) {
  char text[64];
  if (before_version_3(record))
    std::snprintf(text, sizeof text, "%d", static_cast<int>(record.Config.Intensity));
  else
    std::snprintf(text, sizeof text, "%lg", summary_intensity(record));
  return text;
}

std::string log_intensity_text(const testFileRecord& record) {
  double intensity = summary_intensity(record);
  if (!(intensity > 0.0) || !std::isfinite(intensity)) return "---";
  char text[64];
  std::snprintf(text, sizeof text, "%3.1lf", std::log10(intensity) - std::log10(3000.0));
  return text;
}

double file_time_seconds_between(uint64_t reference, uint64_t time) {
  // The difference is taken in integers: a double loses the 100-ns units of
  // a present-day file time.
  int64_t units = time >= reference ? static_cast<int64_t>(time - reference) : -static_cast<int64_t>(reference - time);
  return units / 1e7;
}
