// Whether a double is a finite number.
#ifndef DESKTOP_WINLIB_VALUES_DOUBLE_CHECK_H
#define DESKTOP_WINLIB_VALUES_DOUBLE_CHECK_H

bool is_valid_double(double x);

#endif
