// measGraphClass: the window in which one test's trace is measured. It plots
// the test's average trace and its last sweep, shows the a- and b-wave points
// of the test's measurement model with adjustment circles and a baseline,
// keeps two markers and a cross-hair, and lists the ERG parameters and graph
// statistics in boxed texts under the graph. Values adjusted here (a circle
// selected with the mouse, moved with the arrow keys) are written into the
// model at once, which switches the test's automatic detection off.
//
// The window is made with new by the thumbnail (or a window holding a trace
// in the trace clipboard) that opens it, through open_measurement_graph, and
// deletes itself when its window closes. Painting is meas_graph_paint.cpp,
// the messages and commands meas_graph_commands.cpp.
#ifndef DESKTOP_WINDOWS_MEAS_GRAPH_MEAS_GRAPH_H
#define DESKTOP_WINDOWS_MEAS_GRAPH_MEAS_GRAPH_H

#include <windows.h>

#include <cstdint>
#include <memory>

#include "desktop/winlib/controls/captions.h"
#include "desktop/winlib/values/double_objects.h"
#include "desktop/data/graph/graph.h"
#include "desktop/winlib/values/link_object.h"
#include "desktop/windows/meas_graph/meas_graph_rules.h"
#include "desktop/winlib/windows/mouse_items.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/winlib/values/string_object.h"
#include "desktop/winlib/values/text_object.h"
#include "desktop/winlib/windows/window_object.h"

class thumbnailClass;
class traceClipboardClass;

// A point in data units (time in mS, amplitude in uV).
struct dataPoint {
  double x;
  double y;
};
class waveMeasurementModel;

// Window type of a measurement graph, and the type code of its own link.
constexpr uint32_t meas_graph_window_type = 3;
constexpr uint32_t meas_graph_link_type = 12;

// Commands of the menu bar and of the right-click pop-up.
enum measGraphCommand : int {
  mg_marker1 = 1001,
  mg_marker2 = 1002,
  mg_copy_average_popup = 1003,
  mg_file_menu = 2000,
  mg_save_text = 2001,
  mg_print = 2002,
  mg_close = 2003,
  mg_edit_menu = 2100,
  mg_copy_window = 2101,
  mg_copy_average = 2102,
  mg_copy_last = 2103,
  mg_graph_menu = 2200,
  mg_scale_last = 2201,
  mg_recalculate = 2202,
  mg_auto_slope = 2203,
  mg_view_menu = 2300,
  mg_view_last = 2301,
  mg_view_average = 2302,
  mg_view_parameters = 2303,
  mg_view_circles = 2304,
  mg_view_baseline = 2305,
  mg_view_xhair = 2306,
};

// Program-wide: shift and control held, as the last key-down and key-up of
// any measurement graph told.
extern uint8_t meas_graph_shift_held;
extern uint8_t meas_graph_control_held;

class measGraphClass : public lbuttonAwareClass, public winTypeClass, public linkClass, public globalInstanceClass {
 public:
  // The trace in clipboard is shown (when it holds one); the test is the
  // thumbnail above parent or, failing that, the trace clipboard's source
  // thumbnail. (x, y): the window's top-left corner in screen pixels.
  measGraphClass(winTypeClass* parent, traceClipboardClass* clipboard, int x, int y);
  // The test of the thumbnail above parent (a thumbnail passes itself).
  measGraphClass(winTypeClass* parent, int x, int y);
  ~measGraphClass() override;

  // Windows: the page for a scale record (screen or printer).
  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;
  // Its link: any change of the a-/b-wave points or the baseline repaints it.
  bool update() override;

  // The status bar's read-out for a pointer position in pixels.
  void show_cursor_position(int x, int y);
  // Repaints the open summary of the thumbnail's session.
  void refresh_summary();

