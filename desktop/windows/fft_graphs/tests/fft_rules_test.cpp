// The spectrum of a trace and its layout: peaks of a sum of sines at their
// frequencies and amplitudes in dB and linearly, the traces it refuses, and
// the scales, bars, grid and read-outs of the plot, also for a spectrum
// without any component.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/windows/fft_graphs/fft_rules.h"

namespace {

constexpr double pi = 3.14159265358979323846;

// n values of a 60 Hz sine of amplitude 50, a 150 Hz sine of amplitude 5
// and an offset of 10, sampled at 1 kHz.
std::vector<double> two_sines(int n) {
  std::vector<double> v(n);
  for (int i = 0; i < n; i++) {
    double t = i / 1000.0;
    v[i] = 10.0 + 50.0 * std::sin(2 * pi * 60 * t) + 5.0 * std::sin(2 * pi * 150 * t);
  }
  return v;
}

spectrumData spectrum_of(const std::vector<double>& v, double span) {
  spectrumData d;
  EXPECT_EQ(compute_spectrum(v.data(), static_cast<int32_t>(v.size()), span, d), spectrumResult::ok);
  return d;
}

const plotRect plot{10, 20, 810, 220, 4};  // 800 x 200 pixels, margin 4

TEST(Spectrum, OddCountDropsTheLastValueAndPeaksSitAtTheirBins) {
  // 1001 points over 1 s: fs 1000 Hz, N 1000, 1 Hz per bin.
  spectrumData d = spectrum_of(two_sines(1001), 1.0);
  EXPECT_EQ(d.n, 1000);
  EXPECT_DOUBLE_EQ(d.fs, 1000.0);
  EXPECT_DOUBLE_EQ(d.df, 1.0);
  EXPECT_NEAR(d.input_mean, 10.0, 1e-9);
  // Amplitudes: 2 |X[k]| / N.
  EXPECT_NEAR(2 * d.magnitude[60] / d.n, 50.0, 1e-9);
  EXPECT_NEAR(2 * d.magnitude[150] / d.n, 5.0, 1e-9);
  EXPECT_DOUBLE_EQ(d.largest, d.magnitude[60]);
  EXPECT_NEAR(d.level[60], 0.0, 1e-9);
  EXPECT_NEAR(d.level[150], -20.0, 1e-9);
  // Bin 0 always at the floor, as is every bin without a component.
  EXPECT_EQ(d.level[0], spectrum_floor_db);
  EXPECT_EQ(d.level[100], spectrum_floor_db);
  EXPECT_EQ(d.top_bin, 150);
}

TEST(Spectrum, BarsShowThePeaksInDbAndLinearly) {
  spectrumData d = spectrum_of(two_sines(1000), 0.999);
  bandDisplay bands = full_band_display(d.fs);
  for (bool linear : {false, true}) {
    SCOPED_TRACE(linear ? "linear" : "dB");
    spectrumScale s = spectrum_scale(d, plot, linear, true);
    EXPECT_DOUBLE_EQ(s.highest_hz, 400.0);
    EXPECT_DOUBLE_EQ(s.px_per_hz, 792.0 / 400.0);
    std::vector<spectrumBar> bars = spectrum_bars(d, plot, s, bands);
    // Bars up to the first past 400 Hz.
    ASSERT_EQ(bars.size(), 402u);
    const int full = plot.bottom - 1 - plot.top;
    auto height = [&](int k) { return bars[k].bottom - bars[k].top; };
    EXPECT_EQ(bars[60].top, plot.top);
    int centre = (bars[60].x0 + bars[60].x1) / 2;
    EXPECT_NEAR(centre, plot.left + plot.margin + 60 * s.px_per_hz, 1.0);
    // -20 dB is 30 of 50 dB above the floor; linearly a tenth of the peak.
    EXPECT_NEAR(height(150), linear ? full / 10.0 : 200.0 * 30 / 50, 1.5);
    EXPECT_LE(height(100), 1);
    for (const spectrumBar& bar : bars) {
      EXPECT_LT(bar.x0, bar.x1);
      EXPECT_TRUE(bar.in_band);
    }
  }
}

TEST(Spectrum, BandsColourTheBars) {
  spectrumData d = spectrum_of(two_sines(1000), 0.999);
  bandDisplay two;
  two.mode = 2;
  two.band1_to = 51.0;
  two.band2_from = 100.0;
  two.band2_to = 10000.0;
  std::vector<spectrumBar> bars = spectrum_bars(d, plot, spectrum_scale(d, plot, false, true), two);
  EXPECT_TRUE(bars[50].in_band);
  EXPECT_FALSE(bars[51].in_band);
  EXPECT_FALSE(bars[99].in_band);
  EXPECT_TRUE(bars[100].in_band);
  two.mode = 1;
  EXPECT_FALSE(in_band(two, 150.0));
}

TEST(Spectrum, WholeRangeEndsAtTheTopBinInDbAndAtHalfTheRateLinearly) {
  spectrumData d = spectrum_of(two_sines(1000), 0.999);
  EXPECT_DOUBLE_EQ(spectrum_scale(d, plot, false, false).highest_hz, 150.0);
  EXPECT_DOUBLE_EQ(spectrum_scale(d, plot, true, false).highest_hz, 500.0);
}

TEST(Spectrum, RefusedTraces) {
  struct refusal {
    const char* what;
    int n;
    double span;
    spectrumResult result;
    const char* message;
  } cases[] = {
      {"no points", 0, 1.0, spectrumResult::no_data, nullptr},
      {"one point", 1, 1.0, spectrumResult::no_data, nullptr},
      {"zero span", 2, 0.0, spectrumResult::no_data, nullptr},
      {"span no number", 4, std::nan(""), spectrumResult::no_data, nullptr},
      // 6022 = 2 x 3011, a prime above the transform's limit.
      {"prime factor 3011", 6022, 6.021, spectrumResult::refused, "Prime factor of FFT length too large :   3011"},
  };
  for (const refusal& c : cases) {
    SCOPED_TRACE(c.what);
    message_capture capture;
    std::vector<double> values = two_sines(c.n);
    spectrumData d;
    d.n = 77;
    EXPECT_EQ(compute_spectrum(values.data(), c.n, c.span, d), c.result);
    EXPECT_EQ(d.n, 77);  // untouched
    std::vector<std::string> texts = capture.texts();
    if (c.message) {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_NE(texts[0].find(c.message), std::string::npos) << texts[0];
    } else {
      EXPECT_TRUE(texts.empty());
    }
  }
  EXPECT_STREQ(no_fft_data_text, "*** NO DATA IN FOR FFT ***");
}

TEST(Spectrum, FlatTraceKeepsEveryDivisionFinite) {
  // No component above bin 0: no largest magnitude, no top bin.
  std::vector<double> flat(4, 3.0);
  spectrumData d = spectrum_of(flat, 0.003);
  EXPECT_EQ(d.top_bin, 0);
  for (double level : d.level) EXPECT_EQ(level, spectrum_floor_db);
  for (bool linear : {false, true}) {
    spectrumScale s = spectrum_scale(d, plot, linear, false);
    EXPECT_TRUE(std::isfinite(s.px_per_unit) && s.px_per_unit > 0);
    EXPECT_TRUE(std::isfinite(s.px_per_hz) && s.px_per_hz > 0);
    for (const spectrumBar& bar : spectrum_bars(d, plot, s, full_band_display(d.fs))) {
      EXPECT_GE(bar.top, plot.top);
      EXPECT_LE(bar.top, bar.bottom);
    }
    EXPECT_NE(spectrum_amplitude_text(plot, s, 100).find("Amplitude:"), std::string::npos);
  }
  // Two points: one bin above 0, which is both the largest and smallest.
  std::vector<double> two{1.0, 2.0};
  spectrumData tiny = spectrum_of(two, 0.001);
  EXPECT_EQ(tiny.n, 2);
  EXPECT_TRUE(std::isfinite(spectrum_scale(tiny, plot, true, false).px_per_unit));
}

TEST(Spectrum, FrequencyGridEndsForAnyHighestFrequency) {
  spectrumScale s;
  s.highest_hz = 400.0;
  s.px_per_hz = 2.0;
  std::vector<gridLine> lines = spectrum_frequency_grid(plot, s);
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[0].label, " 50");
  EXPECT_EQ(lines[7].label, "400");
  EXPECT_EQ(lines[0].position, plot.left + plot.margin + 100);
  // Below 8 Hz the step would be 0: it is held at 1 Hz, and below 50 Hz
  // there is no line.
  s.highest_hz = 3.0;
  EXPECT_TRUE(spectrum_frequency_grid(plot, s).empty());
  s.highest_hz = 60.0;
  EXPECT_EQ(spectrum_frequency_grid(plot, s).size(), 2u);  // 50 and 57 Hz
}

