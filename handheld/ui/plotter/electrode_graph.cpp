#include "handheld/ui/plotter/electrode_graph.h"

#include <windows.h>

#include "handheld/engine/electrodes/electrode_screen.h"
#include "handheld/ui/plotter/plotter.h"

namespace {

const int BLACK = 5;

class plotterElectrodeScreen : public electrodeScreen {
 public:
  void clear_rows() override {
    if (plotter_exists()) clear_graph_strings();
  }
  void push_scale(double x_min, double x_max, double y_min, double y_max) override {
    if (plotter_exists()) ::push_scale(x_min, x_max, y_min, y_max, 0.0, no_minimum_range);
  }
  void set_scale(double x_min, double x_max, double y_min, double y_max) override {
    if (plotter_exists()) ::set_scale(x_min, x_max, y_min, y_max, 0.0);
  }
  void pop_scale() override {
    if (plotter_exists()) ::pop_scale();
  }
  void draw_axes() override {
    if (plotter_exists()) erase_background_draw_axes(KEEP_COLOUR, KEEP_COLOUR);
  }
  void title(const char* text) override {
    if (plotter_exists()) graph_title_narrow(BLACK, "%s", text);
  }
  void row_text(int colour, int row, int column, const char* text) override {
    if (plotter_exists()) graph_string2(colour, row, column, "%s", text);
  }
  void point(int colour, double x, double y) override {
    if (plotter_exists()) xypoint(colour, x, y);
  }
  void plus(int pen, double x, double y, int half_size) override {
    if (plotter_exists()) xyplus(pen, x, y, half_size);
  }
  void hline(int pen, double y) override {
    if (plotter_exists()) ::hline(y, pen);
  }
  void line(int pen, double x1, double y1, double x2, double y2) override {
    if (plotter_exists()) xyline(pen, x1, y1, x2, y2, R2_COPYPEN);
  }
  void block(int pen, const samplesBlock& values, double scale, double offset) override {
    if (plotter_exists()) plot(&values, pen, scale, offset);
  }
};

plotterElectrodeScreen the_screen;

}  // namespace

void install_electrode_graph(bool install) { set_electrode_screen(install ? &the_screen : nullptr); }
