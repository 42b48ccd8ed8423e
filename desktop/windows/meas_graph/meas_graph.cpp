#include "desktop/windows/meas_graph/meas_graph.h"

#include <commctrl.h>

#include <cstdlib>

#include "desktop/data/block_traces.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/winlib/controls/status_bar.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/data/wave_measurement.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_tree.h"

uint8_t meas_graph_shift_held = 0;
uint8_t meas_graph_control_held = 0;

namespace {

int32_t meas_graph_instances = 0;

// The opening size, and the margin right of the statistics box (mm).
constexpr double opening_width_mm = 230.0;
constexpr double opening_height_mm = 150.0;
constexpr double right_margin_mm = 5.0;

constexpr int status_bar_id = 1;
constexpr int first_status_part = 300;

constexpr const char* window_class = "measgraph";

// Menus: bar item, then its entries (0: a separator).
constexpr menuEntry file_entries[] = {{mg_save_text, "Save Data as Text"}, {0, nullptr}, {mg_print, "Print"},
                                      {mg_close, "Close"}};
constexpr menuEntry edit_entries[] = {{mg_copy_window, "Copy Window to Clipboard"},
                                      {mg_copy_average, "Copy Average Trace"},
                                      {mg_copy_last, "Copy Last Trace"}};
constexpr menuEntry graph_entries[] = {{mg_scale_last, "Scale to Last Sample"},
                                       {0, nullptr},
                                       {mg_recalculate, "Recalculate a/b Parameters"},
                                       {mg_auto_slope, "Auto Baseline Slope to Zero"}};
constexpr menuEntry view_entries[] = {{mg_view_last, "Last Sample"},       {mg_view_average, "Average Trace"},
                                      {mg_view_parameters, "Parameter Area"}, {0, nullptr},
                                      {mg_view_circles, "Adjustment Circles"}, {mg_view_baseline, "Baseline"},
                                      {mg_view_xhair, "X-Hair"}};

// The program font's height in millimetres of the screen.
double program_font_height_mm() {
  return screen_paper.y_px_per_mm > 0.0 ? std::abs(program_logfont.lfHeight) / screen_paper.y_px_per_mm : 4.0;
}

bool thumbnail_in_tree(const thumbnailClass* thumbnail) {
  const windowNode* node = find_window_node(thumbnail);
  return node && node->object == thumbnail && node->type == thumbnail_window_type;
}

}  // namespace

measGraphClass::measGraphClass(winTypeClass* parent_object, traceClipboardClass* clipboard, int x, int y)
    : winTypeClass(parent_object, meas_graph_window_type),
      linkClass(meas_graph_link_type, 1),
      globalInstanceClass(meas_graph_instances) {
  build(clipboard, x, y);
}

measGraphClass::measGraphClass(winTypeClass* parent_object, int x, int y)
    : winTypeClass(parent_object, meas_graph_window_type),
      linkClass(meas_graph_link_type, 1),
      globalInstanceClass(meas_graph_instances) {
  build(nullptr, x, y);
}

measGraphClass::~measGraphClass() {
  if (popup_) DestroyMenu(popup_);
}

bool measGraphClass::find_test(traceClipboardClass* clipboard) {
  for (winTypeClass* w = parent; w; w = w->parent) {
    if (w->type == thumbnail_window_type) {
      thumbnail_ = static_cast<thumbnailClass*>(w);
      break;
    }
  }
  if (!thumbnail_ && clipboard) {
    // Only the program's clipboard names a source, which may have closed.
    if (auto* program_clipboard = dynamic_cast<clipboardClass*>(clipboard)) {
      thumbnailClass* source = program_clipboard->source_window();
      if (source && thumbnail_in_tree(source)) thumbnail_ = source;
    }
  }
  if (!thumbnail_ || !thumbnail_->loaded() || !thumbnail_->document().model()) {
    thumbnail_ = nullptr;
    errormessage("*** Measurement Graph called without supplying a thumbnail ***");
    return false;
  }
  model_ = thumbnail_->document().model();
  record_ = thumbnail_->document().record();
  return true;
}

bool measGraphClass::thumbnail_alive() const { return thumbnail_ && thumbnail_in_tree(thumbnail_); }

void measGraphClass::build(traceClipboardClass* clipboard, int x, int y) {
  graph_.use_filtered_extents = 1;
  if (!find_test(clipboard)) return;

  const char* caption = fmt("MG%d( %s )", static_cast<int>(instance_number), thumbnail_->document().caption());
  HWND window = CreateWindowExA(0, window_class, caption, WS_OVERLAPPEDWINDOW, x, y,
                                screen_paper.px_x(opening_width_mm), screen_paper.px_y(opening_height_mm), nullptr,
                                nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box("measGraphClass window creation failed", "window", box_ok);
    return;
  }
  set_hwnd(window);
  background_ = class_background_brush(window_class);

  status_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", window, status_bar_id);
  int parts[2] = {first_status_part, -1};
  if (status_) SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));

  build_menus();
  paper scale;
  build_texts(scale);
  build_traces(clipboard);

  // The points lose their names, and take the window's own once its texts
  // are bound.
  model_->awave_point.set_name("unknown");
  model_->bwave_point.set_name("unknown");
  model_->bwave_time.set_name("unknown");
  model_->awave_time.set_name("unknown");
  winTypeClass* holder = thumbnail_->parent;
  if (holder && holder->type == window_type::operations) thumbnail_->recalculate_ab(1);
  bind_texts();
  model_->awave_point.set_name("Bottom");
  model_->bwave_point.set_name("Top");
  model_->bwave_time.set_name("TopX");
  model_->awave_time.set_name("BottomX");
  set_name("measGraph");

  first_layout();
  saved_awave_ms_ = model_->awave_time.value();
  saved_bwave_ms_ = model_->bwave_time.value();
  saved_bwave_uv_ = model_->bwave_point.value();
  saved_awave_uv_ = model_->awave_point.value();
  show();
}

