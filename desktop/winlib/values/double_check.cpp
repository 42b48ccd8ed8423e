#include "desktop/winlib/values/double_check.h"

#include <cfloat>

bool is_valid_double(double x) { return x == x && x >= -DBL_MAX && x <= DBL_MAX; }