TEST(Spectrum, LevelGridAndReadOuts) {
  std::vector<gridLine> db = spectrum_level_grid(plot, false);
  ASSERT_EQ(db.size(), 4u);
  EXPECT_EQ(db[0].label, "-10");
  EXPECT_EQ(db[0].position, plot.bottom - 160);
  EXPECT_EQ(spectrum_level_grid(plot, true)[3].label, " 20");

  spectrumScale s;
  s.px_per_unit = 4.0;  // 200 pixels for 50 dB
  s.px_per_hz = 2.0;
  s.bin_hz = 1.0;
  EXPECT_EQ(spectrum_amplitude_text(plot, s, plot.bottom - 120), "Amplitude: -20 dB");
  s.linear = true;
  EXPECT_EQ(spectrum_amplitude_text(plot, s, plot.bottom - 50), "Amplitude: 25.0 %");
  // The bin nearest the pointer: 60 Hz reads as 60, 60.5 Hz as 61.
  EXPECT_EQ(spectrum_frequency_text(plot, s, plot.left + plot.margin + 120), "Frequency:  60.0 Hz");
  EXPECT_EQ(spectrum_frequency_text(plot, s, plot.left + plot.margin + 121), "Frequency:  61.0 Hz");
  EXPECT_EQ(spectrum_title_text("FF( a )"), "GRAPH FOR : [FF( a )]");
}

}  // namespace
