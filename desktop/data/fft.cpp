#include "fft.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "fft_factors.h"
#include "messages.h"

// The transform is self-sorting (Stockham): each pass reads one array and
// writes the other, so no digit-reversal permutation is needed. A pass of
// radix r over the current length L = r * m with stride s (the product of
// the radices before it) takes, for each p < m and each q < s, the r values
// x[q + s * (p + k * m)], transforms them, multiplies output j by
// w^(p * j) (w = exp(-2 pi i / L)) and writes it to y[q + s * (r * p + j)].
// The closed-form radices run in blocks of lanes along q, or along the
// flattened index p * s + q when s is no whole number of lanes; the inputs
// of a block are contiguous and the arithmetic of its lanes vectorises.
// Twiddles and the trigonometric tables of the general radices are computed
// once per length, from cos and sin directly, and kept in a plan. A length
// with a prime factor above largest_direct_prime is transformed by
// Bluestein's chirp convolution over a longer length of factors 2, 3 and 5.

namespace {

// Above this prime a general butterfly (about p * p / 4 complex multiply-
// adds per p points) costs more than the chirp convolution.
constexpr int largest_direct_prime = 97;

const double pi = std::acos(-1.0);

struct pass {
  int radix;
  int stride;    // s: the product of the radices before this pass
  int groups;    // m: the current length over the radix
  size_t twiddle;  // offset of this pass's (radix - 1) * groups twiddles
  size_t trig;     // offset of the radix's cos and sin table (general radices)
};

struct plan {
  int n = 0;
  std::vector<pass> passes;
  std::vector<double> twRe, twIm;      // per pass: for p, for j = 1 .. radix - 1
  std::vector<double> trigCos, trigSin;  // per general radix r: cos, sin of 2 pi k / r
  // Bluestein: the chirp exp(-i pi j^2 / n), the transform of its conjugate
  // spread over the convolution length, and that length's plan.
  std::vector<double> chirpRe, chirpIm, kernelRe, kernelIm;
  std::shared_ptr<const plan> inner;
};

std::shared_ptr<const plan> make_plan(int n);

// The smallest length at least n whose factors are 2, 3 and 5.
int64_t smooth_length(int64_t n) {
  for (int64_t m = n;; m++) {
    int64_t r = m;
    for (int f : {2, 3, 5}) {
      while (r % f == 0) r /= f;
    }
    if (r == 1) return m;
  }
}

void add_passes(plan& p, const std::vector<int>& factors) {
  int length = p.n;
  int stride = 1;
  for (int radix : factors) {
    const int groups = length / radix;
    pass ps{radix, stride, groups, p.twRe.size(), 0};
    for (int g = 0; g < groups; g++) {
      for (int j = 1; j < radix; j++) {
        // w^(g * j) over the current length, the product reduced exactly.
        const double angle = -2.0 * pi * static_cast<double>((static_cast<int64_t>(g) * j) % length) / length;
        p.twRe.push_back(std::cos(angle));
        p.twIm.push_back(std::sin(angle));
      }
    }
    if (radix != 2 && radix != 3 && radix != 4 && radix != 5 && radix != 8 && radix != 10) {
      ps.trig = p.trigCos.size();
      for (int k = 0; k < radix; k++) {
        const double angle = 2.0 * pi * k / radix;
        p.trigCos.push_back(std::cos(angle));
        p.trigSin.push_back(std::sin(angle));
      }
    }
    p.passes.push_back(ps);
    stride *= radix;
    length = groups;
  }
}

std::shared_ptr<const plan> build_plan(int n) {
  auto p = std::make_shared<plan>();
  p->n = n;
  const std::vector<int> factors = fft_factors(n);
  const int largest = *std::max_element(factors.begin(), factors.end());
  // A convolution length beyond the int lengths takes the general butterfly.
  const int64_t m = largest > largest_direct_prime ? smooth_length(2 * static_cast<int64_t>(n) - 1) : 0;
  if (largest <= largest_direct_prime || m > std::numeric_limits<int>::max()) {
    if (n > 1) add_passes(*p, factors);
    return p;
  }
  const int size = static_cast<int>(m);
  p->inner = make_plan(size);
  p->chirpRe.resize(n);
  p->chirpIm.resize(n);
  const int64_t period = 2 * static_cast<int64_t>(n);
  for (int j = 0; j < n; j++) {
    const double angle = -pi * static_cast<double>((static_cast<int64_t>(j) * j) % period) / n;
    p->chirpRe[j] = std::cos(angle);
    p->chirpIm[j] = std::sin(angle);
  }
  std::vector<double> bRe(size, 0.0), bIm(size, 0.0);
  for (int j = 0; j < n; j++) {
    bRe[j] = p->chirpRe[j];
    bIm[j] = -p->chirpIm[j];
    if (j > 0) {
      bRe[size - j] = bRe[j];
      bIm[size - j] = bIm[j];
    }
  }
  p->kernelRe.resize(size);
  p->kernelIm.resize(size);
  mixed_radix_fft(size, bRe.data(), bIm.data(), p->kernelRe.data(), p->kernelIm.data());
  return p;
}

// The plans of the last few lengths, shared by all threads.
std::shared_ptr<const plan> make_plan(int n) {
  static std::mutex lock;
  static std::vector<std::shared_ptr<const plan>> kept;
  constexpr size_t keep = 6;
  {
    std::lock_guard<std::mutex> guard(lock);
    for (size_t i = 0; i < kept.size(); i++) {
      if (kept[i]->n == n) {
        std::shared_ptr<const plan> found = kept[i];
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
        kept.push_back(found);
        return found;
      }
    }
  }
  std::shared_ptr<const plan> made = build_plan(n);
  std::lock_guard<std::mutex> guard(lock);
  if (kept.size() >= keep) kept.erase(kept.begin());
  kept.push_back(made);
  return made;
}

// ---- butterflies on r values in registers ----------------------------------

const double s3 = std::sqrt(3.0) / 2.0;
const double c5a = std::cos(2.0 * pi / 5.0), c5b = std::cos(4.0 * pi / 5.0);
const double s5a = std::sin(2.0 * pi / 5.0), s5b = std::sin(4.0 * pi / 5.0);
const double r2 = std::sqrt(0.5);
const double w10r[5] = {1.0, std::cos(pi / 5.0), std::cos(2.0 * pi / 5.0), std::cos(3.0 * pi / 5.0),
                        std::cos(4.0 * pi / 5.0)};
const double w10i[5] = {0.0, -std::sin(pi / 5.0), -std::sin(2.0 * pi / 5.0), -std::sin(3.0 * pi / 5.0),
                        -std::sin(4.0 * pi / 5.0)};

[[gnu::always_inline]] inline void dft2(double* re, double* im) {
  const double r = re[0] - re[1], i = im[0] - im[1];
  re[0] += re[1];
  im[0] += im[1];
  re[1] = r;
  im[1] = i;
}

[[gnu::always_inline]] inline void dft3(double* re, double* im) {
  const double tr = re[1] + re[2], ti = im[1] + im[2];
  const double mr = re[0] - 0.5 * tr, mi = im[0] - 0.5 * ti;
  const double dr = s3 * (im[1] - im[2]), di = s3 * (re[2] - re[1]);
  re[0] += tr;
  im[0] += ti;
  re[1] = mr + dr;
  im[1] = mi + di;
  re[2] = mr - dr;
  im[2] = mi - di;
}

[[gnu::always_inline]] inline void dft4(double* re, double* im) {
  const double t0r = re[0] + re[2], t0i = im[0] + im[2];
  const double t1r = re[0] - re[2], t1i = im[0] - im[2];
  const double t2r = re[1] + re[3], t2i = im[1] + im[3];
  const double t3r = im[1] - im[3], t3i = re[3] - re[1];  // -i (x1 - x3)
  re[0] = t0r + t2r;
  im[0] = t0i + t2i;
  re[2] = t0r - t2r;
  im[2] = t0i - t2i;
  re[1] = t1r + t3r;
  im[1] = t1i + t3i;
  re[3] = t1r - t3r;
  im[3] = t1i - t3i;
}

[[gnu::always_inline]] inline void dft5(double* re, double* im) {
  const double ar = re[1] + re[4], ai = im[1] + im[4];
  const double br = re[2] + re[3], bi = im[2] + im[3];
  const double cr = re[1] - re[4], ci = im[1] - im[4];
  const double dr = re[2] - re[3], di = im[2] - im[3];
  const double x0r = re[0], x0i = im[0];
  const double p1r = x0r + c5a * ar + c5b * br, p1i = x0i + c5a * ai + c5b * bi;
  const double p2r = x0r + c5b * ar + c5a * br, p2i = x0i + c5b * ai + c5a * bi;
  // -i (sin u * c + sin 2u * d) and -i (sin 2u * c - sin u * d)
  const double q1r = s5a * ci + s5b * di, q1i = -(s5a * cr + s5b * dr);
  const double q2r = s5b * ci - s5a * di, q2i = -(s5b * cr - s5a * dr);
  re[0] = x0r + ar + br;
  im[0] = x0i + ai + bi;
  re[1] = p1r + q1r;
  im[1] = p1i + q1i;
  re[4] = p1r - q1r;
  im[4] = p1i - q1i;
  re[2] = p2r + q2r;
  im[2] = p2i + q2i;
  re[3] = p2r - q2r;
  im[3] = p2i - q2i;
}

[[gnu::always_inline]] inline void dft8(double* re, double* im) {
  double er[4] = {re[0], re[2], re[4], re[6]}, ei[4] = {im[0], im[2], im[4], im[6]};
  double orr[4] = {re[1], re[3], re[5], re[7]}, oi[4] = {im[1], im[3], im[5], im[7]};
  dft4(er, ei);
  dft4(orr, oi);
  // Odd outputs times exp(-2 pi i j / 8).
  double t = r2 * (orr[1] + oi[1]);
  oi[1] = r2 * (oi[1] - orr[1]);
  orr[1] = t;
  t = oi[2];
  oi[2] = -orr[2];
  orr[2] = t;
  t = r2 * (oi[3] - orr[3]);
  oi[3] = -r2 * (orr[3] + oi[3]);
  orr[3] = t;
  for (int k = 0; k < 4; k++) {
    re[k] = er[k] + orr[k];
    im[k] = ei[k] + oi[k];
    re[k + 4] = er[k] - orr[k];
    im[k + 4] = ei[k] - oi[k];
  }
}

[[gnu::always_inline]] inline void dft10(double* re, double* im) {
  double er[5], ei[5], orr[5], oi[5];
  for (int k = 0; k < 5; k++) {
    er[k] = re[2 * k];
    ei[k] = im[2 * k];
    orr[k] = re[2 * k + 1];
    oi[k] = im[2 * k + 1];
  }
  dft5(er, ei);
  dft5(orr, oi);
  // Odd outputs times exp(-2 pi i j / 10), j = 0 .. 4.
  const double* wr = w10r;
  const double* wi = w10i;
  for (int k = 0; k < 5; k++) {
    const double tr = orr[k] * wr[k] - oi[k] * wi[k];
    const double ti = orr[k] * wi[k] + oi[k] * wr[k];
    re[k] = er[k] + tr;
    im[k] = ei[k] + ti;
    re[k + 5] = er[k] - tr;
    im[k + 5] = ei[k] - ti;
  }
}

// Any odd radix through its cos and sin table,
// pairing outputs j and r - j.
// The sums and differences go to work, room for 4 * (r / 2 + 1) values.
void dft_odd(int r, const double* cosk, const double* sink, double* re, double* im, double* work) {
  double* vr = work;
  double* vi = work + r / 2 + 1;
  double* ur = work + 2 * (r / 2 + 1);
  double* ui = work + 3 * (r / 2 + 1);
  const int half = (r + 1) / 2;
  double sumr = re[0], sumi = im[0];
  for (int j = 1; j < half; j++) {
    vr[j] = re[j] + re[r - j];
    vi[j] = im[j] + im[r - j];
    ur[j] = re[j] - re[r - j];
    ui[j] = im[j] - im[r - j];
    sumr += vr[j];
    sumi += vi[j];
  }
  const double x0r = re[0], x0i = im[0];
  for (int j = 1; j < half; j++) {
    double ar = x0r, ai = x0i, br = 0.0, bi = 0.0;
    int k = j;
    for (int t = 1; t < half; t++) {
      ar += cosk[k] * vr[t];
      ai += cosk[k] * vi[t];
      br += sink[k] * ur[t];
      bi += sink[k] * ui[t];
      k += j;
      if (k >= r) k -= r;
    }
    // Output j is a - i b, output r - j is a + i b.
    re[j] = ar + bi;
    im[j] = ai - br;
    re[r - j] = ar - bi;
    im[r - j] = ai + br;
  }
  re[0] = sumr;
  im[0] = sumi;
}

template <int R>
[[gnu::always_inline]] inline void dft_fixed(double* re, double* im) {
  if constexpr (R == 2) dft2(re, im);
  if constexpr (R == 3) dft3(re, im);
  if constexpr (R == 4) dft4(re, im);
  if constexpr (R == 5) dft5(re, im);
  if constexpr (R == 8) dft8(re, im);
  if constexpr (R == 10) dft10(re, im);
}

constexpr int lanes = 8;

// A pass whose stride is no whole number of lanes: the lanes run over the
// flattened index t = g * s + q, along which the inputs are contiguous.
template <int R>
[[gnu::always_inline]] inline void run_pass_short(const pass& ps, const double* twr, const double* twi, const double* __restrict xr,
                    const double* __restrict xi, double* __restrict yr, double* __restrict yi) {
  const int s = ps.stride;
  const int count = ps.groups * s;  // the input rows' length
  int t = 0;
  for (; t + lanes <= count; t += lanes) {
    double zr[R][lanes], zi[R][lanes], wr[R][lanes], wi[R][lanes];
    for (int k = 0; k < R; k++) {
      for (int l = 0; l < lanes; l++) {
        zr[k][l] = xr[t + l + k * count];
        zi[k][l] = xi[t + l + k * count];
      }
    }
    // Each lane's group and offset, stepped without dividing.
    int gs[lanes], qs[lanes];
    for (int l = 0, g = t / s, q = t % s; l < lanes; l++) {
      gs[l] = g;
      qs[l] = q;
      if (++q == s) {
        q = 0;
        g++;
      }
    }
    for (int l = 0; l < lanes; l++) {
      const size_t g = static_cast<size_t>(gs[l]);
      for (int j = 1; j < R; j++) {
        wr[j][l] = twr[g * (R - 1) + j - 1];
        wi[j][l] = twi[g * (R - 1) + j - 1];
      }
    }
    for (int l = 0; l < lanes; l++) {
      double ar[R], ai[R];
      for (int k = 0; k < R; k++) {
        ar[k] = zr[k][l];
        ai[k] = zi[k][l];
      }
      dft_fixed<R>(ar, ai);
      zr[0][l] = ar[0];
      zi[0][l] = ai[0];
      for (int j = 1; j < R; j++) {
        zr[j][l] = ar[j] * wr[j][l] - ai[j] * wi[j][l];
        zi[j][l] = ar[j] * wi[j][l] + ai[j] * wr[j][l];
      }
    }
    for (int l = 0; l < lanes; l++) {
      double* outr = yr + static_cast<size_t>(gs[l]) * R * s + qs[l];
      double* outi = yi + static_cast<size_t>(gs[l]) * R * s + qs[l];
      for (int j = 0; j < R; j++) {
        outr[j * s] = zr[j][l];
        outi[j * s] = zi[j][l];
      }
    }
  }
  for (; t < count; t++) {
    const int g = t / s, q = t % s;
    double zr[R], zi[R];
    for (int k = 0; k < R; k++) {
      zr[k] = xr[t + k * count];
      zi[k] = xi[t + k * count];
    }
    dft_fixed<R>(zr, zi);
    double* outr = yr + static_cast<size_t>(g) * R * s + q;
    double* outi = yi + static_cast<size_t>(g) * R * s + q;
    outr[0] = zr[0];
    outi[0] = zi[0];
    for (int j = 1; j < R; j++) {
      const double w_r = twr[static_cast<size_t>(g) * (R - 1) + j - 1];
      const double w_i = twi[static_cast<size_t>(g) * (R - 1) + j - 1];
      outr[j * s] = zr[j] * w_r - zi[j] * w_i;
      outi[j * s] = zr[j] * w_i + zi[j] * w_r;
    }
  }
}

template <int R>
[[gnu::always_inline]] inline void run_pass_fixed(const pass& ps, const plan& p, const double* __restrict xr, const double* __restrict xi,
                    double* __restrict yr, double* __restrict yi) {
  const int s = ps.stride, m = ps.groups;
  const double* twr = p.twRe.data() + ps.twiddle;
  const double* twi = p.twIm.data() + ps.twiddle;
  if (s % lanes != 0) {
    run_pass_short<R>(ps, twr, twi, xr, xi, yr, yi);
    return;
  }
  for (int g = 0; g < m; g++) {
    const double* wr = twr + static_cast<size_t>(g) * (R - 1);
    const double* wi = twi + static_cast<size_t>(g) * (R - 1);
    const double* __restrict inr = xr + static_cast<size_t>(g) * s;
    const double* __restrict ini = xi + static_cast<size_t>(g) * s;
    double* __restrict outr = yr + static_cast<size_t>(g) * R * s;
    double* __restrict outi = yi + static_cast<size_t>(g) * R * s;
    const size_t in_step = static_cast<size_t>(m) * s;
    int q = 0;
    // Blocks of lanes: each input and output row is read or written in one
    // burst, so rows a power of two apart do not evict each other.
    for (; q + lanes <= s; q += lanes) {
      double zr[R][lanes], zi[R][lanes];
      for (int k = 0; k < R; k++) {
        for (int l = 0; l < lanes; l++) {
          zr[k][l] = inr[q + l + k * in_step];
          zi[k][l] = ini[q + l + k * in_step];
        }
      }
      for (int l = 0; l < lanes; l++) {
        double ar[R], ai[R];
        for (int k = 0; k < R; k++) {
          ar[k] = zr[k][l];
          ai[k] = zi[k][l];
        }
        dft_fixed<R>(ar, ai);
        zr[0][l] = ar[0];
        zi[0][l] = ai[0];
        for (int j = 1; j < R; j++) {
          zr[j][l] = ar[j] * wr[j - 1] - ai[j] * wi[j - 1];
          zi[j][l] = ar[j] * wi[j - 1] + ai[j] * wr[j - 1];
        }
      }
      for (int j = 0; j < R; j++) {
        for (int l = 0; l < lanes; l++) {
          outr[q + l + j * s] = zr[j][l];
          outi[q + l + j * s] = zi[j][l];
        }
      }
    }
    for (; q < s; q++) {
      double zr[R], zi[R];
      for (int k = 0; k < R; k++) {
        zr[k] = inr[q + k * in_step];
        zi[k] = ini[q + k * in_step];
      }
      dft_fixed<R>(zr, zi);
      outr[q] = zr[0];
      outi[q] = zi[0];
      for (int j = 1; j < R; j++) {
        outr[q + j * s] = zr[j] * wr[j - 1] - zi[j] * wi[j - 1];
        outi[q + j * s] = zr[j] * wi[j - 1] + zi[j] * wr[j - 1];
      }
    }
  }
}

void run_pass_odd(const pass& ps, const plan& p, const double* xr, const double* xi, double* yr, double* yi) {
  const int r = ps.radix, s = ps.stride, m = ps.groups;
  const double* cosk = p.trigCos.data() + ps.trig;
  const double* sink = p.trigSin.data() + ps.trig;
  std::vector<double> work(2 * static_cast<size_t>(r) + 4 * static_cast<size_t>(r / 2 + 1));
  double* zr = work.data();
  double* zi = zr + r;
  double* sums = zi + r;
  const size_t in_step = static_cast<size_t>(m) * s;
  for (int g = 0; g < m; g++) {
    const double* wr = p.twRe.data() + ps.twiddle + static_cast<size_t>(g) * (r - 1);
    const double* wi = p.twIm.data() + ps.twiddle + static_cast<size_t>(g) * (r - 1);
    for (int q = 0; q < s; q++) {
      const size_t in = static_cast<size_t>(g) * s + q;
      for (int k = 0; k < r; k++) {
        zr[k] = xr[in + k * in_step];
        zi[k] = xi[in + k * in_step];
      }
      dft_odd(r, cosk, sink, zr, zi, sums);
      const size_t out = static_cast<size_t>(g) * r * s + q;
      yr[out] = zr[0];
      yi[out] = zi[0];
      for (int j = 1; j < r; j++) {
        yr[out + j * s] = zr[j] * wr[j - 1] - zi[j] * wi[j - 1];
        yi[out + j * s] = zr[j] * wi[j - 1] + zi[j] * wr[j - 1];
      }
    }
  }
}

// The passes of the fixed radices compiled twice: for the baseline
// processor and, chosen at run time where the processor has them, for its
// 256-bit vectors. Both do the same operations in the same order, so the
// results are the same.
template <int R>
void run_fixed_baseline(const pass& ps, const plan& p, const double* xr, const double* xi, double* yr, double* yi) {
  run_pass_fixed<R>(ps, p, xr, xi, yr, yi);
}

template <int R>
[[gnu::target("avx2")]] void run_fixed_wide(const pass& ps, const plan& p, const double* xr, const double* xi,
                                            double* yr, double* yi) {
  run_pass_fixed<R>(ps, p, xr, xi, yr, yi);
}

template <int R>
void run_fixed(const pass& ps, const plan& p, const double* xr, const double* xi, double* yr, double* yi) {
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide) {
    run_fixed_wide<R>(ps, p, xr, xi, yr, yi);
  } else {
    run_fixed_baseline<R>(ps, p, xr, xi, yr, yi);
  }
}

