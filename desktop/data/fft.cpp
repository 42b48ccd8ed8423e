#include "fft.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "fft_factors.h"
#include "messages.h"

namespace {

// Butterfly constants as the transform has always stored them.
constexpr double c3_1 = -1.5;               // cos(2 pi / 3) - 1
constexpr double c3_2 = 0.86602540378444;   // sin(2 pi / 3)
constexpr double c5_1 = -1.25;              // (cos u + cos 2u) / 2 - 1, u = 2 pi / 5
constexpr double c5_2 = 0.55901699437495;   // (cos u - cos 2u) / 2
constexpr double c5_3 = -0.95105651629515;  // -sin u
constexpr double c5_4 = -1.5388417685876;   // -(sin u + sin 2u)
constexpr double c5_5 = 0.36327126400268;   // sin u - sin 2u
constexpr double c8_1 = 0.70710678118655;   // 1 / sqrt(2)

// Working arrays of one transform, sized by its largest factor: the
// trigonometric table of the current radix, the butterfly buffer, the
// twiddles of the current offset and the general butterfly's sums and
// differences.
struct fft_work {
  explicit fft_work(int largest)
      : trigRe(largest + 1), trigIm(largest + 1), zRe(largest), zIm(largest), twRe(largest), twIm(largest),
        vRe((largest + 1) / 2), vIm((largest + 1) / 2), wRe((largest + 1) / 2), wIm((largest + 1) / 2) {}
  std::vector<double> trigRe, trigIm, zRe, zIm, twRe, twIm, vRe, vIm, wRe, wIm;
};

void fill_trig_table(int radix, double pi, fft_work& w) {
  const double angle = 2.0 * pi / radix;
  w.trigRe[0] = 1.0;
  w.trigIm[0] = 0.0;
  const double c = std::cos(angle);
  const double s = -std::sin(angle);
  w.trigRe[1] = c;
  w.trigIm[1] = s;
  for (int i = 2; i < radix; i++) {
    w.trigRe[i] = c * w.trigRe[i - 1] - s * w.trigIm[i - 1];
    w.trigIm[i] = s * w.trigRe[i - 1] + c * w.trigIm[i - 1];
  }
}

void butterfly_2(double* re, double* im) {
  const double r = re[0] - re[1], i = im[0] - im[1];
  re[0] += re[1];
  im[0] += im[1];
  re[1] = r;
  im[1] = i;
}

void butterfly_3(double* re, double* im) {
  const double t1r = re[1] + re[2], t1i = im[1] + im[2];
  re[0] += t1r;
  im[0] += t1i;
  const double m1r = c3_1 * t1r, m1i = c3_1 * t1i;
  const double m2r = c3_2 * (im[1] - im[2]), m2i = c3_2 * (re[2] - re[1]);
  const double s1r = re[0] + m1r, s1i = im[0] + m1i;
  re[1] = s1r + m2r;
  im[1] = s1i + m2i;
  re[2] = s1r - m2r;
  im[2] = s1i - m2i;
}

// On four elements spaced step apart.
void butterfly_4(double* re, double* im, int step) {
  double* r0 = re;
  double* r1 = re + step;
  double* r2 = re + 2 * step;
  double* r3 = re + 3 * step;
  double* i0 = im;
  double* i1 = im + step;
  double* i2 = im + 2 * step;
  double* i3 = im + 3 * step;
  const double t1r = *r0 + *r2, t1i = *i0 + *i2;
  const double t2r = *r1 + *r3, t2i = *i1 + *i3;
  const double m2r = *r0 - *r2, m2i = *i0 - *i2;
  const double m3r = *i1 - *i3, m3i = *r3 - *r1;
  *r0 = t1r + t2r;
  *i0 = t1i + t2i;
  *r2 = t1r - t2r;
  *i2 = t1i - t2i;
  *r1 = m2r + m3r;
  *i1 = m2i + m3i;
  *r3 = m2r - m3r;
  *i3 = m2i - m3i;
}

// On five elements at the given positions.
void butterfly_5(double* re, double* im, const int* at) {
  double& z0r = re[at[0]];
  double& z0i = im[at[0]];
  double& z1r = re[at[1]];
  double& z1i = im[at[1]];
  double& z2r = re[at[2]];
  double& z2i = im[at[2]];
  double& z3r = re[at[3]];
  double& z3i = im[at[3]];
  double& z4r = re[at[4]];
  double& z4i = im[at[4]];
  const double t1r = z1r + z4r, t1i = z1i + z4i;
  const double t2r = z2r + z3r, t2i = z2i + z3i;
  const double t3r = z1r - z4r, t3i = z1i - z4i;
  const double t4r = z3r - z2r, t4i = z3i - z2i;
  const double t5r = t1r + t2r, t5i = t1i + t2i;
  z0r += t5r;
  z0i += t5i;
  const double m1r = c5_1 * t5r, m1i = c5_1 * t5i;
  const double m2r = c5_2 * (t1r - t2r), m2i = c5_2 * (t1i - t2i);
  const double m3r = -c5_3 * (t3i + t4i), m3i = c5_3 * (t3r + t4r);
  const double m4r = -c5_4 * t4i, m4i = c5_4 * t4r;
  const double m5r = -c5_5 * t3i, m5i = c5_5 * t3r;
  const double s3r = m3r - m4r, s3i = m3i - m4i;
  const double s5r = m3r + m5r, s5i = m3i + m5i;
  const double s1r = z0r + m1r, s1i = z0i + m1i;
  const double s2r = s1r + m2r, s2i = s1i + m2i;
  const double s4r = s1r - m2r, s4i = s1i - m2i;
  z1r = s2r + s3r;
  z1i = s2i + s3i;
  z2r = s4r + s5r;
  z2i = s4i + s5i;
  z3r = s4r - s5r;
  z3i = s4i - s5i;
  z4r = s2r - s3r;
  z4i = s2i - s3i;
}

void butterfly_8(double* re, double* im) {
  double ar[4], ai[4], br[4], bi[4];
  for (int k = 0; k < 4; k++) {
    ar[k] = re[2 * k];
    ai[k] = im[2 * k];
    br[k] = re[2 * k + 1];
    bi[k] = im[2 * k + 1];
  }
  butterfly_4(ar, ai, 1);
  butterfly_4(br, bi, 1);
  double t = c8_1 * (br[1] + bi[1]);
  bi[1] = c8_1 * (bi[1] - br[1]);
  br[1] = t;
  t = bi[2];
  bi[2] = -br[2];
  br[2] = t;
  t = c8_1 * (bi[3] - br[3]);
  bi[3] = -c8_1 * (br[3] + bi[3]);
  br[3] = t;
  for (int k = 0; k < 4; k++) {
    re[k] = ar[k] + br[k];
    im[k] = ai[k] + bi[k];
    re[k + 4] = ar[k] - br[k];
    im[k + 4] = ai[k] - bi[k];
  }
}

void butterfly_10(double* re, double* im) {
  static const int even[5] = {0, 2, 4, 6, 8};
  static const int odd[5] = {5, 7, 9, 1, 3};
  double ar[5], ai[5], br[5], bi[5];
  for (int k = 0; k < 5; k++) {
    ar[k] = re[even[k]];
    ai[k] = im[even[k]];
    br[k] = re[odd[k]];
    bi[k] = im[odd[k]];
  }
  static const int in_order[5] = {0, 1, 2, 3, 4};
  butterfly_5(ar, ai, in_order);
  butterfly_5(br, bi, in_order);
  // Sums and differences land where the prime-factor map puts them.
  static const int sum_at[5] = {0, 6, 2, 8, 4};
  static const int difference_at[5] = {5, 1, 7, 3, 9};
  for (int k = 0; k < 5; k++) {
    re[sum_at[k]] = ar[k] + br[k];
    im[sum_at[k]] = ai[k] + bi[k];
    re[difference_at[k]] = ar[k] - br[k];
    im[difference_at[k]] = ai[k] - bi[k];
  }
}

// Any odd radix, through the trigonometric table of that radix.
void butterfly_odd(int radix, fft_work& w) {
  double* re = w.zRe.data();
  double* im = w.zIm.data();
  const double* trigRe = w.trigRe.data();
  const double* trigIm = w.trigIm.data();
  double* vRe = w.vRe.data();
  double* vIm = w.vIm.data();
  double* wRe = w.wRe.data();
  double* wIm = w.wIm.data();
  const int half = (radix + 1) / 2;
  for (int j = 1; j < half; j++) {
    vRe[j] = re[j] + re[radix - j];
    vIm[j] = im[j] - im[radix - j];
    wRe[j] = re[j] - re[radix - j];
    wIm[j] = im[j] + im[radix - j];
  }
  for (int j = 1; j < half; j++) {
    double lowRe = re[0], lowIm = im[0];    // z[j]
    double highRe = re[0], highIm = im[0];  // z[radix - j]
    int k = j;
    for (int i = 1; i < half; i++) {
      const double rere = trigRe[k] * vRe[i];
      const double imim = trigIm[k] * vIm[i];
      const double reim = trigRe[k] * wIm[i];
      const double imre = trigIm[k] * wRe[i];
      highRe += rere + imim;
      highIm += reim - imre;
      lowRe += rere - imim;
      lowIm += reim + imre;
      k += j;
      if (k >= radix) k -= radix;
    }
    re[j] = lowRe;
    im[j] = lowIm;
    re[radix - j] = highRe;
    im[radix - j] = highIm;
  }
  for (int j = 1; j < half; j++) {
    re[0] += vRe[j];
    im[0] += wIm[j];
  }
}

void butterfly(int radix, fft_work& w) {
  double* re = w.zRe.data();
  double* im = w.zIm.data();
  static const int five[5] = {0, 1, 2, 3, 4};
  switch (radix) {
    case 2: butterfly_2(re, im); break;
    case 3: butterfly_3(re, im); break;
    case 4: butterfly_4(re, im, 1); break;
    case 5: butterfly_5(re, im, five); break;
    case 8: butterfly_8(re, im); break;
    case 10: butterfly_10(re, im); break;
    default: butterfly_odd(radix, w); break;
  }
}

// One pass: groups of radix elements spaced stride apart, twiddled by their
// offset and run through the butterfly, for every offset and group.
void fft_pass(int stride, int radix, int groups, double pi, double* yRe, double* yIm, fft_work& w) {
  fill_trig_table(radix, pi, w);
  const double omega = 2.0 * pi / (static_cast<double>(stride) * radix);
  const double cosw = std::cos(omega);
  const double sinw = -std::sin(omega);
  double twr = 1.0, twi = 0.0;
  for (int d = 0; d < stride; d++) {
    if (stride > 1) {
      w.twRe[0] = 1.0;
      w.twIm[0] = 0.0;
      w.twRe[1] = twr;
      w.twIm[1] = twi;
      for (int b = 2; b < radix; b++) {
        w.twRe[b] = twr * w.twRe[b - 1] - twi * w.twIm[b - 1];
        w.twIm[b] = twr * w.twIm[b - 1] + twi * w.twRe[b - 1];
      }
      const double t = cosw * twr - sinw * twi;
      twi = cosw * twi + sinw * twr;
      twr = t;
    }
    const bool twiddle = stride > 1 && d > 0;
    for (int g = 0; g < groups; g++) {
      const int base = d + g * stride * radix;
      w.zRe[0] = yRe[base];
      w.zIm[0] = yIm[base];
      for (int b = 1; b < radix; b++) {
        const double xr = yRe[base + b * stride];
        const double xi = yIm[base + b * stride];
        if (twiddle) {
          w.zRe[b] = w.twRe[b] * xr - w.twIm[b] * xi;
          w.zIm[b] = w.twRe[b] * xi + w.twIm[b] * xr;
        } else {
          w.zRe[b] = xr;
          w.zIm[b] = xi;
        }
      }
      butterfly(radix, w);
      for (int b = 0; b < radix; b++) {
        yRe[base + b * stride] = w.zRe[b];
        yIm[base + b * stride] = w.zIm[b];
      }
    }
  }
}

// Digit reversal over the mixed radices: input k goes to output i.
void permute(int n, const std::vector<int>& f, const std::vector<int>& r, const double* xRe, const double* xIm,
             double* yRe, double* yIm) {
  const int count = static_cast<int>(f.size()) - 1;
  std::vector<int> counter(f.size() + 1, 0);
  int k = 0;
  for (int i = 0; i < n - 1; i++) {
    yRe[i] = xRe[k];
    yIm[i] = xIm[k];
    k += r[1];
    counter[1]++;
    for (int j = 1; j <= count && counter[j] >= f[j]; j++) {
      counter[j] = 0;
      k += r[j + 1] - r[j - 1];
      counter[j + 1]++;
    }
  }
  yRe[n - 1] = xRe[n - 1];
  yIm[n - 1] = xIm[n - 1];
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
  const double pi = 4.0 * std::atan(1.0);
  // Tables used from index 1: factor f[i], stride s[i] (product of the
  // factors before i) and remainder r[i] (n over the factors up to i).
  const int count = static_cast<int>(factors.size());
  std::vector<int> f(count + 2, 1), s(count + 2, 1), r(count + 2, 1);
  r[0] = n;
  for (int i = 1; i <= count; i++) {
    f[i] = factors[i - 1];
    s[i] = i == 1 ? 1 : s[i - 1] * f[i - 1];
    r[i] = r[i - 1] / f[i];
  }
  // An input that is also the output is read from a copy.
  std::vector<double> copy;
  if (xRe == yRe || xRe == yIm || xIm == yRe || xIm == yIm) {
    copy.assign(xRe, xRe + n);
    copy.insert(copy.end(), xIm, xIm + n);
    xRe = copy.data();
    xIm = copy.data() + n;
  }
  permute(n, f, r, xRe, xIm, yRe, yIm);
  if (n == 1) return true;
  fft_work work(largest);
  for (int i = 1; i <= count; i++) fft_pass(s[i], f[i], r[i], pi, yRe, yIm, work);
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
