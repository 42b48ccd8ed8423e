// The numeric value objects: doubleModObject computes a double from its
// ARGUMENT objects by an operation code (or by a user routine), doubleObject
// holds a value set from outside, subtractObject is first minus second.
//
// A value that cannot be computed (too few arguments, an argument without a
// number, a division by zero) is reported and gives value_not_computed; the
// stored value is kept.
#ifndef DESKTOP_WINLIB_VALUES_DOUBLE_OBJECTS_H
#define DESKTOP_WINLIB_VALUES_DOUBLE_OBJECTS_H

#include <cstdint>

#include "desktop/winlib/values/link_object.h"

constexpr uint32_t double_object_type = 6;
constexpr double value_not_computed = -123.456;

// Operation codes; a code above multiply_add needs three arguments and
// leaves the value as it is.
enum valueOperation : int32_t {
  op_stored = 0,        // the value set from outside
  op_absolute = 1,      // |a|
  op_copy = 2,          // a
  op_negate = 3,        // -a
  op_add = 4,           // a + b
  op_multiply = 5,      // a * b
  op_divide = 6,        // a / b
  op_subtract = 7,      // a - b
  op_multiply_add = 8,  // a * b + c
};

class doubleModObject : public linkClass {
 public:
  explicit doubleModObject(int32_t operation_code);

  // Computes the value; always true.
  bool update() override;
  // Its computed value.
  bool numeric_value(double* out) override;

  // The value: with a user routine, the routine's result; with op_stored,
  // the stored value; else the operation on the arguments in link order
  // (each computed first). A result that differs from the last propagated
  // value (a NaN always does) is passed on to the dependents. An object met
  // again while its own arguments are being computed (a cycle of arguments)
  // gives its stored value.
  double value();
  double stored_value() const { return value_; }
  double last_value() const { return last_value_; }
  int32_t operation() const { return operation_; }

 protected:
  // Stores v and passes it on when it differs from the last value passed.
  void store(double v);

 private:
  int32_t operation_;
  double value_ = -123.45;
  double last_value_ = -1234.5;
  bool computing_ = false;
};

class doubleObject : public doubleModObject {
 public:
  doubleObject() : doubleModObject(op_stored) {}
  // Stores v and passes it on when it differs from the last value passed;
  // returns v.
  double set_value(double v);
};

class subtractObject : public doubleModObject {
 public:
  subtractObject() : doubleModObject(op_subtract) {}
};

#endif