void run_pass(const pass& ps, const plan& p, const double* xr, const double* xi, double* yr, double* yi) {
  switch (ps.radix) {
    case 2: run_fixed<2>(ps, p, xr, xi, yr, yi); break;
    case 3: run_fixed<3>(ps, p, xr, xi, yr, yi); break;
    case 4: run_fixed<4>(ps, p, xr, xi, yr, yi); break;
    case 5: run_fixed<5>(ps, p, xr, xi, yr, yi); break;
    case 8: run_fixed<8>(ps, p, xr, xi, yr, yi); break;
    case 10: run_fixed<10>(ps, p, xr, xi, yr, yi); break;
    default: run_pass_odd(ps, p, xr, xi, yr, yi); break;
  }
}

// The work arrays of one thread, grown as needed and kept.
struct work_arrays {
  std::vector<double> re, im;
  double* reserve_re(size_t n) {
    if (re.size() < n) re.resize(n);
    return re.data();
  }
  double* reserve_im(size_t n) {
    if (im.size() < n) im.resize(n);
    return im.data();
  }
};

// The passes of a direct plan from x (not aliasing y) into y, through work.
void run_direct(const plan& p, const double* xr, const double* xi, double* yr, double* yi, work_arrays& work) {
  const int n = p.n;
  const size_t count = p.passes.size();
  if (count == 0) {
    std::copy(xr, xr + n, yr);
    std::copy(xi, xi + n, yi);
    return;
  }
  double* wr = work.reserve_re(n);
  double* wi = work.reserve_im(n);
  // The last pass writes y: passes alternate between work and y backwards.
  const double* inr = xr;
  const double* ini = xi;
  for (size_t i = 0; i < count; i++) {
    const bool into_y = (count - 1 - i) % 2 == 0;
    double* outr = into_y ? yr : wr;
    double* outi = into_y ? yi : wi;
    run_pass(p.passes[i], p, inr, ini, outr, outi);
    inr = outr;
    ini = outi;
  }
}