  thumbnailClass* thumbnail() const { return thumbnail_; }
  HMENU menu() const { return menu_; }
  HMENU popup() const { return popup_; }
  HWND status_bar() const { return status_; }
  graphClass& graph() { return graph_; }
  adjustCircle selected_circle() const { return selected_; }
  textObjectClass& title_text() { return title_text_; }
  textObjectClass& erg_text() { return erg_text_; }
  textObjectClass& statistics_text() { return statistics_text_; }
  textObjectClass& xhair_text() { return xhair_text_; }
  textObjectClass& marker1_text() { return marker1_text_; }
  textObjectClass& marker2_text() { return marker2_text_; }
  textObjectClass& deltas_text() { return deltas_text_; }
  textObjectClass& date_text() { return date_text_; }
  traceClass* main_trace() const { return main_trace_; }
  traceClass* last_sample_trace() const { return last_trace_; }
  // The client area less the status bar, at the screen's scale.
  paper client_scale() const;
  // The adjustment circles' centres in data units, in hit order.
  std::array<dataPoint, adjust_circle_count> circle_centres() const;

 private:
  void build(traceClipboardClass* clipboard, int x, int y);
  bool find_test(traceClipboardClass* clipboard);
  // The thumbnail is still open (one found through the trace clipboard may
  // close before this window).
  bool thumbnail_alive() const;
  void build_menus();
  void build_texts(const paper& scale);
  void bind_texts();
  void build_traces(traceClipboardClass* clipboard);
  void first_layout();

  // Painting (meas_graph_paint.cpp).
  void draw_marks(HDC dc, const paper& scale, bool printing);
  void draw_parameter_area(HDC dc, const paper& scale);
  void update_graph_statistics();
  void place_box(boxClass& box, textObjectClass& text, double x, double y, HDC dc, const paper& scale);

  // Messages and commands (meas_graph_commands.cpp).
  void command(int id);
  void left_button_down(int x, int y);
  void right_button_down(int x, int y);
  void arrow_key(arrowKey key);
  bool step_time(bool awave, int direction, double step);
  void after_adjustment();
  void set_marker(int index);
  void copy_trace(const traceClass* trace);
  bool view_checked(int id) const;

  thumbnailClass* thumbnail_ = nullptr;
  waveMeasurementModel* model_ = nullptr;
  HBRUSH background_ = nullptr;
  HMENU menu_ = nullptr;
  HMENU popup_ = nullptr;
  HWND status_ = nullptr;
  double cursor_x_ = 0.0;
  double cursor_y_ = 0.0;
  uint8_t repaint_again_ = 0;
  textObjectClass title_text_;
  std::unique_ptr<boxClass> parameter_box_;
  textObjectClass erg_text_;
  std::unique_ptr<boxClass> statistics_box_;
  textObjectClass statistics_text_;
  doubleObject data_at_;
  textObjectClass marker1_text_;
  textObjectClass marker2_text_;
  textObjectClass deltas_text_;
  subtractObject delta_time_;
  subtractObject delta_amplitude_;
  textObjectClass xhair_text_;
  textObjectClass date_text_;
  stringObjectClass date_string_;
  // Absolute maximum and its time, absolute minimum and its time, point
  // count and collection time of the test's average block.
  doubleObject statistics_[6];
  adjustCircle selected_ = adjustCircle::none;
  graphClass graph_;
  const testFileRecord* record_ = nullptr;
  traceClass* last_trace_ = nullptr;
  traceClass* main_trace_ = nullptr;
  tracePlusClass* last_entry_ = nullptr;
  tracePlusClass* main_entry_ = nullptr;
  // Awave_mS, Bwave_mS, Bwave_uV, Awave_uV when the window was built.
  double saved_awave_ms_ = 0.0;
  double saved_bwave_ms_ = 0.0;
  double saved_bwave_uv_ = 0.0;
  double saved_awave_uv_ = 0.0;
};

// Opens a measurement graph of the thumbnail above parent (clipboard null) or
// of the trace in clipboard. Null when no window could be made: the message
// has been shown and nothing is left in the window tree.
measGraphClass* open_measurement_graph(winTypeClass* parent, traceClipboardClass* clipboard, int x, int y);

#endif
