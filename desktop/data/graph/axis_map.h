// axisMap: the linear map between the data values of one graph axis and
// its pixels, and the tick marks of that axis.
//
// A value v maps to the pixel int((v - data start) * scale + pixel start),
// truncated toward zero; a pixel p maps back to (p - pixel start) / scale +
// data start, with scale = (pixel end - pixel start) / (data end - data
// start). The x map runs from the left pixel to the right one; the y map
// from the bottom pixel to the top one, so its scale is negative.
//
// No NaN or infinity ever reaches a pixel: a data range of zero width is
// widened before the scale is computed, a range that is no finite number is
// refused, and pixels beyond the integer range are held at its ends.
#ifndef DESKTOP_DATA_GRAPH_AXIS_MAP_H
#define DESKTOP_DATA_GRAPH_AXIS_MAP_H

#include <vector>

class axisMap {
 public:
  // Pixels 0 to 100 over data 0 to 100 (scale 1).
  axisMap();

  // The pixel ends; the data range is kept, so a placed graph maps its
  // range onto its new pixels at once.
  void set_pixels(double start, double end);
  // The data ends and a new scale. Equal ends are widened first
  // (widen_zero_range); ends that are no finite numbers are refused (false)
  // and the map keeps its range.
  bool set_data(double start, double end);

  int to_pixel(double value) const;
  double to_data(double pixel) const;
  // One pixel in data units (1 / scale); 0 when the map has no scale.
  double data_per_pixel() const;

  double pixel_start() const { return pixel_start_; }
  double data_start() const { return data_start_; }
  double pixel_end() const { return pixel_end_; }
  double data_end() const { return data_end_; }
  double scale() const { return scale_; }

 private:
  double pixel_start_ = 0.0;
  double data_start_ = 0.0;
  double pixel_end_ = 100.0;
  double data_end_ = 100.0;
  double scale_ = 1.0;
};

// A range whose ends are equal becomes one of positive width around them:
// +-5 % of the value, or +-1 around 0. Other ranges stay as they are.
void widen_zero_range(double& low, double& high);

// One tick mark of an axis: its value (k0 + j) * 10^E + i * 10^(E - 1), its
// pixel, whether it is a major (i = 0), and whether the density rule asks
// for its label (the painter still checks that the label fits).
struct axisTick {
  double value;
  int pixel;
  bool major;
  bool labelled;
};

// The ticks of a map, in ascending order of j and i, within the data range
// (majors below the start are left out, their minors are not).
//
// E = floor(log10(|data end - data start|)), S = 10^E, k0 = floor(data
// start / S). Majors are always labelled. The minors after major v are
// labelled every m-th, m chosen from r = |pixel(v + S/10) - pixel(v +
// 2S/10)| / label_extent: 1 for r >= 2, 2 for 1 <= r < 2, 5 for 0.2 < r < 1,
// 20 otherwise; label_extent is the label height on the y axis and the width
// of "000.0" on the x axis. With few_majors_only set (the y axis), minors
// are labelled only when fewer than three majors lie in the range.
struct axisTickPlan {
  int exponent;     // E
  double step;      // S
  double k0;        // floor(data start / S)
  int major_count;  // majors within the range (N)
  std::vector<axisTick> ticks;
};

axisTickPlan plan_axis_ticks(const axisMap& map, double label_extent, bool few_majors_only);

// The label density m for a pixel spacing ratio r (see above).
int minor_label_every(double r);

#endif
