#include "desktop/data/tests/golden_filters.h"

#include <cstddef>

#include "desktop/data/tests/golden/filters.inc"

const std::vector<golden_lowpass_kernel> golden_lowpass_kernels = {GOLDEN_LOWPASS_KERNELS_ROWS};
const std::vector<golden_band_kernel> golden_band_kernels = {GOLDEN_BAND_KERNELS_ROWS};
const std::vector<golden_convolution> golden_convolutions = {GOLDEN_CONVOLUTIONS_ROWS};
const std::vector<golden_fir_trace> golden_fir_traces = {GOLDEN_FIR_TRACES_ROWS};
const std::vector<golden_notch> golden_notches = {GOLDEN_NOTCHES_ROWS};
const std::vector<golden_spike> golden_spikes = {GOLDEN_SPIKES_ROWS};
const std::vector<golden_fft_notch> golden_fft_notches = {GOLDEN_FFT_NOTCHES_ROWS};

namespace {

const double values[] = {GOLDEN_FILTER_VALUES};

}  // namespace

std::vector<double> golden_values(int offset, int count) {
  const size_t size = sizeof values / sizeof values[0];
  if (offset < 0 || count < 0 || static_cast<size_t>(offset) + count > size) return {};
  return std::vector<double>(values + offset, values + offset + count);
}
