// The masked inverse: the full band gives the trace back, one band its sine,
// a band-reject the rest, equal limits three quarters of that bin; and the
// window's texts and the bands it marks on the spectrum.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "desktop/windows/fft_graphs/inverse_fft_rules.h"

namespace {

constexpr double pi = 3.14159265358979323846;

double dc_part(int) { return 10.0; }
double low_part(int i) { return 50.0 * std::sin(2 * pi * 60 * i / 1000.0); }
double high_part(int i) { return 5.0 * std::sin(2 * pi * 150 * i / 1000.0); }

// 1000 values at 1 kHz of an offset and sines at 60 and 150 Hz.
spectrumData two_sines() {
  std::vector<double> v(1000);
  for (int i = 0; i < 1000; i++) v[i] = dc_part(i) + low_part(i) + high_part(i);
  spectrumData d;
  EXPECT_EQ(compute_spectrum(v.data(), 1000, 0.999, d), spectrumResult::ok);
  return d;
}

TEST(InverseFft, MaskedInverseOfBands) {
  spectrumData d = two_sines();
  struct band {
    const char* what;
    int lo, hi;
    double (*expected)(int);
  } cases[] = {
      {"full band returns the trace", 0, 500, [](int i) { return dc_part(i) + low_part(i) + high_part(i); }},
      {"one band returns its sine at the mean", 50, 70, [](int i) { return dc_part(i) + low_part(i); }},
      {"band-reject keeps the rest", 70, 50, [](int i) { return dc_part(i) + high_part(i); }},
      {"equal limits pass three quarters of the bin", 60, 60, [](int i) { return dc_part(i) + 0.75 * low_part(i); }},
      {"limits beyond N / 2 are held there", -5, 9999,
       [](int i) { return dc_part(i) + low_part(i) + high_part(i); }},
  };
  for (const band& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<double> r = masked_inverse(d, c.lo, c.hi);
    ASSERT_EQ(r.size(), 1000u);
    for (int i = 1; i < 999; i++) ASSERT_NEAR(r[i], c.expected(i), 1e-6) << "at " << i;
    // The end points repeat their neighbours.
    EXPECT_EQ(r[0], r[1]);
    EXPECT_EQ(r[999], r[998]);
  }
}

TEST(InverseFft, EmptySpectrumGivesNoValues) { EXPECT_TRUE(masked_inverse(spectrumData{}, 0, 0).empty()); }

TEST(InverseFft, PointsStartAtThePreFlashTime) {
  std::vector<xyPair> p = inverse_points({1.0, 2.0, 3.0}, 500.0, 20.0);
  ASSERT_EQ(p.size(), 3u);
  EXPECT_DOUBLE_EQ(p[0].x, -20.0);
  EXPECT_DOUBLE_EQ(p[2].x, -16.0);
  EXPECT_DOUBLE_EQ(p[2].y, 3.0);
}

TEST(InverseFft, TextsAndBands) {
  EXPECT_EQ(inverse_band_text(10, 300, 1.0), "   10.0 <= f < 300.0      ");
  EXPECT_EQ(inverse_band_text(300, 10, 1.0), "  f <  10.0 , f >= 300.0   ");
  EXPECT_EQ(inverse_limit_label(false, 20, 0.5), "Min Freq =  10.0   ");
  EXPECT_EQ(inverse_limit_label(true, 600, 0.5), "Max Freq = 300.0   ");
  EXPECT_EQ(inverse_clipboard_name(10, 300, 1.0), "(IFFT 10..300)");
  EXPECT_EQ(inverse_clipboard_name(3, 7, 0.5), "(IFFT 1.5..3.5)");

  bandDisplay pass = inverse_band_display(10, 300, 1.0);
  EXPECT_EQ(pass.mode, 1);
  EXPECT_DOUBLE_EQ(pass.band1_from, 10.0);
  EXPECT_DOUBLE_EQ(pass.band1_to, 301.0);
  bandDisplay reject = inverse_band_display(300, 10, 1.0);
  EXPECT_EQ(reject.mode, 2);
  EXPECT_TRUE(in_band(reject, 5.0));
  EXPECT_FALSE(in_band(reject, 100.0));
  EXPECT_TRUE(in_band(reject, 300.0));
}

}  // namespace
