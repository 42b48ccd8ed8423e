// How the FFT splits a length into the radices of its passes.
#ifndef DESKTOP_DATA_FFT_FACTORS_H
#define DESKTOP_DATA_FFT_FACTORS_H

#include <vector>

// The factors of n in the order the passes take them: the radices 10, 8, 5,
// 4, 3 and 2 are taken greedily in that order (a trailing 8 * 2 becomes
// 4 * 4), what remains is split into primes by trial division, and the list
// is reversed, so the largest prime comes first. 1 gives the single factor
// 1; below 1 gives no factors.
std::vector<int> fft_factors(int n);

#endif
