#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/tests/golden_filters.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/test_signal.h"
#include "desktop/data/trace_filters.h"

namespace {

const double pi = std::acos(-1.0);

// n points from t0 in steps of dt with the given values.
std::unique_ptr<traceClass> make_trace(double t0, double dt, const std::vector<double>& ys) {
  std::vector<xyPair> points(ys.size());
  for (size_t i = 0; i < ys.size(); i++) points[i] = {t0 + static_cast<int>(i) * dt, ys[i]};
  auto t = std::make_unique<traceClass>();
  t->set_xy_pairs(points.data(), static_cast<int32_t>(points.size()));
  return t;
}

// The golden traces' input: 50 times the test values of seed.
std::unique_ptr<traceClass> golden_trace(int n, double t0, double dt, int seed) {
  std::vector<double> ys = test_values(seed, n);
  for (double& v : ys) v *= 50.0;
  return make_trace(t0, dt, ys);
}

std::unique_ptr<traceClass> sine_trace(int n, double dt_ms, double hz, double amplitude = 1.0) {
  std::vector<double> ys(static_cast<size_t>(n));
  for (int i = 0; i < n; i++) ys[i] = amplitude * std::sin(2.0 * pi * hz * i * dt_ms / 1000.0);
  return make_trace(0.0, dt_ms, ys);
}

std::vector<double> ys_of(const traceClass& t) {
  std::vector<double> out;
  for (int32_t i = 0; i < t.get_count(); i++) out.push_back(t.points()[i].y);
  return out;
}

std::vector<double> xs_of(const traceClass& t) {
  std::vector<double> out;
  for (int32_t i = 0; i < t.get_count(); i++) out.push_back(t.points()[i].x);
  return out;
}

double max_abs(const std::vector<double>& v) {
  double m = 0.0;
  for (double x : v) m = std::max(m, std::fabs(x));
  return m;
}

void expect_near_all(const std::vector<double>& actual, const std::vector<double>& expected, double relative) {
  ASSERT_EQ(actual.size(), expected.size());
  const double bound = relative * max_abs(expected);
  for (size_t i = 0; i < actual.size(); i++) EXPECT_NEAR(actual[i], expected[i], bound) << "at " << i;
}

// Root mean square of the values from first to last (inclusive).
double rms(const std::vector<double>& v, size_t first, size_t last) {
  double sum = 0.0;
  for (size_t i = first; i <= last; i++) sum += v[i] * v[i];
  return std::sqrt(sum / (last - first + 1));
}

// ---- FIR ------------------------------------------------------------------

// The transcription follows the filter's own steps: n points over the span
// give the sampling rate, and the output starts at the time of point
// (m + 1) / 2, stepping by span / n.
TEST(FirTrace, EqualsGoldenTranscription) {
  for (const golden_fir_trace& g : golden_fir_traces) {
    SCOPED_TRACE(testing::Message() << "kind " << g.kind << ", " << g.n << " points");
    auto source = golden_trace(g.n, g.t0, g.dt, g.seed);
    std::unique_ptr<traceClass> out(g.kind == 0 ? fir_lowpass_trace(source.get(), g.p1)
                                                : fir_band_filter_trace(g.p1, g.p2, source.get(), nullptr));
    ASSERT_TRUE(out);
    EXPECT_EQ(out->color, 5);
    expect_near_all(xs_of(*out), golden_values(g.times, g.count), 1e-14);
    expect_near_all(ys_of(*out), golden_values(g.values, g.count), 1e-12);
    EXPECT_DOUBLE_EQ(out->xmin(), golden_values(g.times, 1)[0]);
  }
}

// Taps by length (both limits strict) give the output length; 600 points
// take 63 taps and start at point 32.
TEST(FirTrace, TapsByLengthAndWhereTheOutputStarts) {
  struct row {
    int n, taps;
  };
  for (const row& r : {row{300, 31}, row{512, 31}, row{513, 63}, row{600, 63}, row{1024, 63}, row{1025, 127}}) {
    auto source = golden_trace(r.n, 2.0, 0.5, 3);
    std::unique_ptr<traceClass> out(fir_lowpass_trace(source.get(), 50.0));
    ASSERT_EQ(out->get_count(), r.n - r.taps + 1) << r.n;
    EXPECT_EQ(out->x_at(0), source->x_at((r.taps + 1) / 2)) << r.n;
    const double step = (source->xmax() - source->xmin()) / r.n;
    EXPECT_NEAR(out->x_at(1) - out->x_at(0), step, 1e-12) << r.n;
  }
}

// The displayed values and times are filtered; the stored ones give only
// the start time.
TEST(FirTrace, FiltersDisplayedValues) {
  auto source = golden_trace(300, 0.0, 1.0, 4);
  auto shifted = golden_trace(300, 0.0, 1.0, 4);
  shifted->set_y_offset(10.0);
  shifted->y_factor = 2.0;
  std::unique_ptr<traceClass> a(fir_lowpass_trace(source.get(), 40.0));
  std::unique_ptr<traceClass> b(fir_lowpass_trace(shifted.get(), 40.0));
  const std::vector<double> ya = ys_of(*a), yb = ys_of(*b);
  ASSERT_EQ(ya.size(), yb.size());
  for (size_t i = 0; i < ya.size(); i++) EXPECT_NEAR(yb[i], 2.0 * ya[i] + 20.0, 1e-9);
}

TEST(FirTrace, LowpassPassesSlowAndStopsFastSines) {
  const double dt = 0.5;  // 2000 points per second
  std::unique_ptr<traceClass> slow(fir_lowpass_trace(sine_trace(2000, dt, 10.0).get(), 50.0));
  std::unique_ptr<traceClass> fast(fir_lowpass_trace(sine_trace(2000, dt, 300.0).get(), 50.0));
  const std::vector<double> ys = ys_of(*slow), yf = ys_of(*fast);
  EXPECT_NEAR(rms(ys, 0, ys.size() - 1), std::sqrt(0.5), 0.01);
  EXPECT_LT(rms(yf, 0, yf.size() - 1), 1e-3);
}

// Positive half-width rejects the band, negative passes it.
TEST(FirTrace, BandFilterRejectsOrPassesTheBand) {
  const double dt = 0.5;
  auto in_band = sine_trace(2000, dt, 100.0);
  std::unique_ptr<traceClass> rejected(fir_band_filter_trace(100.0, 80.0, in_band.get(), nullptr));
  std::unique_ptr<traceClass> passed(fir_band_filter_trace(100.0, -80.0, in_band.get(), nullptr));
  EXPECT_LT(rms(ys_of(*rejected), 0, rejected->get_count() - 1), 1e-3);
  EXPECT_NEAR(rms(ys_of(*passed), 0, passed->get_count() - 1), std::sqrt(0.5), 0.01);
}

TEST(FirTrace, GivenTargetIsFilledAndReturned) {
  auto source = golden_trace(300, 0.0, 1.0, 5);
  traceClass target;
  target.set_label("kept");
  EXPECT_EQ(fir_filter_trace(source.get(), 31, 0.0, 60.0, &target), &target);
  EXPECT_EQ(target.get_count(), 270);
  EXPECT_STREQ(target.label(), "kept");
}

// No displayed time span: an infinite rate puts both cut-offs at 0, so every
// value is 0 and every time the start time.
TEST(FirTrace, ZeroTimeSpanGivesZeros) {
  auto source = golden_trace(100, 7.0, 0.0, 6);
  std::unique_ptr<traceClass> out(fir_lowpass_trace(source.get(), 50.0));
  ASSERT_EQ(out->get_count(), 70);
  EXPECT_EQ(ys_of(*out), std::vector<double>(70, 0.0));
  EXPECT_EQ(xs_of(*out), std::vector<double>(70, 7.0));
}

// Fewer points than taps cannot be filtered: the points come back as they
// are.
TEST(FirTrace, ShortTraceComesBackUnfiltered) {
  for (int n : {0, 1, 16, 30}) {
    auto source = golden_trace(n, 0.0, 1.0, 7);
    std::unique_ptr<traceClass> out(fir_lowpass_trace(source.get(), 50.0));
    ASSERT_TRUE(out) << n;
    EXPECT_EQ(ys_of(*out), ys_of(*source)) << n;
    EXPECT_EQ(xs_of(*out), xs_of(*source)) << n;
  }
}

TEST(FirTrace, NullSourceIsReported) {
  message_capture capture;
  EXPECT_EQ(fir_lowpass_trace(nullptr, 50.0), nullptr);
  traceClass target;
  EXPECT_EQ(fir_band_filter_trace(60.0, 5.0, nullptr, &target), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>(2, "*** fir_filter_trace - NO SOURCE TRACE ***")));
}

