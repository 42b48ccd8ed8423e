// Times the mixed-radix FFT at powers of two, at the longest trace (12000
// points), at lengths of the radices 7, 11 and 13 (1001, 5005) and at
// lengths with a prime factor at the limit (2 x 3001, 3 x 3001), beside FFTW when it is there and numpy when its figures are
// given: median time of one forward transform, the ratios, and the largest
// difference from each reference over its largest bin.
//
//   fft_bench [--numpy FOLDER] [n...]
// FOLDER holds what bench/fft_numpy.py wrote for the same lengths; lengths
// given replace the list.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "desktop/data/fft.h"
#include "desktop/data/fft_factors.h"

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

// Enough runs of f in one sample that the clock's own cost and resolution
// do not count (a short transform takes less than a microsecond).
template <class F>
int repeats_for(F run) {
  constexpr double min_sample_seconds = 50e-6;
  int repeats = 1;
  for (;;) {
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < repeats; r++) run();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (took.count() >= min_sample_seconds || repeats >= 1 << 20) return repeats;
    repeats *= 2;
  }
}

// Milliseconds of one run() in a sample of repeats runs.
template <class F>
double sample_ms(F run, int repeats) {
  const auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < repeats; r++) run();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return took.count() * 1000.0 / repeats;
}

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Median milliseconds of one run() of each of a and b, their samples taken
// in turn, so that a machine loaded by other work weighs on both alike;
// repeated until enough time has passed.
template <class A, class B>
std::pair<double, double> median_ms(A a, B b) {
  const int repeats_a = repeats_for(a), repeats_b = repeats_for(b);
  std::vector<double> times_a, times_b;
  double total = 0.0;
  while (static_cast<int>(times_a.size()) < max_runs &&
         (static_cast<int>(times_a.size()) < min_runs || total < 2 * min_total_seconds)) {
    times_a.push_back(sample_ms(a, repeats_a));
    times_b.push_back(sample_ms(b, repeats_b));
    total += (times_a.back() * repeats_a + times_b.back() * repeats_b) / 1000.0;
  }
  return {median(times_a), median(times_b)};
}

std::string factor_text(int n) {
  std::string text;
  for (int f : fft_factors(n)) text += (text.empty() ? "" : "*") + std::to_string(f);
  return text;
}

// The largest difference between the two results over the largest bin of
// the reference.
double relative_error(const double* refRe, const double* refIm, const signal& y, int n) {
  double largest = 0.0, diff = 0.0;
  for (int k = 0; k < n; k++) {
    largest = std::max(largest, std::hypot(refRe[k], refIm[k]));
    diff = std::max(diff, std::hypot(refRe[k] - y.re[k], refIm[k] - y.im[k]));
  }
  return largest > 0.0 ? diff / largest : diff;
}

// numpy's time and result for n: false when its file is missing or short.
bool read_numpy(const std::string& folder, int n, double& ms, std::vector<double>& re, std::vector<double>& im) {
  const std::string path = folder + "/fft_numpy_" + std::to_string(n) + ".bin";
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return false;
  std::vector<double> data(1 + 2 * static_cast<size_t>(n));
  const bool whole = std::fread(data.data(), sizeof(double), data.size(), in) == data.size();
  std::fclose(in);
  if (!whole) return false;
  ms = data[0];
  re.assign(data.begin() + 1, data.begin() + 1 + n);
  im.assign(data.begin() + 1 + n, data.end());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string numpy_folder;
  int arg = 1;
  if (argc >= 3 && std::string(argv[1]) == "--numpy") {
    numpy_folder = argv[2];
    arg = 3;
  }
  std::vector<int> lengths = {1000, 1001, 4096, 12000, 65536, 2 * 3001, 3 * 3001, 7 * 11 * 13 * 5};
  if (arg < argc) lengths.clear();
  for (; arg < argc; arg++) {
    const int n = std::atoi(argv[arg]);
    if (n < 1) {
      std::fprintf(stderr, "fft_bench: %s is no length\n", argv[arg]);
      return 2;
    }
    lengths.push_back(n);
  }
  std::printf("FFT: median ms of one forward transform; ratio: ours over theirs; error: largest difference\n"
              "over the reference's largest bin (FFTW_MEASURE plan; numpy %s)\n\n",
              numpy_folder.empty() ? "not given" : "from bench/fft_numpy.py");
  std::printf("%7s  %-16s %9s %9s %7s %9s %9s %7s %9s\n", "n", "factors", "ours ms", "FFTW ms", "ratio", "error",
              "numpy ms", "ratio", "error");
  int status = 0;
  for (int n : lengths) {
    const signal x = make_signal(n);
    signal y{std::vector<double>(n), std::vector<double>(n)};
    const auto ours_run = [&] { mixed_radix_fft(n, x.re.data(), x.im.data(), y.re.data(), y.im.data()); };
    ours_run();
#ifdef ERG_HAVE_FFTW
    fftw_complex* in = fftw_alloc_complex(n);
    fftw_complex* out = fftw_alloc_complex(n);
    fftw_plan plan = fftw_plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_MEASURE);
    for (int i = 0; i < n; i++) {
      in[i][0] = x.re[i];
      in[i][1] = x.im[i];
    }
    const auto [ours, theirs] = median_ms(ours_run, [&] { fftw_execute(plan); });
    std::printf("%7d  %-16s %9.4f", n, factor_text(n).c_str(), ours);
    std::vector<double> fre(n), fim(n);
    for (int k = 0; k < n; k++) {
      fre[k] = out[k][0];
      fim[k] = out[k][1];
    }
    std::printf(" %9.4f %7.2f %9.2e", theirs, ours / theirs, relative_error(fre.data(), fim.data(), y, n));
    fftw_destroy_plan(plan);
    fftw_free(in);
    fftw_free(out);
#else
    const double ours = median_ms(ours_run, [] {}).first;
    std::printf("%7d  %-16s %9.4f", n, factor_text(n).c_str(), ours);
    std::printf(" %9s %7s %9s", "-", "-", "-");
#endif
    double numpy_ms = 0.0;
    std::vector<double> nre, nim;
    if (!numpy_folder.empty() && read_numpy(numpy_folder, n, numpy_ms, nre, nim)) {
      const double error = relative_error(nre.data(), nim.data(), y, n);
      std::printf(" %9.4f %7.2f %9.2e%s\n", numpy_ms, ours / numpy_ms, error, error < 1e-12 ? "" : "  TOO LARGE");
      if (!(error < 1e-12)) status = 1;
    } else {
      std::printf(" %9s %7s %9s\n", "-", "-", "-");
    }
  }
  return status;
}
