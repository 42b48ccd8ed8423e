// Deterministic test inputs, the same in the tests and in the script that
// writes the golden data (tools/make_fft_filter_golden.py): an integer hash
// of (seed, index) turned into a multiple of 1/65536 in [-0.5, 0.5), so both
// sides start from exactly the same doubles.
#ifndef DESKTOP_DATA_TESTS_TEST_SIGNAL_H
#define DESKTOP_DATA_TESTS_TEST_SIGNAL_H

#include <cstdint>
#include <vector>

inline double test_value(uint32_t seed, uint32_t j) {
  uint32_t h = j * 0x9E3779B1u + seed * 0x85EBCA77u;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return (h & 0xFFFFu) / 65536.0 - 0.5;
}

inline std::vector<double> test_values(uint32_t seed, int n) {
  std::vector<double> v(static_cast<size_t>(n));
  for (int j = 0; j < n; j++) v[j] = test_value(seed, static_cast<uint32_t>(j));
  return v;
}

#endif
