// Mixed-radix FFT of a complex sequence of any length whose prime factors do
// not exceed maxPrimeFactor: closed-form butterflies for the radices 2, 3, 4,
// 5, 8, 10 and 16, unrolled ones for 7, 11 and 13, a general butterfly for
// other small primes, and a chirp convolution for a length with a large
// prime factor.
#ifndef DESKTOP_DATA_FFT_H
#define DESKTOP_DATA_FFT_H

// The largest prime factor a length may have.
constexpr int maxPrimeFactor = 3001;

// Forward transform Y[k] = sum over j of X[j] * exp(-2 pi i j k / n), not
// scaled. Input and output are four arrays of n doubles; the input is only
// read, and may be the output arrays themselves. A length below 1 or with a
// prime factor above maxPrimeFactor is reported through errormessage and
// refused: false, and the output is left as it was.
bool mixed_radix_fft(int n, const double* xRe, const double* xIm, double* yRe, double* yIm);

// n times the inverse transform (not scaled), by conjugation around the
// forward transform. Refuses what mixed_radix_fft refuses.
bool inverse_mixed_radix_fft(int n, const double* xRe, const double* xIm, double* yRe, double* yIm);

#endif
