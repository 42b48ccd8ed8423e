#include "desktop/winlib/geometry/points.h"

#include <cmath>

#include "desktop/winlib/messages/messages.h"

double point3::distance_to(double px, double py) const {
  point3 other;
  other.set(px, py);
  return distance3(*this, other);
}

double distance3(const point3& a, const point3& b) {
  double dx = b.x - a.x;
  double dy = b.y - a.y;
  double dz = b.z - a.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void rotate_point3(int axis, double x, double y, double z, double* out_x, double* out_y, double* out_z,
                   double angle) {
  double c = std::cos(angle);
  double s = std::sin(angle);
  double rx = x;
  double ry = y;
  double rz = z;
  switch (axis) {
    case 0:
      ry = y * c - z * s;
      rz = y * s + z * c;
      break;
    case 1:
      rz = z * c - x * s;
      rx = z * s + x * c;
      break;
    case 2:
      rx = x * c - y * s;
      ry = x * s + y * c;
      break;
    default:
      errormessage("### rotate_point3: AXIS %d NOT 0, 1 OR 2 ###", axis);
      break;
  }
  if (out_x) *out_x = rx;
  if (out_y) *out_y = ry;
  if (out_z) *out_z = rz;
}
