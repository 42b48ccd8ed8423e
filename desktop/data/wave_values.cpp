#include "desktop/data/wave_values.h"

indirectObject::indirectObject(const double* target, int32_t kind)
    : linkClass(indirect_object_type, 1), target_(target), kind_(kind) {}

void indirectObject::set_target(const double* target, int32_t kind) {
  target_ = target;
  kind_ = kind;
}

bool indirectObject::numeric_value(double* out) {
  if (!target_ || kind_ != kind_double) return false;
  *out = *target_;
  return true;
}

monitorObject::monitorObject() : linkClass(monitor_object_type, 1) {}

bool monitorObject::update() {
  changed_ = 1;
  count_++;
  return true;
}

void monitorObject::reset() {
  changed_ = 0;
  count_ = 0;
}