void measGraphClass::build_menus() {
  menu_ = CreateMenu();
  add_bar_menu(menu_, mg_file_menu, "File", file_entries);
  add_bar_menu(menu_, mg_edit_menu, "Edit", edit_entries);
  add_bar_menu(menu_, mg_graph_menu, "Graph", graph_entries);
  add_bar_menu(menu_, mg_view_menu, "View", view_entries);
  set_menu_check(menu_, mg_auto_slope, model_->slope_switch ? 1 : 0);
  for (int id : {mg_view_average, mg_view_parameters, mg_view_circles, mg_view_baseline, mg_view_xhair})
    set_menu_check(menu_, static_cast<UINT>(id), 1);
  SetMenu(hwnd(), menu_);

  popup_ = CreatePopupMenu();
  insert_menu_item_at_top(popup_, mg_copy_average_popup, "Copy Average Trace");
  insert_menu_item_at_top(popup_, mg_marker2, "Set Marker 2");
  insert_menu_item_at_top(popup_, mg_marker1, "Set Marker 1");
  DrawMenuBar(hwnd());
}

void measGraphClass::build_texts(const paper& start) {
  HWND window = hwnd();
  paper scale = start;
  double height = program_font_height_mm();
  int weight = program_logfont.lfWeight;
  const char* face = program_logfont.lfFaceName;
  auto make = [&](textObjectClass& text, const char* format, int lines) {
    text.init_sized(window, format, lines, 2.0, 2.0, scale, height, weight, face);
    text.set_background_brush(background_);
  };

  make(title_text_, fmt("MG%d( %s )", static_cast<int>(instance_number), thumbnail_->document().caption()), 1);
  title_text_.set_size_code(justify_page_centre_top);

  auto make_box = [&](const char* title) {
    auto box = std::make_unique<boxClass>(window, 2.0, 2.0, 30.0, 30.0, scale, title);
    box->label().set_background_brush(background_);
    box->label().set_opaque();
    box->label().style().set_flag(false);
    return box;
  };
  parameter_box_ = make_box(" ERG parameters ");
  make(erg_text_, " ", 3);
  statistics_box_ = make_box(" Graph Statistics ");
  make(statistics_text_, "Absolute maximum = %5.1lf uV, @ %5.1lf mS", 3);
  statistics_text_.set_format_text("Absolute minimum = %5.1lf uV, @ %5.1lf mS", 1);
  statistics_text_.set_format_text("Data points =  %5.0lf, data collection time =  %5.1lf mS", 2);
  statistics_text_.set_live(false);

  make(date_text_, "%s", 1);
  make(xhair_text_, "xhair @ (%6.1lf mS, %6.1lf uV). [Data at %6.1lf uV]", 1);
  xhair_text_.set_opaque();
  xhair_text_.style().set_flag(false);
  xhair_text_.hide();
  make(marker1_text_, "Marker1 (%6.2lf mS, %6.2lf uV)", 1);
  marker1_text_.hide();
  make(marker2_text_, "Marker2 (%6.2lf mS, %6.2lf uV)", 1);
  marker2_text_.hide();
  make(deltas_text_, "Deltas  (%6.2lf mS, %6.2lf uV)", 1);
  deltas_text_.hide();

  for (textObjectClass* text : {&title_text_, &erg_text_, &statistics_text_, &date_text_, &xhair_text_,
                                &marker1_text_, &marker2_text_, &deltas_text_})
    add_item(text);
}

