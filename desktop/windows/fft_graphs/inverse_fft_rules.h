// The masked inverse of a spectrum: the bins of a band between two limits
// (band-pass when the upper limit is at or above the lower one, band-reject
// otherwise) transformed back to a trace at the source's mean level, and the
// texts and band display of the inverse-transform window. Portable.
#ifndef DESKTOP_WINDOWS_FFT_GRAPHS_INVERSE_FFT_RULES_H
#define DESKTOP_WINDOWS_FFT_GRAPHS_INVERSE_FFT_RULES_H

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/windows/fft_graphs/fft_rules.h"
#include "desktop/data/trace_data.h"

// The values of the masked inverse for limits lo and hi in bins (each held
// to 0 .. N / 2). The limit bins themselves pass at half weight (not their
// mirrors); the result is moved to the source's mean and its two end points
// repeat their neighbours. Empty when the transform refuses.
std::vector<double> masked_inverse(const spectrumData& spectrum, int32_t lo, int32_t hi);

// The points (i * 1000 / fs - preflash_ms, value i).
std::vector<xyPair> inverse_points(const std::vector<double>& values, double fs, double preflash_ms);

// The band text beside the trackbars and the bands marked on the spectrum
// for limits lo and hi in bins at df Hz per bin.
std::string inverse_band_text(int32_t lo, int32_t hi, double df);
bandDisplay inverse_band_display(int32_t lo, int32_t hi, double df);

// The trackbars' labels: "Min Freq = %5.1lf   " and "Max Freq = %5.1lf   ".
std::string inverse_limit_label(bool upper, int32_t bin, double df);

// The name of the shown trace in the trace clipboard, "(IFFT %lg..%lg)".
std::string inverse_clipboard_name(int32_t lo, int32_t hi, double df);

#endif
