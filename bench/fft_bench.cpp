// Times the mixed-radix FFT at the longest trace (12000 points) and at the
// worst lengths, those with a prime factor near the limit, beside FFTW when
// it is there: median time of one forward transform, the ratio of the two,
// and the largest difference between their results.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fft.h"
#include "fft_factors.h"

#ifdef ERG_HAVE_FFTW
#include <fftw3.h>
#endif

namespace {

constexpr double min_total_seconds = 0.3;
constexpr int min_runs = 5;
constexpr int max_runs = 2000;

struct signal {
  std::vector<double> re, im;
};

signal make_signal(int n) {
  signal s{std::vector<double>(n), std::vector<double>(n)};
  uint32_t h = 12345u;
  for (int i = 0; i < n; i++) {
    h = h * 1664525u + 1013904223u;
    s.re[i] = (h >> 8) / 16777216.0 - 0.5;
    h = h * 1664525u + 1013904223u;
    s.im[i] = (h >> 8) / 16777216.0 - 0.5;
  }
  return s;
}

// Median milliseconds of run(), repeated until enough time has passed.
template <class F>
double median_ms(F run) {
  std::vector<double> times;
  double total = 0.0;
  while (static_cast<int>(times.size()) < max_runs &&
         (static_cast<int>(times.size()) < min_runs || total < min_total_seconds)) {
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count() * 1000.0);
    total += took.count();
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string factor_text(int n) {
  std::string text;
  for (int f : fft_factors(n)) text += (text.empty() ? "" : "*") + std::to_string(f);
  return text;
}

}  // namespace

int main() {
  const int lengths[] = {12000, 2999, 3001, 5998, 6002, 8997, 9003, 11996};
#ifdef ERG_HAVE_FFTW
  std::printf("FFT: median time of one forward transform, mixed-radix beside FFTW (FFTW_MEASURE plan)\n\n");
  std::printf("%7s  %-20s %14s %12s %8s %12s\n", "n", "factors", "mixed-radix ms", "FFTW ms", "ratio", "max diff");
#else
  std::printf("FFT: median time of one forward transform (FFTW not found: no comparison)\n\n");
  std::printf("%7s  %-20s %14s\n", "n", "factors", "mixed-radix ms");
#endif
  for (int n : lengths) {
    const signal x = make_signal(n);
    signal y{std::vector<double>(n), std::vector<double>(n)};
    const double ours = median_ms([&] { mixed_radix_fft(n, x.re.data(), x.im.data(), y.re.data(), y.im.data()); });
#ifdef ERG_HAVE_FFTW
    fftw_complex* in = fftw_alloc_complex(n);
    fftw_complex* out = fftw_alloc_complex(n);
    fftw_plan plan = fftw_plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_MEASURE);
    for (int i = 0; i < n; i++) {
      in[i][0] = x.re[i];
      in[i][1] = x.im[i];
    }
    const double theirs = median_ms([&] { fftw_execute(plan); });
    double largest = 0.0, diff = 0.0;
    for (int k = 0; k < n; k++) {
      largest = std::max(largest, std::hypot(out[k][0], out[k][1]));
      diff = std::max(diff, std::hypot(out[k][0] - y.re[k], out[k][1] - y.im[k]));
    }
    std::printf("%7d  %-20s %14.4f %12.4f %8.1f %12.2e\n", n, factor_text(n).c_str(), ours, theirs, ours / theirs,
                largest > 0.0 ? diff / largest : diff);
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
#else
    std::printf("%7d  %-20s %14.4f\n", n, factor_text(n).c_str(), ours);
#endif
  }
#ifdef ERG_HAVE_FFTW
  std::printf("\nratio: mixed-radix time over FFTW time; max diff: largest difference over the largest bin\n");
#endif
  return 0;
}
