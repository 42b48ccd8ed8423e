#include "desktop/windows/fft_graphs/fft_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "desktop/data/fft.h"

namespace {

int to_pixel(double value) {
  if (!std::isfinite(value)) return 0;
  value = std::max(-1.0e9, std::min(1.0e9, value));
  return static_cast<int>(value);
}

int plot_height(const plotRect& plot) { return std::max(1, plot.bottom - plot.top); }

}  // namespace

bool in_band(const bandDisplay& bands, double f) {
  if (f >= bands.band1_from && f < bands.band1_to) return true;
  return bands.mode == 2 && f >= bands.band2_from && f < bands.band2_to;
}

bandDisplay full_band_display(double fs) {
  bandDisplay bands;
  bands.band1_to = fs;
  return bands;
}

spectrumResult compute_spectrum(const double* values, int32_t n, double span_s, spectrumData& out) {
  if (!values || n < 2 || !std::isfinite(span_s) || span_s <= 0.0) return spectrumResult::no_data;
  spectrumData d;
  d.fs = (n - 1) / span_s;
  d.n = n % 2 ? n - 1 : n;
  const int32_t N = d.n;
  d.duration = N / d.fs;
  d.df = 1.0 / d.duration;

  std::vector<double> in_re(values, values + N), in_im(N, 0.0);
  double sum = 0.0;
  for (double v : in_re) sum += v;
  d.input_mean = sum / N;
  d.out_re.assign(N, 0.0);
  d.out_im.assign(N, 0.0);
  if (!mixed_radix_fft(N, in_re.data(), in_im.data(), d.out_re.data(), d.out_im.data()))
    return spectrumResult::refused;

  d.magnitude.resize(N);
  for (int32_t k = 0; k < N; k++) d.magnitude[k] = std::hypot(d.out_re[k], d.out_im[k]);
  d.largest = d.smallest = d.magnitude[1];
  for (int32_t k = 1; k < N; k++) {
    if (d.magnitude[k] > d.largest)
      d.largest = d.magnitude[k];
    else if (d.magnitude[k] < d.smallest)
      d.smallest = d.magnitude[k];
  }
  d.level.assign(N, spectrum_floor_db);
  for (int32_t k = 1; k < N; k++) {
    double level = spectrum_floor_db;
    // A spectrum without any component above bin 0 has no reference.
    if (d.magnitude[k] > 0.0 && d.largest > 0.0) level = 20.0 * std::log10(d.magnitude[k] / d.largest);
    if (!(level > spectrum_floor_db)) {
      level = spectrum_floor_db;
    } else if (k < N / 2.0) {
      d.top_bin = k;
    }
    if (level > 0.0) level = 0.0;
    d.level[k] = level;
  }
  out = std::move(d);
  return spectrumResult::ok;
}

spectrumScale spectrum_scale(const spectrumData& data, const plotRect& plot, bool linear, bool range_400) {
  spectrumScale s;
  s.linear = linear;
  const double height = plot_height(plot);
  if (linear) {
    double span = data.largest - data.smallest;
    if (!(span > 0.0) || !std::isfinite(span)) span = 1.0;
    s.px_per_unit = height / span;
  } else {
    s.px_per_unit = height / -spectrum_floor_db;
  }
  if (range_400)
    s.highest_hz = 400.0;
  else if (linear)
    s.highest_hz = data.fs / 2.0;
  else
    s.highest_hz = std::max(1, data.top_bin) * data.df;
  if (!(s.highest_hz > 0.0) || !std::isfinite(s.highest_hz)) s.highest_hz = 1.0;
  const double width = std::max(1, plot.right - plot.left - 2 * plot.margin);
  s.px_per_hz = width / s.highest_hz;
  s.bin_hz = data.n > 0 ? data.fs / data.n : 1.0;
  return s;
}

std::vector<spectrumBar> spectrum_bars(const spectrumData& data, const plotRect& plot, const spectrumScale& scale,
                                       const bandDisplay& bands) {
  std::vector<spectrumBar> bars;
  const int bottom = plot.bottom - 1;
  const double half = scale.bin_hz * scale.px_per_hz / 2.0;
  for (int32_t k = 0; k < data.n; k++) {
    const double f = k * scale.bin_hz;
    const double centre = plot.left + plot.margin + f * scale.px_per_hz;
    spectrumBar bar;
    bar.x0 = to_pixel(centre - half);
    bar.x1 = std::max(bar.x0 + 1, to_pixel(centre + half));
    double height = scale.linear ? (data.magnitude[k] - data.smallest) * scale.px_per_unit
                                 : (data.level[k] - spectrum_floor_db) * scale.px_per_unit;
    bar.top = std::max(plot.top, std::min(bottom, to_pixel(bottom - height)));
    bar.bottom = bottom;
    bar.in_band = in_band(bands, f);
    bars.push_back(bar);
    if (f > scale.highest_hz) break;
  }
  return bars;
}

std::vector<gridLine> spectrum_level_grid(const plotRect& plot, bool linear) {
  std::vector<gridLine> lines;
  const double height = plot.bottom - plot.top;
  for (int v = 10; v <= 40; v += 10) {
    char label[32];
    std::snprintf(label, sizeof label, "%3.0lf", linear ? 100.0 - 2.0 * v : -static_cast<double>(v));
    lines.push_back({to_pixel(plot.bottom - (50.0 - v) / 50.0 * height), label});
  }
  return lines;
}

std::vector<gridLine> spectrum_frequency_grid(const plotRect& plot, const spectrumScale& scale) {
  std::vector<gridLine> lines;
  const double step = std::max(1.0, std::trunc(scale.highest_hz / 8.0));
  const double end = std::ceil(scale.highest_hz);
  for (double f = 50.0; f <= end; f += step) {
    char label[32];
    std::snprintf(label, sizeof label, "%3d", static_cast<int>(f));
    lines.push_back({to_pixel(plot.left + plot.margin + f * scale.px_per_hz), label});
  }
  return lines;
}

std::string spectrum_amplitude_text(const plotRect& plot, const spectrumScale& scale, int y) {
  char text[64];
  if (scale.linear)
    std::snprintf(text, sizeof text, "Amplitude: %4.1f %s", (plot.bottom - y) * 100.0 / plot_height(plot), "%");
  else
    std::snprintf(text, sizeof text, "Amplitude: %2.0f dB", (plot.bottom - y) / scale.px_per_unit - 50.0);
  return text;
}

std::string spectrum_frequency_text(const plotRect& plot, const spectrumScale& scale, int x) {
  const double half = scale.bin_hz * scale.px_per_hz / 2.0;
  const double bins = (x - plot.left - plot.margin + half) / scale.px_per_hz / scale.bin_hz;
  const double bin = std::isfinite(bins) ? std::trunc(bins) : 0.0;
  char text[64];
  std::snprintf(text, sizeof text, "Frequency: %5.1lf Hz", bin * scale.bin_hz);
  return text;
}

std::string spectrum_title_text(const char* caption) {
  return std::string("GRAPH FOR : [") + (caption ? caption : "") + "]";
}
