// Values typed digit by digit.
#include <gtest/gtest.h>

#include <math.h>

#include "handheld/engine/acquisition/value_digits.h"

namespace {

TEST(ValueDigits, SplitsAValueIntoMantissaDigitsAndExponent) {
  struct Case {
    double value;
    valueDigits digits;
  } cases[] = {
      {72.0, {{7, 2, 0, 0}, 1}},        {4.8e-05, {{4, 8, 0, 0}, -5}},
      {0.0, {{0, 0, 0, 0}, 0}},         {15000.0, {{1, 5, 0, 0}, 4}},
      {9.9996, {{1, 0, 0, 0}, 1}},      {-1930.0, {{-1, 9, 3, 0}, 3}},
      {123456.0, {{1, 2, 3, 5}, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const valueDigits d = value_to_digits(c.value);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(c.digits.digit[k], d.digit[k]) << k;
    EXPECT_EQ(c.digits.exponent, d.exponent);
  }
}

TEST(ValueDigits, ReadsTheValueAndItsReadingStep) {
  struct Case {
    valueDigits digits;
    double value;
    double step;
  } cases[] = {
      {{{7, 2, 0, 0}, 1}, 72.0, 0.05},
      {{{1, 5, 0, 0}, 4}, 15000.0, 5.0},
      {{{-1, 9, 3, 0}, 3}, -1930.0, 0.0},
      {{{4, 8, 0, 0}, -5}, 4.8e-05, 0.5e-06},
      {{{0, 5, 0, 0}, 0}, 0.5, 0.005},  // a first digit of 0 keeps the value
      {{{0, 0, 0, 0}, 3}, 0.0, 0.005},
      // UP on the first digit of 1.7e308 (a parameter's value) leaves the
      // doubles: the value is infinite, the step still a number.
      {{{2, 7, 0, 0}, 308}, HUGE_VAL, 0.005},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    double step = -1.0;
    EXPECT_DOUBLE_EQ(c.value, digits_to_value(c.digits, &step));
    EXPECT_DOUBLE_EQ(c.step, step);
  }
}

TEST(ValueDigits, UpAndDownWrapExceptWhereTheyMayGoNegative) {
  valueDigits d = {{9, 0, 0, 0}, 0};
  digit_up(d, 0);
  EXPECT_EQ(0, d.digit[0]);
  digit_down(d, 1, CALIBRATION_DIALOG);
  EXPECT_EQ(9, d.digit[1]);
  digit_down(d, 0, CALIBRATION_DIALOG);
  EXPECT_EQ(9, d.digit[0]);
  digit_down(d, 4, CALIBRATION_DIALOG);
  EXPECT_EQ(-1, d.exponent);
  d.digit[0] = 0;
  digit_down(d, 0, DIGIT_ENTRY_DIALOG);
  EXPECT_EQ(-1, d.digit[0]);
  for (int i = 0; i < 20; ++i) digit_down(d, 4, DIGIT_ENTRY_DIALOG);
  EXPECT_EQ(-9, d.exponent);
  digit_up(d, 4);
  EXPECT_EQ(-8, d.exponent);
}

}  // namespace