void measGraphClass::bind_texts() {
  waveMeasurementModel& m = *model_;
  // A wave the search did not find shows "---", never its marker; the
  // b-wave's amplitude and the ratio are measured from the a-wave.
  auto no_bwave = [&m] { return !m.bwave_found(); };
  auto no_awave = [&m] { return !m.awave_found() || !m.bwave_found(); };
  if (thumbnail_->document().is_flicker()) {
    erg_text_.set_format_text("FLICKER : b-wave amplitude = %5.1lf uV, implicit time = %5.1lf mS", 0);
    erg_text_.bind_line_value(&m.bwave_amplitude, 0, no_awave);
    erg_text_.bind_line_value(&m.bwave_implicit_time, 0, no_bwave);
    erg_text_.set_format_text("FLICKER : waveform amplitude = %5.1lf uV P-P", 1);
    erg_text_.bind_line_value(&m.bwave_amplitude, 1, no_awave);
    erg_text_.set_format_text("", 2);
  } else {
    erg_text_.set_format_text("a-wave amplitude = %5.1lf uV, implicit time = %5.1lf mS", 0);
    erg_text_.bind_line_value(&m.abs_awave_amplitude, 0, no_awave);
    erg_text_.bind_line_value(&m.awave_implicit_time, 0, no_awave);
    erg_text_.set_format_text("b-wave amplitude = %5.1lf uV, implicit time = %5.1lf mS", 1);
    erg_text_.bind_line_value(&m.bwave_amplitude, 1, no_awave);
    erg_text_.bind_line_value(&m.bwave_implicit_time, 1, no_bwave);
    erg_text_.set_format_text("b/a ratio =  %7.2f :baseline %5.1lf@0mS, slope %5.3lf", 2);
    erg_text_.bind_line_value(&m.ba_ratio, 2, no_awave);
    erg_text_.bind_line_value(&m.baseline_at_left_time, 2);
    erg_text_.bind_line_value(&m.baseline_slope, 2);
  }
  for (int line = 0; line < 3; line++) {
    statistics_text_.bind_line_value(&statistics_[2 * line], line);
    statistics_text_.bind_line_value(&statistics_[2 * line + 1], line);
  }
  xhair_text_.bind_line_value(&graph_.xhair.x_value, 0);
  xhair_text_.bind_line_value(&graph_.xhair.y_value, 0);
  xhair_text_.bind_line_value(&data_at_, 0);
  marker1_text_.bind_line_value(&graph_.marker1.x_value, 0);
  marker1_text_.bind_line_value(&graph_.marker1.y_value, 0);
  marker2_text_.bind_line_value(&graph_.marker2.x_value, 0);
  marker2_text_.bind_line_value(&graph_.marker2.y_value, 0);
  delta_time_.add_arguments(&graph_.marker2.x_value, &graph_.marker1.x_value, nullptr);
  delta_amplitude_.add_arguments(&graph_.marker2.y_value, &graph_.marker1.y_value, nullptr);
  deltas_text_.bind_line_value(&delta_time_, 0);
  deltas_text_.bind_line_value(&delta_amplitude_, 0);
  date_text_.bind_line_value(&date_string_, 0);

  add_dependency(&m.bwave_point);
  add_dependency(&m.awave_point);
  add_dependency(&m.baseline_slope);
  add_dependency(&m.baseline_intercept);
}

void measGraphClass::build_traces(traceClipboardClass* clipboard) {
  testDocument& document = thumbnail_->document();
  const traceClass* held = clipboard ? clipboard->loaded_trace() : nullptr;
  main_entry_ = held ? graph_.add_trace(held) : graph_.add_trace_copy(document.entry());
  if (main_entry_) {
    if (!held) main_entry_->own_trace()->set_label(title_text_.line_text(0));
    main_entry_->set_color(3);
    main_trace_ = main_entry_->active_trace();
  }
  std::unique_ptr<traceClass> last(make_trace_from_block(*record_, record_->LastSweep, 0));
  if (last) {
    last->set_label(title_text_.line_text(0));
    last_entry_ = graph_.add_trace(last.get());
    if (last_entry_) last_trace_ = last_entry_->active_trace();
  }
}

void measGraphClass::first_layout() {
  HWND window = hwnd();
  HDC dc = GetDC(window);
  if (!dc) return;
  const paper& scale = screen_paper;
  double y = (graph_.plot_bottom() - scale.y_origin) / scale.y_px_per_mm + 3.0;
  place_box(*parameter_box_, erg_text_, 2.0, y, dc, scale);
  place_box(*statistics_box_, statistics_text_, parameter_box_->right() + 3.0, y, dc, scale);
  ReleaseDC(window, dc);
  resize(statistics_box_->right() + right_margin_mm, opening_height_mm, scale);
}

paper measGraphClass::client_scale() const { return scale_above_status_bar(hwnd(), status_); }

std::array<dataPoint, adjust_circle_count> measGraphClass::circle_centres() const {
  waveMeasurementModel& m = *model_;
  double right_time = m.baseline_right_time.value();
  return {{{m.bwave_time.value(), m.bwave_point.value()},
           {m.awave_time.value(), m.awave_point.value()},
           {0.0, m.baseline_at_left_time.value()},
           {right_time, m.baseline_at(right_time)}}};
}

bool measGraphClass::update() {
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
}

void measGraphClass::refresh_summary() {
  if (!thumbnail_alive()) return;
  winTypeClass* holder = thumbnail_->parent;
  if (holder && holder->type == window_type::session) static_cast<sessionPanelClass*>(holder)->show_summary();
}

measGraphClass* open_measurement_graph(winTypeClass* parent, traceClipboardClass* clipboard, int x, int y) {
  auto* graph = new measGraphClass(parent, clipboard, x, y);
  if (graph->hwnd()) return graph;
  delete graph;
  return nullptr;
}
