#include "desktop/winlib/values/double_objects.h"

#include <cmath>

#include <cmath>

#include "desktop/winlib/messages/quiet_report.h"

namespace {

int needed_arguments(int32_t operation) {
  if (operation >= op_absolute && operation <= op_negate) return 1;
  if (operation >= op_add && operation <= op_subtract) return 2;
  return 3;
}

// Clears a flag when the computation it guards ends, whichever way.
class flagGuard {
 public:
  explicit flagGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~flagGuard() { flag_ = false; }
  flagGuard(const flagGuard&) = delete;
  flagGuard& operator=(const flagGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

doubleModObject::doubleModObject(int32_t operation_code)
    : linkClass(double_object_type, 1), operation_(operation_code) {}

bool doubleModObject::update() {
  value();
  return true;
}

bool doubleModObject::numeric_value(double* out) {
  *out = value();
  return true;
}

void doubleModObject::store(double v) {
  value_ = v;
  // No number made again is no change: derived values are made anew each
  // time a display reads them, and a NaN passed on as a change each time
  // would make every display that reads it while painting paint for good.
  bool unchanged = v == last_value_ || (std::isnan(v) && std::isnan(last_value_));
  if (!unchanged) {
    last_value_ = v;
    propagate(this);
  }
}

double doubleModObject::value() {
  if (computing_) return value_;
  double result = 0.0;
  {
    flagGuard guard(computing_);
    if (value_routine()) {
      result = value_routine()(link_list());
    } else if (operation_ == op_stored) {
      return value_;
    } else {
      int needed = needed_arguments(operation_);
      double arg[3] = {0.0, 0.0, 0.0};
      int found = 0;
      for (referenceNodeClass* link = link_list(); link && found < needed; link = link->next) {
        if (link->kind != referenceNodeClass::ARGUMENT) continue;
        if (!link->other->numeric_value(&arg[found])) {
          report_error("*** doubleModObject(%s) ARGUMENT [%s] OF TYPE %d HAS NO VALUE ***", name(), link->other->name(),
                       static_cast<int>(link->other->type()));
          return value_not_computed;
        }
        ++found;
      }
      if (found < needed) {
        report_error("doubleModObject(%s) type %d value has %d references, needs %d", name(),
                     static_cast<int>(operation_), found, needed);
        return value_not_computed;
      }
      switch (operation_) {
        case op_absolute:
          result = std::fabs(arg[0]);
          break;
        case op_copy:
          result = arg[0];
          break;
        case op_negate:
          result = -arg[0];
          break;
        case op_add:
          result = arg[0] + arg[1];
          break;
        case op_multiply:
          result = arg[0] * arg[1];
          break;
        case op_divide:
          if (arg[1] == 0.0) {
            report_error("doubleModObject::value DIVISION BY ZERO");
            return value_not_computed;
          }
          result = arg[0] / arg[1];
          break;
        case op_subtract:
          result = arg[0] - arg[1];
          break;
        case op_multiply_add:
          result = arg[0] * arg[1] + arg[2];
          break;
        default:
          result = value_;
          break;
      }
    }
  }
  // Passed on after the computation, so that dependents reading this value
  // get the new one.
  store(result);
  return value_;
}

double doubleObject::set_value(double v) {
  store(v);
  return v;
}
