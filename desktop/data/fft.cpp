#include "desktop/data/fft.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

#include "desktop/data/fft_factors.h"
#include "desktop/winlib/messages/messages.h"

// The transform is self-sorting (Stockham): each pass reads one array and
// writes the other, so no digit-reversal permutation is needed. A pass of
// radix r over the current length L = r * m with stride s (the product of
// the radices before it) takes, for each p < m and each q < s, the r values
// x[q + s * (p + k * m)], transforms them, multiplies output j by
// w^(p * j) (w = exp(-2 pi i / L)) and writes it to y[q + s * (r * p + j)].
// The closed-form radices run on vectors of four lanes, whose inputs are
// contiguous: along p in the first pass (s = 1), along q where s is at
// least the lanes, else along the flattened index p * s + q. A radix that
// is a whole number of lanes, where the length has one, takes the first
// pass, so that every later pass runs along q.
// Twiddles and the trigonometric tables of the general radices are computed
// once per length, from cos and sin directly, and kept in a plan. A length
// with a prime factor above largest_direct_prime is transformed by
// Bluestein's chirp convolution over a longer length of factors 2, 3 and 5.

namespace {

// Above this prime a general butterfly (about p * p / 4 complex multiply-
// adds per p points) costs more than the chirp convolution.
constexpr int largest_direct_prime = 97;

const double pi = std::acos(-1.0);

// The transforms one vector holds side by side.
constexpr int lanes = 4;

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

// The smallest length at least n whose factors are 2, 3 and 5, and a whole
// number of lanes.
int64_t smooth_length(int64_t n) {
  for (int64_t m = (n + lanes - 1) / lanes * lanes;; m += lanes) {
    int64_t r = m;
    for (int f : {2, 3, 5}) {
      while (r % f == 0) r /= f;
    }
    if (r == 1) return m;
  }
}

constexpr bool is_fixed_radix(int r) {
  return r == 2 || r == 3 || r == 4 || r == 5 || r == 7 || r == 8 || r == 10 || r == 11 || r == 13 || r == 16;
}

// The radices of the powers of two 2^8 to 2^13 where fft_factors' are not
// the fastest: the last pass (no twiddles, its rows n / radix apart in
// input and output) runs best with few rows, and at 2^12 a first pass of
// 16 saves a pass.
std::vector<int> power_of_two_radices(int n) {
  switch (n) {
    case 1 << 8: return {8, 8, 4};
    case 1 << 10: return {8, 8, 4, 4};
    case 1 << 12: return {16, 8, 8, 4};
    case 1 << 13: return {8, 8, 8, 4, 4};
    default: return {};
  }
}

// The radices of n's passes: fft_factors(n), with a radix that is a whole
// number of lanes moved first, so that every later stride is one too; a
// first 4 beside a 10 runs faster as 8 beside a 5 (a wider first pass, the
// 5 last). Where no factor is one but n is a multiple of 4 (the 2s all
// went into 10s), the first radix is 8 or 4 and the rest is factored again.
std::vector<int> pass_order(int n) {
  std::vector<int> factors = power_of_two_radices(n);
  if (!factors.empty()) return factors;
  factors = fft_factors(n);
  const auto wide = std::find_if(factors.begin(), factors.end(), [](int r) { return r % lanes == 0; });
  if (wide != factors.end()) {
    std::rotate(factors.begin(), wide, wide + 1);
    const auto ten = std::find(factors.begin(), factors.end(), 10);
    if (factors.front() == 4 && ten != factors.end()) {
      factors.front() = 8;
      factors.erase(ten);
      factors.push_back(5);
    }
  } else if (n % lanes == 0) {
    const int first = n % 8 == 0 ? 8 : 4;
    factors = fft_factors(n / first);
    factors.insert(factors.begin(), first);
  }
  return factors;
}

void add_passes(plan& p, const std::vector<int>& factors) {
  int length = p.n;
  int stride = 1;
  for (int radix : factors) {
    const int groups = length / radix;
    pass ps{radix, stride, groups, p.twRe.size(), 0};
    // The first pass of a fixed radix takes its twiddles along p.
    const bool along_p = stride == 1 && is_fixed_radix(radix);
    p.twRe.resize(p.twRe.size() + static_cast<size_t>(groups) * (radix - 1));
    p.twIm.resize(p.twRe.size());
    for (int g = 0; g < groups; g++) {
      for (int j = 1; j < radix; j++) {
        // w^(g * j) over the current length, the product reduced exactly.
        const double angle = -2.0 * pi * static_cast<double>((static_cast<int64_t>(g) * j) % length) / length;
        const size_t at = ps.twiddle + (along_p ? static_cast<size_t>(j - 1) * groups + g
                                                : static_cast<size_t>(g) * (radix - 1) + j - 1);
        p.twRe[at] = std::cos(angle);
        p.twIm[at] = std::sin(angle);
      }
    }
    if (!is_fixed_radix(radix)) {
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
    if (n > 1) add_passes(*p, pass_order(n));
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

// Four doubles; in memory at any alignment (vec_at), within arrays of
// doubles.
typedef double vec __attribute__((vector_size(32)));
typedef double vec_at __attribute__((vector_size(32), aligned(8), may_alias));
typedef long long vec_index __attribute__((vector_size(32)));

// Each butterfly is written once for a value type T: double, or vec, four
// transforms side by side.
const double s3 = std::sqrt(3.0) / 2.0;
const double c5a = std::cos(2.0 * pi / 5.0), c5b = std::cos(4.0 * pi / 5.0);
const double s5a = std::sin(2.0 * pi / 5.0), s5b = std::sin(4.0 * pi / 5.0);
const double r2 = std::sqrt(0.5);
const double c16a = std::cos(pi / 8.0), s16a = std::sin(pi / 8.0);

// z times the constant wr + i wi, in place.
template <class T>
[[gnu::always_inline]] inline void rotate_by(T& zr, T& zi, double wr, double wi) {
  const T r = zr * wr - zi * wi;
  zi = zr * wi + zi * wr;
  zr = r;
}

template <class T>
[[gnu::always_inline]] inline void dft2(T* re, T* im) {
  const T r = re[0] - re[1], i = im[0] - im[1];
  re[0] += re[1];
  im[0] += im[1];
  re[1] = r;
  im[1] = i;
}

template <class T>
[[gnu::always_inline]] inline void dft3(T* re, T* im) {
  const T tr = re[1] + re[2], ti = im[1] + im[2];
  const T mr = re[0] - 0.5 * tr, mi = im[0] - 0.5 * ti;
  const T dr = s3 * (im[1] - im[2]), di = s3 * (re[2] - re[1]);
  re[0] += tr;
  im[0] += ti;
  re[1] = mr + dr;
  im[1] = mi + di;
  re[2] = mr - dr;
  im[2] = mi - di;
}

template <class T>
[[gnu::always_inline]] inline void dft4(T* re, T* im) {
  const T t0r = re[0] + re[2], t0i = im[0] + im[2];
  const T t1r = re[0] - re[2], t1i = im[0] - im[2];
  const T t2r = re[1] + re[3], t2i = im[1] + im[3];
  const T t3r = im[1] - im[3], t3i = re[3] - re[1];  // -i (x1 - x3)
  re[0] = t0r + t2r;
  im[0] = t0i + t2i;
  re[2] = t0r - t2r;
  im[2] = t0i - t2i;
  re[1] = t1r + t3r;
  im[1] = t1i + t3i;
  re[3] = t1r - t3r;
  im[3] = t1i - t3i;
}

template <class T>
[[gnu::always_inline]] inline void dft5(T* re, T* im) {
  const T ar = re[1] + re[4], ai = im[1] + im[4];
  const T br = re[2] + re[3], bi = im[2] + im[3];
  const T cr = re[1] - re[4], ci = im[1] - im[4];
  const T dr = re[2] - re[3], di = im[2] - im[3];
  const T x0r = re[0], x0i = im[0];
  const T p1r = x0r + c5a * ar + c5b * br, p1i = x0i + c5a * ai + c5b * bi;
  const T p2r = x0r + c5b * ar + c5a * br, p2i = x0i + c5b * ai + c5a * bi;
  // -i (sin u * c + sin 2u * d) and -i (sin 2u * c - sin u * d)
  const T q1r = s5a * ci + s5b * di, q1i = -(s5a * cr + s5b * dr);
  const T q2r = s5b * ci - s5a * di, q2i = -(s5b * cr - s5a * dr);
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

template <class T>
[[gnu::always_inline]] inline void dft8(T* re, T* im) {
  T er[4] = {re[0], re[2], re[4], re[6]}, ei[4] = {im[0], im[2], im[4], im[6]};
  T orr[4] = {re[1], re[3], re[5], re[7]}, oi[4] = {im[1], im[3], im[5], im[7]};
  dft4(er, ei);
  dft4(orr, oi);
  // Odd outputs times exp(-2 pi i j / 8).
  T t = r2 * (orr[1] + oi[1]);
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

// 16 = 4 x 4: for each i a 4-point transform of the inputs i + 4 l over l,
// its output k times exp(-2 pi i i k / 16); then for each k a 4-point
// transform over i, whose output j is output k + 4 j of the whole.
template <class T>
[[gnu::always_inline]] inline void dft16(T* re, T* im) {
  T ar[4][4], ai[4][4];
  for (int i = 0; i < 4; i++) {
    for (int l = 0; l < 4; l++) {
      ar[i][l] = re[i + 4 * l];
      ai[i][l] = im[i + 4 * l];
    }
    dft4(ar[i], ai[i]);
  }
  // exp(-2 pi i j / 16) for j = 1, 3 and 9; 2 and 6 through r2, 4 is -i.
  rotate_by(ar[1][1], ai[1][1], c16a, -s16a);
  rotate_by(ar[1][3], ai[1][3], s16a, -c16a);
  rotate_by(ar[3][1], ai[3][1], s16a, -c16a);
  rotate_by(ar[3][3], ai[3][3], -c16a, s16a);
  T t = r2 * (ar[1][2] + ai[1][2]);  // times (1 - i) / sqrt 2
  ai[1][2] = r2 * (ai[1][2] - ar[1][2]);
  ar[1][2] = t;
  t = r2 * (ar[2][1] + ai[2][1]);
  ai[2][1] = r2 * (ai[2][1] - ar[2][1]);
  ar[2][1] = t;
  t = ai[2][2];  // times -i
  ai[2][2] = -ar[2][2];
  ar[2][2] = t;
  t = r2 * (ai[2][3] - ar[2][3]);  // times (-1 - i) / sqrt 2
  ai[2][3] = -r2 * (ar[2][3] + ai[2][3]);
  ar[2][3] = t;
  t = r2 * (ai[3][2] - ar[3][2]);
  ai[3][2] = -r2 * (ar[3][2] + ai[3][2]);
  ar[3][2] = t;
  for (int k = 0; k < 4; k++) {
    T cr[4] = {ar[0][k], ar[1][k], ar[2][k], ar[3][k]}, ci[4] = {ai[0][k], ai[1][k], ai[2][k], ai[3][k]};
    dft4(cr, ci);
    for (int j = 0; j < 4; j++) {
      re[k + 4 * j] = cr[j];
      im[k + 4 * j] = ci[j];
    }
  }
}

// 10 = 2 * 5 with coprime factors (Good-Thomas): input 2 j + 5 i mod 10 is
// (i, j) of a 2 x 5 array, output (a, b) is 5 a + 6 b mod 10, and no
// twiddles are needed between the 2- and the 5-point transforms.
template <class T>
[[gnu::always_inline]] inline void dft10(T* re, T* im) {
  T sr[5], si[5], dr[5], di[5];
  for (int j = 0; j < 5; j++) {
    const int a = 2 * j, b = (2 * j + 5) % 10;
    sr[j] = re[a] + re[b];
    si[j] = im[a] + im[b];
    dr[j] = re[a] - re[b];
    di[j] = im[a] - im[b];
  }
  dft5(sr, si);
  dft5(dr, di);
  for (int k = 0; k < 5; k++) {
    re[6 * k % 10] = sr[k];
    im[6 * k % 10] = si[k];
    re[(5 + 6 * k) % 10] = dr[k];
    im[(5 + 6 * k) % 10] = di[k];
  }
}

// The cos and sin of 2 pi k / R for k < R, for the unrolled odd radices.
template <int R>
struct oddTrig {
  double c[R], s[R];
  oddTrig() {
    const double full = 2.0 * std::acos(-1.0);
    for (int k = 0; k < R; k++) {
      c[k] = std::cos(full * k / R);
      s[k] = std::sin(full * k / R);
    }
  }
};

template <int R>
const oddTrig<R> odd_trig;

// For one transform of an odd radix, the terms of outputs j and R - j
// side by side: the sums and differences of inputs t and R - t as
// {re sum, im sum, re difference, im difference}, times
// {cos, cos, sin, sin} of 2 pi j t / R, at (j - 1) * half + t - 1.
template <int R>
struct oddLanes {
  static constexpr int half = (R - 1) / 2;
  vec w[half * half];
  oddLanes() {
    const double full = 2.0 * std::acos(-1.0);
    for (int j = 1; j <= half; j++) {
      for (int t = 1; t <= half; t++) {
        const double c = std::cos(full * (j * t % R) / R), s = std::sin(full * (j * t % R) / R);
        w[(j - 1) * half + t - 1] = vec{c, c, s, s};
      }
    }
  }
};

template <int R>
const oddLanes<R> odd_lanes;

// dft_odd_unrolled for one transform: the four sums of each output pair
// run in the lanes of one vector, in the same order, so with the same
// result.
template <int R>
[[gnu::always_inline]] inline void dft_odd_single(double* re, double* im) {
  constexpr int half = (R - 1) / 2;
  const oddLanes<R>& w = odd_lanes<R>;
  vec v[half];
  vec sum = {re[0], im[0], 0.0, 0.0};
#pragma GCC unroll 16
  for (int t = 1; t <= half; t++) {
    const vec a = {re[t], im[t], re[t], im[t]};
    const vec b = {re[R - t], im[R - t], -re[R - t], -im[R - t]};
    v[t - 1] = a + b;
    sum += v[t - 1];
  }
  const vec x0 = {re[0], im[0], 0.0, 0.0};
#pragma GCC unroll 16
  for (int j = 1; j <= half; j++) {
    vec acc = x0;
#pragma GCC unroll 16
    for (int t = 1; t <= half; t++) acc += w.w[(j - 1) * half + t - 1] * v[t - 1];
    // Output j is a - i b, output R - j is a + i b.
    re[j] = acc[0] + acc[3];
    im[j] = acc[1] - acc[2];
    re[R - j] = acc[0] - acc[3];
    im[R - j] = acc[1] + acc[2];
  }
  re[0] = sum[0];
  im[0] = sum[1];
}

// An odd prime radix unrolled: outputs j and R - j from the sums and
// differences of inputs t and R - t, as dft_odd below computes them.
template <int R, class T>
[[gnu::always_inline]] inline void dft_odd_unrolled(T* re, T* im) {
  if constexpr (std::is_same_v<T, double>) {
    dft_odd_single<R>(re, im);
    return;
  }
  constexpr int half = (R - 1) / 2;
  const oddTrig<R>& w = odd_trig<R>;
  T vr[half + 1], vi[half + 1], ur[half + 1], ui[half + 1];
  T sumr = re[0], sumi = im[0];
#pragma GCC unroll 16
  for (int t = 1; t <= half; t++) {
    vr[t] = re[t] + re[R - t];
    vi[t] = im[t] + im[R - t];
    ur[t] = re[t] - re[R - t];
    ui[t] = im[t] - im[R - t];
    sumr += vr[t];
    sumi += vi[t];
  }
  const T x0r = re[0], x0i = im[0];
#pragma GCC unroll 16
  for (int j = 1; j <= half; j++) {
    T ar = x0r, ai = x0i, br{}, bi{};
#pragma GCC unroll 16
    for (int t = 1; t <= half; t++) {
      const int k = j * t % R;
      ar += w.c[k] * vr[t];
      ai += w.c[k] * vi[t];
      br += w.s[k] * ur[t];
      bi += w.s[k] * ui[t];
    }
    re[j] = ar + bi;
    im[j] = ai - br;
    re[R - j] = ar - bi;
    im[R - j] = ai + br;
  }
  re[0] = sumr;
  im[0] = sumi;
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

template <int R, class T>
[[gnu::always_inline]] inline void dft_fixed(T* re, T* im) {
  if constexpr (R == 2) dft2(re, im);
  if constexpr (R == 3) dft3(re, im);
  if constexpr (R == 4) dft4(re, im);
  if constexpr (R == 5) dft5(re, im);
  if constexpr (R == 7 || R == 11 || R == 13) dft_odd_unrolled<R>(re, im);
  if constexpr (R == 8) dft8(re, im);
  if constexpr (R == 10) dft10(re, im);
  if constexpr (R == 16) dft16(re, im);
}

// ---- passes of the fixed radices -------------------------------------------

[[gnu::always_inline]] inline void load(vec& v, const double* p) { v = *reinterpret_cast<const vec_at*>(p); }
[[gnu::always_inline]] inline void store(double* p, const vec& v) { *reinterpret_cast<vec_at*>(p) = v; }

// z times w, in place.
template <class T, class W>
[[gnu::always_inline]] inline void rotate(T& zr, T& zi, const W& wr, const W& wi) {
  const T r = zr * wr - zi * wi;
  zi = zr * wi + zi * wr;
  zr = r;
}

// Lanes i0 .. i3 of x and y side by side (4 to 7 are y's) into out. No
// vector passes by value: that would take the wider processor's calling
// convention in a function compiled for either.
template <int i0, int i1, int i2, int i3>
[[gnu::always_inline]] inline void shuffle(const vec& x, const vec& y, vec& out) {
#ifdef __clang__
  out = __builtin_shufflevector(x, y, i0, i1, i2, i3);
#else
  out = __builtin_shuffle(x, y, vec_index{i0, i1, i2, i3});
#endif
}

// Four vectors of four as the rows of a 4 x 4 block, transposed in place.
[[gnu::always_inline]] inline void transpose(vec& a, vec& b, vec& c, vec& d) {
  vec t0, t1, t2, t3;
  shuffle<0, 4, 2, 6>(a, b, t0);
  shuffle<1, 5, 3, 7>(a, b, t1);
  shuffle<0, 4, 2, 6>(c, d, t2);
  shuffle<1, 5, 3, 7>(c, d, t3);
  shuffle<0, 1, 4, 5>(t0, t2, a);
  shuffle<0, 1, 4, 5>(t1, t3, b);
  shuffle<2, 3, 6, 7>(t0, t2, c);
  shuffle<2, 3, 6, 7>(t1, t3, d);
}

// Writes R vectors, lane l of vector j to out[l * R + j].
template <int R>
[[gnu::always_inline]] inline void store_across(double* out, vec* z) {
  if constexpr (R % lanes == 0) {
    for (int j = 0; j < R; j += lanes) {
      transpose(z[j], z[j + 1], z[j + 2], z[j + 3]);
      for (int l = 0; l < lanes; l++) store(out + l * R + j, z[j + l]);
    }
  } else {
    for (int l = 0; l < lanes; l++) {
      for (int j = 0; j < R; j++) out[l * R + j] = z[j][l];
    }
  }
}

// The first pass (stride 1): the lanes run over p, the twiddles of each
// output j are stored along p, and each lane's outputs are contiguous. The
// last block starts lanes before the end where the groups are not a whole
// number of lanes (its shared groups are written twice, the same).
template <int R>
[[gnu::always_inline]] inline void run_pass_first(const pass& ps, const double* twr, const double* twi,
                                                  const double* __restrict xr, const double* __restrict xi,
                                                  double* __restrict yr, double* __restrict yi) {
  const int m = ps.groups;
  int g = 0;
  for (int start = 0; m >= lanes; start += lanes) {
    g = std::min(start, m - lanes);
    vec zr[R], zi[R];
    for (int k = 0; k < R; k++) {
      load(zr[k], xr + g + k * m);
      load(zi[k], xi + g + k * m);
    }
    dft_fixed<R>(zr, zi);
    for (int j = 1; j < R; j++) {
      vec wr, wi;
      load(wr, twr + (j - 1) * m + g);
      load(wi, twi + (j - 1) * m + g);
      rotate(zr[j], zi[j], wr, wi);
    }
    store_across<R>(yr + static_cast<size_t>(g) * R, zr);
    store_across<R>(yi + static_cast<size_t>(g) * R, zi);
    if (g + lanes == m) {
      g = m;
      break;
    }
  }
  for (; g < m; g++) {
    double zr[R], zi[R];
    for (int k = 0; k < R; k++) {
      zr[k] = xr[g + k * m];
      zi[k] = xi[g + k * m];
    }
    dft_fixed<R>(zr, zi);
    if (g > 0) {  // group 0's twiddles are all 1
      for (int j = 1; j < R; j++) rotate(zr[j], zi[j], twr[(j - 1) * m + g], twi[(j - 1) * m + g]);
    }
    for (int j = 0; j < R; j++) {
      yr[static_cast<size_t>(g) * R + j] = zr[j];
      yi[static_cast<size_t>(g) * R + j] = zi[j];
    }
  }
}

// B vectors side by side of a pass along q: from the rows at in, in_step
// apart, to the rows at out, s apart; twiddles w unless all are 1.
template <int R, int B>
[[gnu::always_inline]] inline void wide_block(const double* __restrict inr, const double* __restrict ini,
                                              size_t in_step, double* __restrict outr, double* __restrict outi,
                                              size_t s, const double* wr, const double* wi) {
  vec zr[B][R], zi[B][R];
  for (int k = 0; k < R; k++) {
    for (int b = 0; b < B; b++) {
      load(zr[b][k], inr + b * lanes + k * in_step);
      load(zi[b][k], ini + b * lanes + k * in_step);
    }
  }
  for (int b = 0; b < B; b++) {
    dft_fixed<R>(zr[b], zi[b]);
    if (wr) {
      for (int j = 1; j < R; j++) rotate(zr[b][j], zi[b][j], wr[j - 1], wi[j - 1]);
    }
  }
  for (int j = 0; j < R; j++) {
    for (int b = 0; b < B; b++) {
      store(outr + b * lanes + j * s, zr[b][j]);
      store(outi + b * lanes + j * s, zi[b][j]);
    }
  }
}

// Rows a multiple of this many doubles (4 KB) apart share their cache sets.
constexpr size_t rows_sharing_sets = 512;

// A pass whose stride is at least the lanes: the lanes run over q, the
// inputs and outputs of a block are contiguous, and the twiddles are the
// same across the lanes (group 0's are all 1 and left out). Where the
// stride is not a whole number of lanes, the last block of a group starts
// lanes before its end and does again what the one before it did for the
// values they share (input and output never overlap, so both write the
// same). Where the output rows share their cache sets, a block takes two
// vectors of each row, a whole cache line, so that no line is evicted half
// written.
template <int R>
[[gnu::always_inline]] inline void run_pass_wide(const pass& ps, const double* twr, const double* twi,
                                                 const double* xr, const double* xi, double* yr, double* yi) {
  const size_t s = static_cast<size_t>(ps.stride), m = static_cast<size_t>(ps.groups);
  for (size_t g = 0; g < m; g++) {
    const double* wr = g > 0 ? twr + g * (R - 1) : nullptr;
    const double* wi = twi + g * (R - 1);
    const double* inr = xr + g * s;
    const double* ini = xi + g * s;
    double* outr = yr + g * R * s;
    double* outi = yi + g * R * s;
    size_t q = 0;
    if (s % rows_sharing_sets == 0) {
      for (; q + 2 * lanes <= s; q += 2 * lanes) {
        wide_block<R, 2>(inr + q, ini + q, m * s, outr + q, outi + q, s, wr, wi);
      }
    }
    for (; q + lanes <= s; q += lanes) wide_block<R, 1>(inr + q, ini + q, m * s, outr + q, outi + q, s, wr, wi);
    if (q < s) {
      q = s - lanes;
      wide_block<R, 1>(inr + q, ini + q, m * s, outr + q, outi + q, s, wr, wi);
    }
  }
}

// Any other stride: the lanes run over the flattened index t = p * s + q,
// along which the inputs are contiguous; each lane takes its own twiddles
// and writes its own outputs.
template <int R>
[[gnu::always_inline]] inline void run_pass_short(const pass& ps, const double* twr, const double* twi,
                                                  const double* __restrict xr, const double* __restrict xi,
                                                  double* __restrict yr, double* __restrict yi) {
  const int s = ps.stride;
  const int count = ps.groups * s;  // the input rows' length
  int t = 0;
  for (; t + lanes <= count; t += lanes) {
    vec zr[R], zi[R];
    for (int k = 0; k < R; k++) {
      load(zr[k], xr + t + k * count);
      load(zi[k], xi + t + k * count);
    }
    // Each lane's group and offset, stepped without dividing.
    size_t gs[lanes], qs[lanes];
    for (int l = 0, g = t / s, q = t % s; l < lanes; l++) {
      gs[l] = static_cast<size_t>(g);
      qs[l] = static_cast<size_t>(q);
      if (++q == s) {
        q = 0;
        g++;
      }
    }
    dft_fixed<R>(zr, zi);
    for (int j = 1; j < R; j++) {
      const size_t at = static_cast<size_t>(j - 1);
      const vec wr = {twr[gs[0] * (R - 1) + at], twr[gs[1] * (R - 1) + at], twr[gs[2] * (R - 1) + at],
                      twr[gs[3] * (R - 1) + at]};
      const vec wi = {twi[gs[0] * (R - 1) + at], twi[gs[1] * (R - 1) + at], twi[gs[2] * (R - 1) + at],
                      twi[gs[3] * (R - 1) + at]};
      rotate(zr[j], zi[j], wr, wi);
    }
    for (int l = 0; l < lanes; l++) {
      double* outr = yr + gs[l] * R * s + qs[l];
      double* outi = yi + gs[l] * R * s + qs[l];
      for (int j = 0; j < R; j++) {
        outr[j * s] = zr[j][l];
        outi[j * s] = zi[j][l];
      }
    }
  }
  for (; t < count; t++) {
    const size_t g = static_cast<size_t>(t / s), q = static_cast<size_t>(t % s);
    double zr[R], zi[R];
    for (int k = 0; k < R; k++) {
      zr[k] = xr[t + k * count];
      zi[k] = xi[t + k * count];
    }
    dft_fixed<R>(zr, zi);
    for (int j = 1; j < R; j++) rotate(zr[j], zi[j], twr[g * (R - 1) + j - 1], twi[g * (R - 1) + j - 1]);
    for (int j = 0; j < R; j++) {
      yr[g * R * s + q + j * s] = zr[j];
      yi[g * R * s + q + j * s] = zi[j];
    }
  }
}

// From this stride on, a pass runs along q even where the stride is not a
// whole number of lanes: the repeated part of a block costs less than
// gathering each lane's twiddles and scattering its outputs.
constexpr int wide_from_stride = lanes;

template <int R>
[[gnu::always_inline]] inline void run_pass_fixed(const pass& ps, const plan& p, const double* xr, const double* xi,
                                                  double* yr, double* yi) {
  const double* twr = p.twRe.data() + ps.twiddle;
  const double* twi = p.twIm.data() + ps.twiddle;
  if (ps.stride == 1) {
    run_pass_first<R>(ps, twr, twi, xr, xi, yr, yi);
  } else if (ps.stride % lanes == 0 || ps.stride >= wide_from_stride) {
    run_pass_wide<R>(ps, twr, twi, xr, xi, yr, yi);
  } else {
    run_pass_short<R>(ps, twr, twi, xr, xi, yr, yi);
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
    case 7: run_fixed<7>(ps, p, xr, xi, yr, yi); break;
    case 8: run_fixed<8>(ps, p, xr, xi, yr, yi); break;
    case 10: run_fixed<10>(ps, p, xr, xi, yr, yi); break;
    case 11: run_fixed<11>(ps, p, xr, xi, yr, yi); break;
    case 13: run_fixed<13>(ps, p, xr, xi, yr, yi); break;
    case 16: run_fixed<16>(ps, p, xr, xi, yr, yi); break;
    default: run_pass_odd(ps, p, xr, xi, yr, yi); break;
  }
}

// ---- short lengths --------------------------------------------------------

// Up to this length a length whose factors are fixed radices runs as one
// unrolled function of its own: its values stay in registers and local
// arrays, its twiddles are kept from the program's start, and no plan is
// looked up. Above it the passes of a plan run faster. Up to
// largest_scalar a length that is not split on vectors (by_lanes) runs on
// scalars.
constexpr int largest_short = 64;
constexpr int largest_scalar = 18;

// The largest fixed radix dividing n: the first of the two transforms a
// short length is split into.
constexpr int short_first(int n) {
  for (int r : {16, 13, 11, 10, 8, 7, 5, 4, 3, 2}) {
    if (n % r == 0) return r;
  }
  return 0;
}

// A product of fixed radices.
constexpr bool is_split_length(int n) {
  while (n > 1 && short_first(n) > 0) n /= short_first(n);
  return n == 1;
}

// The values transformed side by side where n is split on vectors (4, 3
// or 2; the other factor a product of fixed radices, 3 or more), else 0.
// Below 12 the vectors are too little filled.
constexpr int by_lanes(int n) {
  for (int b : {4, 3, 2}) {
    if (n >= 12 && n % b == 0 && n / b >= 3 && is_split_length(n / b)) return b;
  }
  return 0;
}

constexpr bool is_short_length(int n) { return by_lanes(n) > 0 || (n <= largest_scalar && is_split_length(n)); }

// w^(k * j) over n for the transform of n = a * b split as below, at
// k * b + j (k < a, j < b).
template <int N>
struct short_twiddles {
  static constexpr int A = short_first(N), B = N / A;
  double re[N], im[N];
  short_twiddles() {
    const double pi = std::acos(-1.0);  // not the file's: this may be made first
    for (int k = 0; k < A; k++) {
      for (int j = 0; j < B; j++) {
        const double angle = -2.0 * pi * static_cast<double>(k * j % N) / N;
        re[k * B + j] = std::cos(angle);
        im[k * B + j] = std::sin(angle);
      }
    }
  }
};

template <int N>
const short_twiddles<N> short_twiddle_table;

// The transform of N values in place: a fixed radix directly; else
// N = A * B, input B * j1 + j2, an A-point transform over j1 for each j2,
// its output k1 times w^(k1 * j2), then a B-point transform over j2 for
// each k1, whose output k2 is output k1 + A * k2 of the whole.
template <int N, class T>
[[gnu::always_inline]] inline void dft_short(T* re, T* im) {
  if constexpr (is_fixed_radix(N)) {
    dft_fixed<N>(re, im);
  } else {
    constexpr int A = short_first(N), B = N / A;
    const short_twiddles<N>& w = short_twiddle_table<N>;
    T tr[N], ti[N];
#pragma GCC unroll 16
    for (int j2 = 0; j2 < B; j2++) {
      T zr[A], zi[A];
#pragma GCC unroll 16
      for (int j1 = 0; j1 < A; j1++) {
        zr[j1] = re[B * j1 + j2];
        zi[j1] = im[B * j1 + j2];
      }
      dft_short<A>(zr, zi);
      tr[j2] = zr[0];
      ti[j2] = zi[0];
#pragma GCC unroll 16
      for (int k1 = 1; k1 < A; k1++) {
        const int at = k1 * B + j2;
        tr[at] = zr[k1] * w.re[at] - zi[k1] * w.im[at];
        ti[at] = zr[k1] * w.im[at] + zi[k1] * w.re[at];
      }
    }
#pragma GCC unroll 16
    for (int k1 = 0; k1 < A; k1++) {
      dft_short<B>(tr + k1 * B, ti + k1 * B);
#pragma GCC unroll 16
      for (int k2 = 0; k2 < B; k2++) {
        re[k1 + A * k2] = tr[k1 * B + k2];
        im[k1 + A * k2] = ti[k1 * B + k2];
      }
    }
  }
}

// w^(k * j) over B * A for k < A, lane j < B (1 in the lanes beyond), for
// run_short_by_lanes.
template <int B, int A>
struct by_lanes_twiddles {
  vec re[A], im[A];
  by_lanes_twiddles() {
    const double pi = std::acos(-1.0);  // not the file's: this may be made first
    for (int k = 0; k < A; k++) {
      for (int j = 0; j < lanes; j++) {
        const double angle = j < B ? -2.0 * pi * static_cast<double>(k * j % (B * A)) / (B * A) : 0.0;
        re[k][j] = std::cos(angle);
        im[k][j] = std::sin(angle);
      }
    }
  }
};

template <int B, int A>
const by_lanes_twiddles<B, A> by_lanes_twiddle_table;

// The transform of B * A values (B is 2, 3 or 4) as dft_short splits it the
// other way round (A by B) and on vectors: the lanes run over the input's
// position j2 within each B, the A-point transforms of the B side by
// side; then blocks of four of their outputs k1, transposed, run the
// B-point transforms side by side over k1, whose outputs k2 are
// contiguous at k1 + A * k2. The input is all read before the output is
// written, so they may be the same arrays.
template <int B, int A>
[[gnu::always_inline]] inline void run_short_by_lanes(const double* xr, const double* xi, double* yr, double* yi) {
  const by_lanes_twiddles<B, A>& w = by_lanes_twiddle_table<B, A>;
  vec zr[A], zi[A];
#pragma GCC unroll 16
  for (int j1 = 0; j1 < A; j1++) {
    if constexpr (B == lanes) {
      load(zr[j1], xr + B * j1);
      load(zi[j1], xi + B * j1);
    } else {
      zr[j1] = vec{};
      zi[j1] = vec{};
      for (int l = 0; l < B; l++) {
        zr[j1][l] = xr[B * j1 + l];
        zi[j1][l] = xi[B * j1 + l];
      }
    }
  }
  dft_short<A>(zr, zi);
#pragma GCC unroll 16
  for (int k1 = 1; k1 < A; k1++) rotate(zr[k1], zi[k1], w.re[k1], w.im[k1]);
#pragma GCC unroll 8
  for (int b = 0; b < A; b += lanes) {
    vec cr[lanes] = {}, ci[lanes] = {};
    for (int l = 0; l < lanes; l++) {
      if (b + l < A) {
        cr[l] = zr[b + l];
        ci[l] = zi[b + l];
      }
    }
    transpose(cr[0], cr[1], cr[2], cr[3]);
    transpose(ci[0], ci[1], ci[2], ci[3]);
    dft_fixed<B>(cr, ci);
    for (int k2 = 0; k2 < B; k2++) {
      if (b + lanes <= A) {
        store(yr + A * k2 + b, cr[k2]);
        store(yi + A * k2 + b, ci[k2]);
      } else {
        for (int l = 0; l < lanes; l++) {
          if (b + l < A) {
            yr[A * k2 + b + l] = cr[k2][l];
            yi[A * k2 + b + l] = ci[k2][l];
          }
        }
      }
    }
  }
}

// The whole transform of a short length; the input is read before the
// output is written, so they may be the same arrays.
template <int N>
[[gnu::always_inline]] inline void run_short(const double* xr, const double* xi, double* yr, double* yi) {
  if constexpr (by_lanes(N) > 0) {
    run_short_by_lanes<by_lanes(N), N / by_lanes(N)>(xr, xi, yr, yi);
    return;
  }
  double zr[N], zi[N];
#pragma GCC unroll 64
  for (int k = 0; k < N; k++) {
    zr[k] = xr[k];
    zi[k] = xi[k];
  }
  dft_short<N>(zr, zi);
#pragma GCC unroll 64
  for (int k = 0; k < N; k++) {
    yr[k] = zr[k];
    yi[k] = zi[k];
  }
}

template <int N>
void run_short_baseline(const double* xr, const double* xi, double* yr, double* yi) {
  run_short<N>(xr, xi, yr, yi);
}

template <int N>
[[gnu::target("avx2")]] void run_short_wide(const double* xr, const double* xi, double* yr, double* yi) {
  run_short<N>(xr, xi, yr, yi);
}

using short_transform = void (*)(const double*, const double*, double*, double*);

// The short transforms by length (null where a length is not one), for
// this processor.
struct short_transforms {
  short_transform by_length[largest_short + 1] = {};
  short_transforms() {
    __builtin_cpu_init();  // this may run before the processor is looked at
    const bool wide = __builtin_cpu_supports("avx2");
    add(wide, std::make_integer_sequence<int, largest_short + 1>{});
  }
  template <int... N>
  void add(bool wide, std::integer_sequence<int, N...>) {
    ((by_length[N] = N >= 2 && is_short_length(N) ? (wide ? pick_wide<N>() : pick_baseline<N>()) : nullptr), ...);
  }
  template <int N>
  static short_transform pick_wide() {
    if constexpr (N >= 2 && is_short_length(N)) return run_short_wide<N>;
    return nullptr;
  }
  template <int N>
  static short_transform pick_baseline() {
    if constexpr (N >= 2 && is_short_length(N)) return run_short_baseline<N>;
    return nullptr;
  }
};

const short_transforms short_table;

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

// A start among the first rows_sharing_sets doubles from base in the middle
// of the widest gap, within 4 KB, between the arrays taken.
double* apart(double* base, std::initializer_list<const double*> taken) {
  constexpr size_t span = rows_sharing_sets;
  const auto offset = [](const double* p) { return reinterpret_cast<uintptr_t>(p) / sizeof(double) % span; };
  size_t from = 0, gap = 0;
  for (const double* a : taken) {
    size_t next = span;  // from a to the next array round the 4 KB
    for (const double* b : taken) {
      const size_t d = (offset(b) + span - offset(a)) % span;
      if (d > 0 && d < next) next = d;
    }
    if (next > gap) {
      gap = next;
      from = offset(a);
    }
  }
  return base + (from + gap / 2 + span - offset(base)) % span;
}

// The passes of a direct plan from x (not aliasing y) into y, through work.
void run_direct(const plan& p, const double* xr, const double* xi, double* yr, double* yi, work_arrays& work) {
  const int n = p.n;
  const size_t count = p.passes.size();
  if (count == 0) {
    std::copy(xr, xr + n, yr);
    std::copy(xi, xi + n, yi);
    return;
  }
  if (count == 1) {
    run_pass(p.passes[0], p, xr, xi, yr, yi);
    return;
  }
  // Rows a multiple of 4 KB apart share their cache sets, and a pass with
  // such rows in all its four arrays overfills them: the work arrays start
  // where they share none with x and y. A shorter length has no such rows,
  // and its transform costs little more than the search.
  const size_t span = rows_sharing_sets;
  double* wr = work.reserve_re(n + span);
  double* wi = work.reserve_im(n + span);
  if (static_cast<size_t>(n) > span) {
    wr = apart(wr, {xr, xi, yr, yi});
    wi = apart(wi, {xr, xi, yr, yi, wr});
  }
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
// The plan this thread used last: a caller transforms one length many times
// over, and a short transform costs less than finding its plan again.
thread_local std::shared_ptr<const plan> last_plan;

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
  if (n <= largest_short) {
    if (const short_transform run = short_table.by_length[n]) {
      run(xRe, xIm, yRe, yIm);
      return true;
    }
  }
  if (!last_plan || last_plan->n != n) {
    const std::vector<int> factors = fft_factors(n);
    const int largest = *std::max_element(factors.begin(), factors.end());
    if (largest > maxPrimeFactor) {
      errormessage("Prime factor of FFT length too large : %6d", largest);
      return false;
    }
    last_plan = make_plan(n);
  }
  const plan* p = last_plan.get();
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
