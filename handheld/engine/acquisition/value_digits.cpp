#include "handheld/engine/acquisition/value_digits.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

const int kExponentField = 4;

int& field_value(valueDigits& digits, int field) {
  return field == kExponentField ? digits.exponent : digits.digit[field < 0 ? 0 : field > 3 ? 3 : field];
}

}  // namespace

valueDigits value_to_digits(double value) {
  valueDigits d = {{0, 0, 0, 0}, 0};
  if (value == 0.0 || !isfinite(value)) return d;
  int e = static_cast<int>(floor(log10(fabs(value))));
  // The mantissa's digits, the decimal point skipped; a mantissa that rounds
  // up to 10 moves to the next exponent.
  char text[32];
  snprintf(text, sizeof text, "%.3f", fabs(value) / pow(10.0, e));
  if (text[1] != '.') {
    ++e;
    snprintf(text, sizeof text, "%.3f", fabs(value) / pow(10.0, e));
  }
  d.digit[0] = text[0] & 0x0F;
  for (int k = 1; k < 4; ++k) d.digit[k] = text[k + 1] & 0x0F;
  if (value < 0.0) d.digit[0] = -d.digit[0];
  d.exponent = e;
  return d;
}

double digits_to_value(const valueDigits& digits, double* step) {
  const int d1 = digits.digit[0];
  const double sign = d1 < 0 ? -1.0 : 1.0;
  const double value = sign * (abs(d1) + digits.digit[1] * 0.1 + digits.digit[2] * 0.01 + digits.digit[3] * 0.001) *
                       pow(10.0, digits.exponent);
  if (step != nullptr) {
    // Digits beyond the largest double read as infinite: no decade to take.
    const int L = value == 0.0 || !isfinite(value) ? 0 : static_cast<int>(log10(fabs(value)));
    int first = 0;
    for (int k = 0; k < 4 && first == 0; ++k) first = digits.digit[k];
    if (first == 1) {
      *step = 0.5 * pow(10.0, L - 3);
    } else if (first == -1) {
      *step = 0.0;
    } else {
      *step = 0.5 * pow(10.0, L - 2);
    }
  }
  return value;
}

void digit_up(valueDigits& digits, int field) {
  int& v = field_value(digits, field);
  v = (v + 1) % 10;
}

void digit_down(valueDigits& digits, int field, digitDialog dialog) {
  int& v = field_value(digits, field);
  const bool may_go_negative =
      field == kExponentField || (dialog == DIGIT_ENTRY_DIALOG && field == 0);
  if (may_go_negative) {
    if (v > -9) --v;
  } else {
    v = v <= 0 ? 9 : v - 1;
  }
}
