#include "desktop/winlib/math/trace_levels.h"

#include "desktop/winlib/math/straight_line_fit.h"

namespace {

const int slope_points = 20;

}  // namespace

double trace_argmax(const int32_t* values, int n) {
  if (!values || n < 1) return -1;
  int best = 0;
  for (int i = 1; i < n; i++) {
    if (values[i] > values[best]) best = i;
  }
  return best;
}

int32_t trace_max(const int32_t* values, int n) {
  if (!values || n < 1) return 0;
  int32_t best = values[0];
  for (int i = 1; i < n; i++) {
    if (values[i] > best) best = values[i];
  }
  return best;
}

int32_t trace_min(const int32_t* values, int n) {
  if (!values || n < 1) return 0;
  int32_t best = values[0];
  for (int i = 1; i < n; i++) {
    if (values[i] < best) best = values[i];
  }
  return best;
}

double local_slope(const int32_t* values, int n) {
  if (!values || n < 2) return 0.0;
  lineFit fit(n);
  for (int k = 0; k < n; k++) fit.add_point(k, values[k]);
  return fit.slope();
}

bool periodic_levels(const int32_t* values, int n, double* first_peak, int* first_peak_pos, double* mean_peak,
                     double* mean_trough) {
  double peak = 0, peak_pos = -1, peak_sum = 0, trough_sum = 0;
  int peaks = 0, troughs = 0;
  if (values && n > slope_points) {
    double max = trace_max(values, n), min = trace_min(values, n);
    double mid = (max + min) / 2, third = (max - min) / 3;
    double low = min + third, high = max - third;
    // The local slope at j reads values[j .. j + 19]: j + 20 <= n.
    auto slope_at = [&](int j) { return local_slope(values + j, slope_points); };
    const int last_slope = n - slope_points;
    int i = 0;
    while (i < n - slope_points) {
      double v = values[i];
      bool trough = low < v && v < mid && slope_at(i) < 0;
      bool rising = !trough && mid < v && v < high && slope_at(i) > 0;
      if (!trough && !rising) {
        i++;
        continue;
      }
      int j = i + 1;
      while (j <= last_slope && (trough ? slope_at(j) <= 0 : slope_at(j) >= 0)) j++;
      if (j > last_slope) break;
      int k = j + 1;
      while (k < n && !(trough ? (low < values[k] && values[k] < mid) : (mid < values[k] && values[k] < high))) k++;
      if (k >= n) break;
      int at = i;
      for (int m = i + 1; m < k; m++) {
        if (trough ? values[m] < values[at] : values[m] > values[at]) at = m;
      }
      if (trough) {
        trough_sum += values[at];
        troughs++;
      } else {
        if (peaks == 0) {
          peak = values[at];
          peak_pos = at;
        }
        peak_sum += values[at];
        peaks++;
      }
      i = k;
    }
  }
  bool found = peaks > 0 && troughs > 0;
  if (first_peak) *first_peak = peaks ? peak : 0;
  if (first_peak_pos) *first_peak_pos = static_cast<int>(peak_pos);
  if (mean_peak) *mean_peak = peaks ? peak_sum / peaks : 0;
  if (mean_trough) *mean_trough = troughs ? trough_sum / troughs : 0;
  return found;
}
