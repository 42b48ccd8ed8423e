// The amplitude spectrum of a trace and how the spectrum window lays it out:
// the transform of an even number of the trace's values, each bin's
// magnitude and its level in dB against the strongest bin, the scales of the
// plot in dB or linear mode, the bars with their band colour, the grid and
// the cursor read-out. Portable: the window only draws what these give.
#ifndef DESKTOP_WINDOWS_FFT_GRAPHS_FFT_RULES_H
#define DESKTOP_WINDOWS_FFT_GRAPHS_FFT_RULES_H

#include <cstdint>
#include <string>
#include <vector>

// The floor of the dB scale: a level at or below it shows there.
constexpr double spectrum_floor_db = -50.0;

// The bands the inverse-transform window marks on the spectrum (Hz): mode 1
// one band, mode 2 two bands; a bin shows green inside them, red outside.
struct bandDisplay {
  int32_t mode = 1;
  double band1_from = 0.0;
  double band1_to = 0.0;
  double band2_from = 0.0;
  double band2_to = 0.0;
};

// True when f lies in band 1 (from <= f < to) or, in mode 2, in band 2.
bool in_band(const bandDisplay& bands, double f);

// One transform: N points (even, at least 2), their sampling rate, and per
// bin the transform's output, its magnitude and its level in dB.
struct spectrumData {
  int32_t n = 0;           // N
  double fs = 0.0;         // sampling rate (Hz)
  double duration = 0.0;   // T = N / fs (s)
  double df = 0.0;         // bin spacing 1 / T (Hz)
  double input_mean = 0.0;
  std::vector<double> out_re;
  std::vector<double> out_im;
  std::vector<double> magnitude;
  std::vector<double> level;  // dB, -50 .. 0; bin 0 always -50
  // Over bins 1 .. N - 1.
  double largest = 0.0;
  double smallest = 0.0;
  // The last bin below N / 2 whose level is above -50 dB; 0 when none is.
  int32_t top_bin = 0;
};

enum class spectrumResult {
  ok,
  no_data,  // fewer than 2 values, or no time span
  refused,  // the transform refused the length (it has reported why)
};

// The text shown when a trace gives no spectrum.
constexpr const char* no_fft_data_text = "*** NO DATA IN FOR FFT ***";

// The spectrum of n values over span_s seconds: fs = (n - 1) / span, N = n
// less 1 when n is odd. out is filled only when the result is ok.
spectrumResult compute_spectrum(const double* values, int32_t n, double span_s, spectrumData& out);

// The band display a new spectrum starts with: mode 1, band 1 = 0 .. fs.
bandDisplay full_band_display(double fs);

// A plot rectangle in pixels and the left margin inside it.
struct plotRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int margin = 0;
};

// The vertical and horizontal scales of a spectrum plot.
struct spectrumScale {
  bool linear = false;
  double px_per_unit = 1.0;  // pixels per dB, or per amplitude unit
  double highest_hz = 400.0;
  double px_per_hz = 1.0;
  double bin_hz = 1.0;  // fs / N
};

// dB mode: height / 50 pixels per dB; linear mode: height / (largest -
// smallest) per unit (a flat spectrum takes a span of 1). The highest
// frequency shown: 400 Hz with the range toggle on, else the top bin's
// (at least bin 1's) in dB mode and fs / 2 in linear mode.
spectrumScale spectrum_scale(const spectrumData& data, const plotRect& plot, bool linear, bool range_400);

// One bar of the plot in pixels, and whether it is in the band.
struct spectrumBar {
  int x0;
  int x1;  // x0 < x1: at least one pixel wide
  int top;
  int bottom;
  bool in_band;
};

// The bars from bin 0 on, ending after the first whose frequency exceeds the
// highest shown. Tops stay inside the plot.
std::vector<spectrumBar> spectrum_bars(const spectrumData& data, const plotRect& plot, const spectrumScale& scale,
                                       const bandDisplay& bands);

// A horizontal grid line: its pixel row and label.
struct gridLine {
  int position;
  std::string label;
};

// The lines at 10, 20, 30 and 40 of 50 parts of the height, labelled -v dB
// or 100 - 2v %.
std::vector<gridLine> spectrum_level_grid(const plotRect& plot, bool linear);
// The lines at 50 Hz and then every trunc(highest / 8) Hz (at least 1) up to
// ceil(highest), as columns with their "%3d" labels.
std::vector<gridLine> spectrum_frequency_grid(const plotRect& plot, const spectrumScale& scale);

// The status bar's two read-outs for a pointer at (x, y) pixels.
std::string spectrum_amplitude_text(const plotRect& plot, const spectrumScale& scale, int y);
std::string spectrum_frequency_text(const plotRect& plot, const spectrumScale& scale, int x);

// "GRAPH FOR : [%s]" over the plot.
std::string spectrum_title_text(const char* caption);

#endif
