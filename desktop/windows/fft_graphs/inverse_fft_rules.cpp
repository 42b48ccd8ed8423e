#include "desktop/windows/fft_graphs/inverse_fft_rules.h"

#include <algorithm>
#include <cstdio>

#include "desktop/data/fft.h"

namespace {

int32_t held_limit(int32_t bin, int32_t n) { return std::max(0, std::min(n / 2, bin)); }

}  // namespace

std::vector<double> masked_inverse(const spectrumData& spectrum, int32_t lo, int32_t hi) {
  const int32_t n = spectrum.n;
  if (n < 2 || spectrum.out_re.size() < static_cast<size_t>(n) || spectrum.out_im.size() < static_cast<size_t>(n))
    return {};
  lo = held_limit(lo, n);
  hi = held_limit(hi, n);
  const std::vector<double>& re = spectrum.out_re;
  const std::vector<double>& im = spectrum.out_im;
  // The masked spectrum, conjugated: a forward transform of it is n times
  // the inverse.
  std::vector<double> y_re(n, 0.0), y_im(n, 0.0);
  for (int32_t k = 0; k < n; k++) {
    double weight;
    if (k == lo || k == hi)
      weight = 0.5;
    else if (hi < lo)
      weight = (hi < k && k < lo) || (n - lo < k && k < n - hi) ? 0.0 : 1.0;
    else
      weight = (lo <= k && k <= hi) || (n - hi <= k && k <= n - lo) ? 1.0 : 0.0;
    y_re[k] = weight * re[k];
    y_im[k] = -weight * im[k];
  }
  std::vector<double> out_re(n), out_im(n);
  if (!mixed_radix_fft(n, y_re.data(), y_im.data(), out_re.data(), out_im.data())) return {};

  std::vector<double> result(n);
  double sum = 0.0;
  for (int32_t k = 0; k < n; k++) {
    result[k] = out_re[k] / n;
    sum += result[k];
  }
  const double shift = spectrum.input_mean - sum / n;
  if (shift != 0.0)
    for (double& v : result) v += shift;
  result[0] = result[1];
  result[n - 1] = result[n - 2];
  return result;
}

std::vector<xyPair> inverse_points(const std::vector<double>& values, double fs, double preflash_ms) {
  std::vector<xyPair> points(values.size());
  for (size_t i = 0; i < values.size(); i++) points[i] = {i * 1000.0 / fs - preflash_ms, values[i]};
  return points;
}

std::string inverse_band_text(int32_t lo, int32_t hi, double df) {
  char text[128];
  if (hi >= lo)
    std::snprintf(text, sizeof text, "  %5.1lf <= f < %5.1lf      ", lo * df, hi * df);
  else
    std::snprintf(text, sizeof text, "  f < %5.1lf , f >= %5.1lf   ", hi * df, lo * df);
  return text;
}

bandDisplay inverse_band_display(int32_t lo, int32_t hi, double df) {
  bandDisplay bands;
  if (hi >= lo) {
    bands.mode = 1;
    bands.band1_from = lo * df;
    bands.band1_to = hi * df + 1.0;
  } else {
    bands.mode = 2;
    bands.band1_from = 0.0;
    bands.band1_to = hi * df + 1.0;
    bands.band2_from = lo * df;
    bands.band2_to = 10000.0;
  }
  return bands;
}

std::string inverse_limit_label(bool upper, int32_t bin, double df) {
  char text[64];
  std::snprintf(text, sizeof text, upper ? "Max Freq = %5.1lf   " : "Min Freq = %5.1lf   ", bin * df);
  return text;
}

std::string inverse_clipboard_name(int32_t lo, int32_t hi, double df) {
  char text[96];
  std::snprintf(text, sizeof text, "(IFFT %lg..%lg)", lo * df, hi * df);
  return text;
}
