// comparisonPanelClass: the comparison graph, a free-standing window that
// overlays traces taken from anywhere in the program (a thumbnail's test
// trace, the trace clipboard, another graph, a trace text file, a summary
// plot). Each trace keeps its own plot attributes and filters; the window
// adds two markers with read-outs, an average of the shown traces, alignment
// at the flash or at marker 1, separation of stacked traces, zoom by gain
// labels, text export and import, printing and annotations.
//
// Traces only accumulate: the list box has one row per graph entry, in the
// same order, and the owner list one element per entry (the thumbnail that
// owns the trace, or none). An owner is looked up in the window tree before
// it is used: a closed owner counts as none.
//
// The window is made with new by its opener and deletes itself when its
// window closes. Painting is comparison_paint.cpp, the menus
// comparison_menus.cpp, messages and commands comparison_commands.cpp.
#ifndef DESKTOP_WINDOWS_COMPARISON_COMPARISON_PANEL_H
#define DESKTOP_WINDOWS_COMPARISON_COMPARISON_PANEL_H

#include <windows.h>

#include <cstdint>
#include <vector>

#include "desktop/windows/annotations/annotations.h"
#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/windows/comparison/comparison_rules.h"
#include "desktop/winlib/values/double_objects.h"
#include "desktop/data/graph/graph.h"
#include "desktop/winlib/controls/list_controls.h"
#include "desktop/winlib/windows/mouse_items.h"
#include "desktop/winlib/values/text_object.h"
#include "desktop/winlib/windows/window_object.h"

class traceClipboardClass;
class plotAttributesWindow;
class separationPanelClass;

constexpr uint32_t comparison_window_type = 4;

// Commands of the main menu and of the right-click pop-up.
namespace cg_command {
constexpr int paste_popup = 1001;
constexpr int marker1_popup = 1002;
constexpr int marker2_popup = 1003;
constexpr int annotation_popup = 1004;
constexpr int file_menu = 2000;
constexpr int load_text = 2001;
constexpr int save_all = 2002;
constexpr int print = 2003;
constexpr int close = 2004;
constexpr int edit_menu = 2100;
constexpr int copy_bitmap = 2101;
constexpr int paste = 2102;
constexpr int graph_menu = 2200;
constexpr int align_menu = 2210;
constexpr int align_flash = 2211;
constexpr int align_marker1 = 2212;
constexpr int graph_only = 2230;
constexpr int reset_scaling = 2240;
constexpr int gridlines = 2250;
constexpr int average = 2260;
constexpr int separate = 2270;
constexpr int scale_active = 2280;
constexpr int show_marker1 = 2290;
constexpr int show_marker2 = 2300;
// "Copy Trace To:"
constexpr int copy_text_file = 8100;
constexpr int copy_comparison = 8300;
constexpr int copy_op_panel = 8400;
constexpr int copy_fft = 8500;
constexpr int copy_measurement = 8600;
}  // namespace cg_command

// Per-trace commands: trace number x 100000 + one of these.
namespace cg_trace {
constexpr int item = 0;
constexpr int plot_menu = 2000;
constexpr int fill_menu = 2100;
constexpr int fill_none = 2110;
constexpr int fill_solid = 2120;
constexpr int fill_dash2 = 2130;
constexpr int fill_dash5 = 2140;
constexpr int fill_dash10 = 2150;
constexpr int symbol_menu = 2200;
constexpr int symbol_point = 2210;
constexpr int symbol_plus = 2220;
constexpr int colour_menu = 2300;  // also the colour item base: 2300 + colour index
constexpr int show = 2400;
constexpr int scale_to = 2500;
constexpr int copy_menu = 6000;
constexpr int copy_text_file = 6100;
constexpr int copy_clipboard = 6200;
constexpr int copy_comparison = 6300;
constexpr int copy_op_panel = 6400;
constexpr int copy_fft = 6500;
constexpr int copy_measurement = 6600;
constexpr int copy_bitmap = 6700;
constexpr int filter_menu = 7000;
constexpr int filter_60hz = 7010;
constexpr int filter_50hz = 7020;
constexpr int filter_spikes = 7030;
constexpr int filter_lowpass = 7040;
constexpr int lowpass_frequency = 7050;
}  // namespace cg_trace

// Notices (WM_USER, the code in wParam) that other windows send it.
namespace cg_notice {
constexpr uintptr_t lowpass_frequency = 0;  // lParam: trace number
constexpr uintptr_t copy_menu = 1;          // lParam: the point, client pixels packed
constexpr uintptr_t colour_changed = 4;
constexpr uintptr_t separation_closed = 257;  // lParam 1: the separation panel was cancelled
constexpr uintptr_t show_average = 513;       // lParam: the code
}  // namespace cg_notice