thread_local work_arrays pass_work;
thread_local work_arrays chirp_work;
thread_local work_arrays input_copy;

void run_bluestein(const plan& p, const double* xr, const double* xi, double* yr, double* yi) {
  const plan& inner = *p.inner;
  const int n = p.n, m = inner.n;
  double* ar = chirp_work.reserve_re(2 * static_cast<size_t>(m));
  double* ai = chirp_work.reserve_im(2 * static_cast<size_t>(m));
  double* br = ar + m;
  double* bi = ai + m;
  for (int j = 0; j < n; j++) {
    ar[j] = xr[j] * p.chirpRe[j] - xi[j] * p.chirpIm[j];
    ai[j] = xr[j] * p.chirpIm[j] + xi[j] * p.chirpRe[j];
  }
  std::fill(ar + n, ar + m, 0.0);
  std::fill(ai + n, ai + m, 0.0);
  run_direct(inner, ar, ai, br, bi, pass_work);
  // The product, conjugated, so that a forward transform gives the inverse
  // conjugated and scaled by m.
  for (int k = 0; k < m; k++) {
    const double r = br[k] * p.kernelRe[k] - bi[k] * p.kernelIm[k];
    const double i = br[k] * p.kernelIm[k] + bi[k] * p.kernelRe[k];
    br[k] = r;
    bi[k] = -i;
  }
  run_direct(inner, br, bi, ar, ai, pass_work);
  const double scale = 1.0 / m;
  for (int k = 0; k < n; k++) {
    const double cr = ar[k] * scale, ci = -ai[k] * scale;
    yr[k] = cr * p.chirpRe[k] - ci * p.chirpIm[k];
    yi[k] = cr * p.chirpIm[k] + ci * p.chirpRe[k];
  }
}

}  // namespace