// ---- notch ----------------------------------------------------------------

TEST(Notch, EqualsGoldenTranscription) {
  for (const golden_notch& g : golden_notches) {
    SCOPED_TRACE(testing::Message() << g.n << " points at " << g.f0 << " Hz");
    auto source = golden_trace(g.n, g.t0, g.dt, g.seed);
    std::unique_ptr<traceClass> out(notch_filter(source.get(), g.f0, g.bw));
    ASSERT_TRUE(out);
    EXPECT_EQ(xs_of(*out), xs_of(*source));
    expect_near_all(ys_of(*out), golden_values(g.offset, g.n), 1e-12);
  }
}

// A trace of 1000 points at 2 kHz, as the filtered trace runs it: mains at
// the notch loses at least 30 dB in the middle, a slow wave passes.
TEST(Notch, RemovesMainsAndKeepsSlowWaves) {
  const int n = 1000;
  for (double mains : {60.0, 50.0}) {
    auto hum = sine_trace(n, 0.5, mains, 10.0);
    std::unique_ptr<traceClass> out(notch_filter(hum.get(), mains, 10.0));
    const double before = rms(ys_of(*hum), n / 4, 3 * n / 4);
    const double after = rms(ys_of(*out), n / 4, 3 * n / 4);
    EXPECT_GE(20.0 * std::log10(before / after), 30.0) << mains;

    auto wave = sine_trace(n, 0.5, 8.0, 10.0);
    std::unique_ptr<traceClass> kept(notch_filter(wave.get(), mains, 10.0));
    EXPECT_NEAR(rms(ys_of(*kept), n / 4, 3 * n / 4), rms(ys_of(*wave), n / 4, 3 * n / 4), 0.1) << mains;
  }
}

