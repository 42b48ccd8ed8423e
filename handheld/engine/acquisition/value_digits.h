// A value typed digit by digit: four mantissa digits d1 d2 d3 d4 (d1.d2d3d4)
// and a decimal exponent e, as the calibration and digit entry dialogs show
// them in five fields (0 to 3 the digits, 4 the exponent).
#ifndef HANDHELD_ENGINE_ACQUISITION_VALUE_DIGITS_H
#define HANDHELD_ENGINE_ACQUISITION_VALUE_DIGITS_H

struct valueDigits {
  int digit[4];
  int exponent;
};

// e = floor(log10(|v|)) (0 for 0) and the mantissa v / 10^e rounded to three
// decimals; a negative value gives a negative first digit.
valueDigits value_to_digits(double value);

// sign(d1) x (|d1| + d2 x 0.1 + d3 x 0.01 + d4 x 0.001) x 10^e (a first
// digit of 0 counts as positive). *step, when given, receives the reading
// step: 0.5 x 10^(L-3) when the first non-zero digit is 1, 0 when it is -1,
// otherwise 0.5 x 10^(L-2), with L = int(log10(|value|)) (0 for a value of
// 0, or one too large for a double).
double digits_to_value(const valueDigits& digits, double* step);

// UP on a field: + 1, modulo 10 (the exponent too).
void digit_up(valueDigits& digits, int field);
// DOWN on a field: - 1, wrapping from 0 to 9, except where it may go
// negative (down to -9): the exponent in the calibration dialog, the first
// digit and the exponent in the digit entry dialog.
enum digitDialog { CALIBRATION_DIALOG, DIGIT_ENTRY_DIALOG };
void digit_down(valueDigits& digits, int field, digitDialog dialog);

#endif
