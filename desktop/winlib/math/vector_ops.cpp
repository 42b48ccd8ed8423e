#include <cstdio>

#include "desktop/winlib/containers/bounded_vector.h"
#include "desktop/winlib/containers/byte_object.h"

namespace {

// Extreme of the touched elements: larger picks the maximum.
double extreme(const vector<double>& v, bool larger) {
  int touched = v.highest() - v.lower() + 1;
  if (touched < 1 || !v.data()) return 0.0;
  const double* d = v.data();
  double best = d[0];
  for (int i = 1; i < touched && i < v.capacity(); i++) {
    if (larger ? d[i] > best : d[i] < best) best = d[i];
  }
  return best;
}

}  // namespace

double vector_max(const vector<double>& v) { return extreme(v, true); }

double vector_min(const vector<double>& v) { return extreme(v, false); }

double vdot(const vector<double>& a, const vector<double>& b) {
  if (a.capacity() != b.capacity()) {
    errormessage("*** vdot DIMENSIONS NOT EQUAL %d/%d ***", a.capacity(), b.capacity());
    return 0.0;
  }
  double sum = 0.0;
  for (int i = 0; i < a.capacity(); i++) sum += a.data()[i] * b.data()[i];
  return sum;
}

void vadd(const vector<double>& a, const vector<double>& b, vector<double>& c) {
  if (a.capacity() != b.capacity() || a.capacity() != c.capacity()) {
    errormessage("*** vadd DIMENSIONS NOT EQUAL %d/%d->%d***", a.capacity(), b.capacity(), c.capacity());
    return;
  }
  for (int i = 0; i < a.capacity(); i++) c.data()[i] = a.data()[i] + b.data()[i];
}

void print_vector(byteObjectClass& buffer, const vector<double>& v, bool clear_first) {
  if (clear_first) buffer.set("");
  char number[64];
  for (int i = 0; i < v.capacity(); i++) {
    snprintf(number, sizeof number, "%9.2E ", v.data()[i]);
    buffer.append(number);
  }
}