TEST(Notch, KeepsTimesAndAttributes) {
  auto source = golden_trace(200, -5.0, 1.0, 8);
  source->set_label("OD");
  source->color = 3;
  source->line_width = 2;
  std::unique_ptr<traceClass> out(notch_filter(source.get(), 60.0, 10.0));
  EXPECT_EQ(out->get_count(), 200);
  EXPECT_EQ(xs_of(*out), xs_of(*source));
  EXPECT_STREQ(out->label(), "OD");
  EXPECT_EQ(out->color, 3);
  EXPECT_EQ(out->line_width, 2);
  const std::vector<double> ys = ys_of(*out);
  EXPECT_EQ(out->ymin(), *std::min_element(ys.begin(), ys.end()));
  EXPECT_EQ(out->ymax(), *std::max_element(ys.begin(), ys.end()));
}

// Without a sampling rate the trace comes back as it is.
TEST(Notch, TraceWithoutRateComesBackUnfiltered) {
  for (auto& source : {golden_trace(0, 0.0, 1.0, 9), golden_trace(1, 0.0, 1.0, 9), golden_trace(50, 3.0, 0.0, 9)}) {
    std::unique_ptr<traceClass> out(notch_filter(source.get(), 60.0, 10.0));
    ASSERT_TRUE(out);
    EXPECT_EQ(ys_of(*out), ys_of(*source));
  }
  // A notch at the sampling rate itself (1000 points per second).
  auto source = golden_trace(100, 0.0, 1.0, 9);
  std::unique_ptr<traceClass> out(notch_filter(source.get(), 1000.0 * 100 / 99, 10.0));
  EXPECT_EQ(ys_of(*out), ys_of(*source));
}

