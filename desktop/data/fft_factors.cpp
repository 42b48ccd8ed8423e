#include "desktop/data/fft_factors.h"

#include <algorithm>
#include <cmath>

std::vector<int> fft_factors(int n) {
  std::vector<int> factors;
  if (n < 1) return factors;
  if (n == 1) return {1};
  static const int radices[] = {10, 8, 5, 4, 3, 2};
  for (int radix : radices) {
    while (n > 1 && n % radix == 0) {
      factors.push_back(radix);
      n /= radix;
    }
  }
  // 8 * 2 runs better as 4 * 4.
  if (!factors.empty() && factors.back() == 2) {
    for (int i = static_cast<int>(factors.size()) - 2; i >= 0; i--) {
      if (factors[i] == 8) {
        factors[i] = 4;
        factors.back() = 4;
        break;
      }
    }
  }
  if (n > 1) {
    for (int k = 2; k < std::sqrt(static_cast<double>(n)) + 1; k++) {
      while (n % k == 0) {
        factors.push_back(k);
        n /= k;
      }
    }
    if (n > 1) factors.push_back(n);
  }
  std::reverse(factors.begin(), factors.end());
  return factors;
}
