#include "desktop/windows/trace_panels/separation_rules.h"

#include <cmath>
#include <cstdio>

double separation_value(const char* text) {
  double value = 0.0;
  if (!text || std::sscanf(text, "%lg", &value) != 1 || !std::isfinite(value)) return 0.0;
  return value;
}
