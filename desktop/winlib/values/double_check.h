// Whether a double is a finite number.
#ifndef DOUBLE_CHECK_H
#define DOUBLE_CHECK_H

bool is_valid_double(double x);

#endif