// A rate so low against the bandwidth that the poles leave the unit circle
// (11 points over a second: radius 1 - 3 * 10 / 11), or a width that puts
// them on or outside it, would make the recursion grow without bound.
TEST(Notch, PolesOutsideTheUnitCircleLeaveTheValuesUnchanged) {
  struct {
    int n;
    double dt, bw;
  } cases[] = {{11, 100.0, 10.0}, {1000, 0.5, 0.0}, {1000, 0.5, -10.0}, {1000, 0.5, std::nan("")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.n << " points, bandwidth " << c.bw);
    auto source = golden_trace(c.n, 0.0, c.dt, 12);
    std::unique_ptr<traceClass> out(notch_filter(source.get(), 60.0, c.bw));
    ASSERT_TRUE(out);
    EXPECT_EQ(xs_of(*out), xs_of(*source));
    EXPECT_EQ(ys_of(*out), ys_of(*source));
  }
}

TEST(Notch, NullSourceIsReported) {
  message_capture capture;
  EXPECT_EQ(notch_filter(nullptr, 60.0, 10.0), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** notch_filter - NO SOURCE TRACE ***"}));
}

// ---- frequency-domain notch -------------------------------------------------

TEST(FftNotch, EqualsGoldenTranscription) {
  for (const golden_fft_notch& g : golden_fft_notches) {
    SCOPED_TRACE(testing::Message() << g.n << " points at " << g.f0 << " Hz");
    auto source = golden_trace(g.n, g.t0, g.dt, g.seed);
    int count = -1;
    const std::vector<double> out = fft_notch_filter(source->points(), g.n, g.f0, count);
    EXPECT_EQ(count, g.n);
    expect_near_all(out, golden_values(g.offset, g.n), 1e-10);
  }
}

TEST(FftNotch, RemovesMainsKeepsMean) {
  const int n = 1000;
  std::vector<double> ys(n);
  for (int i = 0; i < n; i++) ys[i] = 3.0 + 10.0 * std::sin(2.0 * pi * 60.0 * i * 0.5 / 1000.0);
  auto source = make_trace(0.0, 0.5, ys);
  int count = 0;
  const std::vector<double> out = fft_notch_filter(source->points(), n, 60.0, count);
  ASSERT_EQ(count, n);
  double mean = 0.0;
  for (double v : out) mean += v / n;
  EXPECT_NEAR(mean, 3.0, 1e-9);
  std::vector<double> hum = out;
  for (double& v : hum) v -= 3.0;
  EXPECT_LT(rms(hum, n / 4, 3 * n / 4), 10.0 * std::sqrt(0.5) * 0.1);
}

TEST(FftNotch, RefusedLengthAndNoPointsGiveNothing) {
  message_capture capture;
  auto source = golden_trace(3011, 0.0, 1.0, 10);
  int count = -1;
  EXPECT_TRUE(fft_notch_filter(source->points(), 3011, 60.0, count).empty());
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(fft_notch_filter(nullptr, 0, 60.0, count).empty());
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"Prime factor of FFT length too large :   3011",
                                                       "*** fft_notch_filter - NO POINTS (0) ***"}));
}

// ---- spikes -----------------------------------------------------------------