bool mixed_radix_fft(int n, const double* xRe, const double* xIm, double* yRe, double* yIm) {
  if (n < 1) {
    errormessage("*** FFT LENGTH %d IS NOT POSITIVE ***", n);
    return false;
  }
  const std::vector<int> factors = fft_factors(n);
  const int largest = *std::max_element(factors.begin(), factors.end());
  if (largest > maxPrimeFactor) {
    errormessage("Prime factor of FFT length too large : %6d", largest);
    return false;
  }
  const std::shared_ptr<const plan> p = make_plan(n);
  // An input that is also the output is read from a copy.
  if (xRe == yRe || xRe == yIm || xIm == yRe || xIm == yIm) {
    double* cr = input_copy.reserve_re(n);
    double* ci = input_copy.reserve_im(n);
    std::copy(xRe, xRe + n, cr);
    std::copy(xIm, xIm + n, ci);
    xRe = cr;
    xIm = ci;
  }
  if (p->inner) {
    run_bluestein(*p, xRe, xIm, yRe, yIm);
  } else {
    run_direct(*p, xRe, xIm, yRe, yIm, pass_work);
  }
  return true;
}

bool inverse_mixed_radix_fft(int n, const double* xRe, const double* xIm, double* yRe, double* yIm) {
  if (n < 1) return mixed_radix_fft(n, xRe, xIm, yRe, yIm);
  std::vector<double> conjugate(xIm, xIm + n);
  for (double& v : conjugate) v = -v;
  if (!mixed_radix_fft(n, xRe, conjugate.data(), yRe, yIm)) return false;
  for (int i = 0; i < n; i++) yIm[i] = -yIm[i];
  return true;
}