// The code that asks show_average for the average.
constexpr intptr_t average_code = 0x7000;

class comparisonPanelClass : public winTypeClass,
                             public lbuttonAwareClass,
                             public annotationListClass,
                             public globalInstanceClass {
 public:
  // parent: the window-tree parent (null for a top-level one), name: shown
  // in the caption, fixed 1: a window without a close box that closes
  // through File > Close.
  comparisonPanelClass(winTypeClass* parent, const char* name, int fixed);
  ~comparisonPanelClass() override;

  // The page for a scale record: the screen's or the printer's.
  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // A data value to page units of scale through the graph's axis map.
  double x_to_page(double x, const paper& scale) override;
  double y_to_page(double y, const paper& scale) override;

  // The trace held by a trace clipboard: the source thumbnail's entry
  // attached (the thumbnail its owner) when the clipboard names one that is
  // still open, else a copy without owner. Null, reported, for no clipboard
  // or an empty one.
  tracePlusClass* add_trace(traceClipboardClass* clipboard);
  // A copy of entry (or the graph's average entry itself) with owner.
  tracePlusClass* attach_trace(tracePlusClass* entry, winTypeClass* owner);
  // A new entry holding a copy of trace, with owner.
  tracePlusClass* add_trace_copy(const traceClass* trace, winTypeClass* owner);
  // A new entry from separate x and y arrays in colour index colour, no
  // owner (the summary's plot).
  tracePlusClass* add_xy_arrays(const double* x, const double* y, int32_t n, int32_t colour);
  // Every add ends here: row, attributes window and menu, then the view
  // span and centre from the latest entry. Returns entry.
  tracePlusClass* register_trace(tracePlusClass* entry);
  // Makes entry's plot attributes window the one shown under the list.
  void open_attributes_window(tracePlusClass* entry);
  // Use-for-scaling of trace number (1-based), or of every trace for a
  // number below 1; the last trace touched.
  traceClass* set_scaling_flag(int number, uint8_t flag);

  // Menus (comparison_menus.cpp).
  void add_new_menu(tracePlusClass* entry);
  void update_trace_line(int number, tracePlusClass* entry);
  void build_copy_menu();

  // Messages and commands (comparison_commands.cpp).
  void show_cursor_values(int x, int y);
  void show_average(intptr_t code);
  void copy_trace_to(intptr_t position);
  // A main menu command as WM_COMMAND brings it.
  void command(int id);
  // A command of the right-click pop-up (1001 to 1004 or a trace's).
  void popup_command(int id, int x, int y);

  // The number of traces, the entry of trace number (1-based; null when
  // there is none) and its owner when that is still open.
  int32_t trace_count() const;
  tracePlusClass* trace_entry(int number);
  winTypeClass* trace_owner(int number) const;

  graphClass& graph() { return graph_; }
  HMENU menu() const { return menu_; }
  HMENU popup() const { return popup_; }
  HMENU copy_menu() const { return copy_menu_; }
  HMENU graph_menu() const { return graph_menu_; }
  HWND status_bar() const { return status_; }
  listBoxClass* trace_list() const { return trace_list_; }
  buttonClass* paste_button() const { return paste_button_; }
  const char* panel_name() const { return panel_name_.text(); }
  tracePlusClass* first_entry() const { return first_entry_; }
  tracePlusClass* latest_entry() const { return latest_entry_; }
  tracePlusClass* average_entry() const { return average_entry_; }
  // The attributes window shown under the list, when it is still open.
  plotAttributesWindow* attributes_window() const;
  // The plot attributes window of entry when it is one of this graph's.
  plotAttributesWindow* attributes_of(const tracePlusClass* entry) const;
  int selected_row() const { return selected_row_; }
  textObjectClass& caption_text() { return caption_text_; }
  textObjectClass& title_text() { return title_text_; }
  textObjectClass& marker1_text() { return marker1_text_; }
  textObjectClass& marker2_text() { return marker2_text_; }
  textObjectClass& deltas_text() { return deltas_text_; }
  textObjectClass& print_line(int i) { return print_lines_[i]; }
  textObjectClass& gain_label(int i) { return gain_labels_[i]; }
  double x_gain() const { return x_gain_.stored_value(); }
  double y_gain() const { return y_gain_.stored_value(); }
  double x_centre() const { return x_centre_.stored_value(); }
  double y_centre() const { return y_centre_.stored_value(); }
  double x_span() const { return x_span_; }
  double y_span() const { return y_span_; }
  bool centre_follows() const { return centre_follows_ != 0; }
  bool graph_only() const { return graph_only_ != 0; }
  double alignment_time() const { return alignment_time_; }
  double& separation_time() { return separation_time_; }
  double& separation_voltage() { return separation_voltage_; }
  // The separation panel once made, while it is open.
  separationPanelClass* separation_panel() const;
  double& lowpass_entry() { return lowpass_entry_; }
  // The client area less the status bar, at the screen's scale.
  paper client_scale() const;
  bool menu_checked(int id) const;

 private:
  void create_window(const char* name, int fixed);
  void build_menus();
  void build_texts(const char* name);
  // The owner list's element for row, looked up in the window tree.
  winTypeClass* owner_at(size_t row) const;
  // Whether window is a window object beneath this one in the window tree.
  bool is_own_child(const winTypeClass* window) const;

  // Painting (comparison_paint.cpp).
  void apply_offsets();
  void show_selected_attributes();
  void place_attributes_window(const paper& scale, double plot_bottom, double list_right);
  void place_controls(HDC dc, const paper& scale, double plot_bottom);
  // The read-outs that are shown, one under the other from (x, y); the
  // bottom of the last.
  double draw_readouts(HDC dc, const paper& scale, double x, double y);
  void draw_print_lines(HDC dc, const paper& scale, double plot_bottom);

  // Commands (comparison_commands.cpp).
  void left_button_down(int x, int y);
  void left_button_up(int x, int y);
  void right_button_down(int x, int y);
  void trace_command(int number, int command);
  void copy_command(tracePlusClass* entry, winTypeClass* owner, int number, int command);
  void set_marker(int index);
  void align_off();
  void set_scale_active(int flag);
  void reset_scaling();
  void toggle_separation();
  void hide_separation_panel();
  void save_all_traces();
  // Saves a trace through the Save dialog, starting in the folder of the
  // setting "last_text_file", which then names the file written.
  void save_trace(const traceClass* trace);
  // A page point in millimetres of the client area for a pixel.
  void page_point(int x, int y, double* page_x, double* page_y) const;
  void load_trace_file();
  void drop_files(HDROP drop);
  void lowpass_notice(int number);
  void set_trace_colour_checks(int number, int32_t colour);

  HMENU menu_ = nullptr;
  HMENU popup_ = nullptr;
  HMENU copy_menu_ = nullptr;
  HMENU graph_menu_ = nullptr;
  // The window objects (thumbnails) that own the traces, one per trace in
  // trace order, null for a trace without one. Not owned.
  std::vector<winTypeClass*> owners_;
  listBoxClass* trace_list_ = nullptr;
  HWND status_ = nullptr;
  HBRUSH background_ = nullptr;
  HFONT arial_font_ = nullptr;
  HFONT courier_font_ = nullptr;
  graphClass graph_;
  tracePlusClass* average_entry_ = nullptr;
  plotAttributesWindow* attributes_window_ = nullptr;
  uint8_t graph_only_ = 0;
  uint8_t layout_changed_ = 0;
  uint8_t attributes_needs_placing_ = 0;
  double cursor_x_ = 0.0;
  double cursor_y_ = 0.0;
  textObjectClass marker1_text_;
  textObjectClass marker2_text_;
  doubleObject delta_x_;
  doubleObject delta_y_;
  textObjectClass deltas_text_;
  textObjectClass print_lines_[5];
  // "X gain up", "X gain down", "Y gain up", "Y gain down".
  textObjectClass gain_labels_[4];
  buttonClass* paste_button_ = nullptr;
  int selected_row_ = -1;
  tracePlusClass* first_entry_ = nullptr;
  tracePlusClass* latest_entry_ = nullptr;
  doubleObject x_gain_;
  doubleObject y_gain_;
  doubleObject x_centre_;
  doubleObject y_centre_;
  textObjectClass title_text_;
  textObjectClass caption_text_;
  // The printed page's date line.
  textObjectClass date_text_;
  separationPanelClass* separation_panel_ = nullptr;
  double separation_time_ = 0.0;
  double separation_voltage_ = 0.0;
  double alignment_time_ = 0.0;
  double x_span_ = 0.0;
  double y_span_ = 0.0;
  uint8_t centre_follows_ = 1;
  int32_t window_x_ = 750;
  int32_t window_y_ = 400;
  double lowpass_entry_ = 0.0;
  byteObjectClass panel_name_;
  // The annotation being dragged, and the offset from the grabbed point to
  // its anchor (data units).
  annotationItem* dragged_annotation_ = nullptr;
  double drag_dx_ = 0.0;
  double drag_dy_ = 0.0;
};

#endif