// Outliers, a pair of equal outliers and local means of zero (infinite and
// undefined deviations), as transcribed.
TEST(Spike, EqualsGoldenTranscription) {
  for (const golden_spike& g : golden_spikes) {
    const std::vector<double> ys = golden_values(g.input, g.n);
    auto source = make_trace(0.0, 1.0, ys);
    std::vector<xyPair> out(g.n);
    spike_filter(source->points(), out.data(), g.n);
    const std::vector<double> expected = golden_values(g.output, g.n);
    for (int i = 0; i < g.n; i++) {
      EXPECT_EQ(out[i].x, static_cast<double>(i));
      EXPECT_NEAR(out[i].y, expected[i], 1e-12 * std::fabs(expected[i])) << "at " << i;
    }
  }
}

TEST(Spike, Cases) {
  struct row {
    const char* what;
    std::vector<double> in, out;
  };
  const row rows[] = {
      {"flat", {5, 5, 5, 5, 5}, {5, 5, 5, 5, 5}},
      {"single outlier", {10, 10, 10, 10, 20, 10, 10, 10, 10}, {10, 10, 10, 10, 10, 10, 10, 10, 10}},
      {"low outlier", {10, 10, 10, 4, 10, 10, 10}, {10, 10, 10, 10, 10, 10, 10}},
      {"equal pair stays", {10, 10, 10, 20, 20, 10, 10, 10}, {10, 10, 10, 20, 20, 10, 10, 10}},
      {"outlier near the start", {10, 10, 20, 10, 10}, {15, 10, 10, 10, 10}},
      {"first point", {20, 10, 10, 10}, {10, 10, 10, 10}},
      {"last point", {10, 10, 10, 20}, {10, 10, 10, 10}},
      {"two points are copied", {1, 100}, {1, 100}},
  };
  for (const row& r : rows) {
    const int n = static_cast<int>(r.in.size());
    auto source = make_trace(0.0, 1.0, r.in);
    std::vector<xyPair> out(n);
    spike_filter(source->points(), out.data(), n);
    std::vector<double> ys;
    for (const xyPair& p : out) ys.push_back(p.y);
    EXPECT_EQ(ys, r.out) << r.what;
  }
}

// ---- resampling -------------------------------------------------------------

TEST(Resample, OntoTheEvenGrid) {
  struct row {
    const char* what;
    std::vector<xyPair> in;
    std::vector<xyPair> out;
  };
  const row rows[] = {
      {"even already", {{0, 1}, {1, 2}, {2, 4}}, {{0, 1}, {1, 2}, {2, 4}}},
      {"grid after the point", {{0, 0}, {0.5, 5}, {4, 40}}, {{0, 0}, {2, 20}, {4, 40}}},
      {"grid before the point", {{0, 0}, {3.5, 35}, {4, 0}}, {{0, 0}, {2, 20}, {4, 0}}},
      {"one point", {{3, 7}}, {{3, 7}}},
  };
  for (const row& r : rows) {
    const int n = static_cast<int>(r.in.size());
    std::vector<xyPair> out(n);
    resample_even_grid(r.in.data(), out.data(), n);
    for (int i = 0; i < n; i++) {
      EXPECT_DOUBLE_EQ(out[i].x, r.out[i].x) << r.what << " at " << i;
      EXPECT_DOUBLE_EQ(out[i].y, r.out[i].y) << r.what << " at " << i;
    }
  }
}

// ---- filter options -----------------------------------------------------------

TEST(FilterOptions, ResolveSourceAndTarget) {
  message_capture capture;
  filterOptionsClass options;
  traceClass given, fallback;
  EXPECT_EQ(options.resolve_source(&given), &given);
  EXPECT_EQ(options.resolve_source(nullptr), nullptr);
  options.default_source = &fallback;
  EXPECT_EQ(options.resolve_source(nullptr), &fallback);

  EXPECT_EQ(options.resolve_target(&given), &given);
  EXPECT_EQ(options.resolve_target(nullptr), &options);
  options.target_required = 1;
  EXPECT_EQ(options.resolve_target(nullptr), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"filterOptionsClass::resolve_source *** NO SOURCE PROVIDED ***",
                                                       "filterOptionsClass::resolve_target *** NO TARGET PROVIDED ***"}));
}

}  // namespace
