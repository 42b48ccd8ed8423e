// Helpers over traces held as arrays of 32-bit integers: extremes, local
// slope, and the mean peak and trough levels of a periodic trace.
#ifndef DESKTOP_WINLIB_MATH_TRACE_LEVELS_H
#define DESKTOP_WINLIB_MATH_TRACE_LEVELS_H

#include <cstdint>

// Index of the first largest value; -1 for an empty trace.
double trace_argmax(const int32_t* values, int n);
// Largest and smallest value; 0 for an empty trace.
int32_t trace_max(const int32_t* values, int n);
int32_t trace_min(const int32_t* values, int n);
// Slope of the least-squares line through (k, values[k]), k = 0 .. n - 1.
double local_slope(const int32_t* values, int n);

// Walks a periodic trace, finding each trough (between the lower third and
// the middle, falling) and each peak (between the middle and the upper
// third, rising) with a 20-point local slope; a run that the trace ends in
// is not counted. Gives the first peak's value and index (0 at -1 when
// there is none) and the mean peak and trough values (0 without any). True
// when at least one peak and one trough were found.
bool periodic_levels(const int32_t* values, int n, double* first_peak, int* first_peak_pos, double* mean_peak,
                     double* mean_trough);

#endif
