// The small value objects of the a-/b-wave measurement: a point on a line,
// a copy, an absolute value, a double read in place, and a change monitor.
#ifndef DESKTOP_DATA_WAVE_VALUES_H
#define DESKTOP_DATA_WAVE_VALUES_H

#include <cstdint>

#include "desktop/winlib/values/double_objects.h"
#include "desktop/winlib/values/link_object.h"

constexpr uint32_t indirect_object_type = 11;
constexpr uint32_t monitor_object_type = 14;

// slope * x + intercept, with the arguments added in that order: x, slope,
// intercept.
class yOfXObject : public doubleModObject {
 public:
  yOfXObject() : doubleModObject(op_multiply_add) {}
};

// A copy of its one argument.
class doubleEchoObject : public doubleModObject {
 public:
  doubleEchoObject() : doubleModObject(op_copy) {}
};

// The absolute value of its one argument.
class absoluteObject : public doubleModObject {
 public:
  absoluteObject() : doubleModObject(op_absolute) {}
};

// A double that lives elsewhere (a field of a stored record), read where it
// is each time; every update counts as a change.
class indirectObject : public linkClass {
 public:
  static constexpr int32_t kind_double = 1;

  explicit indirectObject(const double* target = nullptr, int32_t kind = kind_double);
  void set_target(const double* target, int32_t kind);

  bool update() override { return true; }
  // The double at the target; false without one.
  bool numeric_value(double* out) override;

  const double* target() const { return target_; }
  int32_t kind() const { return kind_; }

 private:
  const double* target_;
  int32_t kind_;
};

// Records that any of the values it depends on changed.
class monitorObject : public linkClass {
 public:
  monitorObject();

  // Sets the changed flag and counts the change.
  bool update() override;
  void reset();

  bool changed() const { return changed_ != 0; }
  int32_t change_count() const { return count_; }

 private:
  int32_t count_ = 0;
  uint8_t changed_ = 0;
};

#endif
