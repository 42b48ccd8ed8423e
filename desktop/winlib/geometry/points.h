// Points in millimetres and in three dimensions.
#ifndef DESKTOP_WINLIB_GEOMETRY_POINTS_H
#define DESKTOP_WINLIB_GEOMETRY_POINTS_H

class mmPointClass {
 public:
  mmPointClass() = default;
  mmPointClass(double x_mm, double y_mm) : x(x_mm), y(y_mm) {}

  double x = 0.0;
  double y = 0.0;
};

class point3 {
 public:
  void set(double px, double py, double pz) {
    x = px;
    y = py;
    z = pz;
  }
  void set(double px, double py) { set(px, py, 0.0); }
  void copy(const point3& other) { *this = other; }
  void copy(const mmPointClass& other) { set(other.x, other.y, 0.0); }
  // The distance to (px, py, 0).
  double distance_to(double px, double py) const;

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

double distance3(const point3& a, const point3& b);

// Rotates (x, y, z) about the x (0), y (1) or z (2) axis by angle radians,
// counter-clockwise when the axis points at the viewer: the coordinate of the
// axis is copied, the other two rotate. Another axis copies the point and
// reports "### rotate_point3: AXIS %d NOT 0, 1 OR 2 ###".
void rotate_point3(int axis, double x, double y, double z, double* out_x, double* out_y, double* out_z,
                   double angle);

#endif
