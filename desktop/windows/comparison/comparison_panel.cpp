#include "desktop/windows/comparison/comparison_panel.h"

#include <commctrl.h>

#include <cstring>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/windows/trace_panels/plot_attributes.h"
#include "desktop/windows/trace_panels/separation_panel.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/controls/status_bar.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

int32_t comparison_instances = 0;

constexpr int status_bar_id = 1;
constexpr int first_status_part = 300;

// Opening sizes: a fixed graph 790 x 500 pixels, another 200 mm x 500 pixels.
constexpr int fixed_width_px = 790;
constexpr int opening_height_px = 500;
constexpr double free_width_mm = 200.0;

// The list of traces: its width in characters and its rows.
constexpr int list_chars = 26;
constexpr int list_rows = 3;

const char* const gain_label_texts[4] = {"X gain up", "X gain down", "Y gain up", "Y gain down"};

}  // namespace

comparisonPanelClass::comparisonPanelClass(winTypeClass* parent_object, const char* name, int fixed)
    : winTypeClass(parent_object, comparison_window_type), globalInstanceClass(comparison_instances) {
  if (!name) name = "";
  x_gain_.set_value(1.0);
  y_gain_.set_value(1.0);
  x_centre_.set_value(0.0);
  y_centre_.set_value(0.0);
  delta_x_.set_value(0.0);
  delta_y_.set_value(0.0);
  panel_name_.set(fmt("CG%d", static_cast<int>(instance_number)));
  create_window(name, fixed);
  HWND window = hwnd();
  if (!window) return;

  status_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", window, status_bar_id);
  int parts[2] = {first_status_part, -1};
  if (status_) SendMessageA(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));

  build_menus();
  background_ = class_background_brush(fixed ? "comparisonPanelx" : "comparisonPanel");
  build_texts(name);
  build_copy_menu();
  DragAcceptFiles(window, TRUE);
  show();
}

comparisonPanelClass::~comparisonPanelClass() {
  // The windows opened over this graph's traces and offsets (attributes
  // windows, the separation panel, number entries, annotation editors, the
  // graphs made from it) close before the traces and offsets they point at.
  remove_window_children(node);
  delete trace_list_;
  delete paste_button_;
  if (arial_font_) DeleteObject(arial_font_);
  if (courier_font_) DeleteObject(courier_font_);
  // The pop-up menus are no window's menu: they go here. The main menu goes
  // with the window.
  if (popup_) DestroyMenu(popup_);
  if (copy_menu_) DestroyMenu(copy_menu_);
  owners_.clear();
}

void comparisonPanelClass::create_window(const char* name, int fixed) {
  POINT at = next_cascade_position();
  const char* window_class = fixed ? "comparisonPanelx" : "comparisonPanel";
  int width = fixed ? fixed_width_px : screen_paper.scale_x(free_width_mm);
  HWND window = CreateWindowExA(0, window_class, fmt("CG%d( %s )", static_cast<int>(instance_number), name),
                                WS_OVERLAPPEDWINDOW, at.x, at.y, width, opening_height_px, nullptr, nullptr,
                                program_instance, nullptr);
  if (!window) {
    show_message_box(fmt("### comparisonPanel window creation failed ###\n%s", last_error_text(0)), "window", box_ok);
    return;
  }
  set_hwnd(window);
}

void comparisonPanelClass::build_texts(const char* name) {
  HWND window = hwnd();
  paper scale;
  courier_font_ = make_font_scaled(screen_paper, 3.0, 2.5, 400, "Courier", 0.0, 0);
  arial_font_ = make_font_scaled(screen_paper, 3.5, 2.0, 400, "Arial", 0.0, 1);

  auto readout = [&](textObjectClass& text) {
    text.init_sized(window, " ", 1, 2.0, 2.0, scale, 3.5, 400, "Arial");
    text.set_background_brush(background_);
    text.hide();
    add_item(&text);
  };
  readout(marker1_text_);
  readout(marker2_text_);
  readout(deltas_text_);
  for (textObjectClass& line : print_lines_) {
    line.init_sized(window, " ", 1, 20.0, 2.0, scale, 3.0, 400, "Courier");
    line.hide();
  }
  date_text_.init_sized(window, " ", 1, 2.0, 2.0, scale, 3.5, 400, "Arial");
  for (int i = 0; i < 4; i++) {
    gain_labels_[i].init(window, arial_font_, gain_label_texts[i], 1, 2.0, 2.0, scale);
    gain_labels_[i].set_text_color(RGB(0, 0, 255));
  }
  trace_list_ = new listBoxClass(window, courier_font_, 2.0, 2.0, list_chars, list_rows, scale, "traces", 0);
  paste_button_ = new buttonClass(window, nullptr, trace_list_->right() + 2.0, 2.0, 15.0, 7.0, scale, " TPaste ",
                                  BS_PUSHBUTTON);
  title_text_.init_sized(window, "%s", 1, 2.0, 1.5, scale, 4.0, 400, "Arial");
  title_text_.set_format_text(name, 0);
  title_text_.set_background_brush(background_);
  title_text_.hide();
  caption_text_.init_sized(window, fmt("CG%d( %s )", static_cast<int>(instance_number), name), 1, 2.0, 1.5, scale,
                           4.0, 400, "Arial");
  caption_text_.set_justification(justify_page_centre_top);
  caption_text_.set_background_brush(background_);
  add_item(&title_text_);
  add_item(&caption_text_);
}

paper comparisonPanelClass::client_scale() const { return scale_above_status_bar(hwnd(), status_); }

double comparisonPanelClass::x_to_page(double x, const paper& scale) {
  return (graph_.x_map().to_pixel(x) - scale.x_origin) / scale.x_px_per_mm;
}

double comparisonPanelClass::y_to_page(double y, const paper& scale) {
  return (graph_.y_map().to_pixel(y) - scale.y_origin) / scale.y_px_per_mm;
}

int32_t comparisonPanelClass::trace_count() const { return static_cast<int32_t>(owners_.size()); }

tracePlusClass* comparisonPanelClass::trace_entry(int number) {
  if (number < 1 || number > graph_.trace_count()) return nullptr;
  return graph_.trace_entry(number - 1);
}

winTypeClass* comparisonPanelClass::owner_at(size_t row) const {
  if (row >= owners_.size()) return nullptr;
  winTypeClass* owner = owners_[row];
  const windowNode* node = owner ? find_window_node(owner) : nullptr;
  return node && node->object == owner ? owner : nullptr;
}

winTypeClass* comparisonPanelClass::trace_owner(int number) const {
  return number < 1 ? nullptr : owner_at(static_cast<size_t>(number - 1));
}

tracePlusClass* comparisonPanelClass::add_trace(traceClipboardClass* clipboard) {
  if (!clipboard) {
    errormessage("*** comparisonPanelClass::add_trace: NULL clipboard pointer ***");
    return nullptr;
  }
  if (!clipboard->loaded()) {
    errormessage("*** comparisonPanelClass::add_trace: CLIPBOARD NOT LOADED ***");
    return nullptr;
  }
  // Only the program's clipboard names a source, which may have closed.
  if (auto* program_clipboard = dynamic_cast<clipboardClass*>(clipboard)) {
    thumbnailClass* source = program_clipboard->source_window();
    const windowNode* node = source ? find_window_node(source) : nullptr;
    if (node && node->object == source && source->loaded() && source->document().entry())
      return attach_trace(source->document().entry(), source);
  }
  return add_trace_copy(clipboard->loaded_trace(), nullptr);
}

tracePlusClass* comparisonPanelClass::attach_trace(tracePlusClass* entry, winTypeClass* owner) {
  if (!entry) return nullptr;
  tracePlusClass* added = graph_.add_trace_copy(entry);
  if (!added) return nullptr;
  latest_entry_ = added;
  added->set_color(cycle_colour(graph_.trace_count() - 1));
  owners_.push_back(owner);
  return register_trace(added);
}

tracePlusClass* comparisonPanelClass::add_trace_copy(const traceClass* trace, winTypeClass* owner) {
  if (!trace) return nullptr;
  tracePlusClass* added = graph_.add_trace(trace);
  if (!added) return nullptr;
  latest_entry_ = added;
  added->set_color(cycle_colour(graph_.trace_count()));
  owners_.push_back(owner);
  return register_trace(added);
}

tracePlusClass* comparisonPanelClass::add_xy_arrays(const double* x, const double* y, int32_t n, int32_t colour) {
  tracePlusClass* added = graph_.add_xy_arrays(x, y, n, colour);
  if (!added) return nullptr;
  latest_entry_ = added;
  owners_.push_back(nullptr);
  return register_trace(added);
}

tracePlusClass* comparisonPanelClass::register_trace(tracePlusClass* entry) {
  add_new_menu(entry);
  if (const traceClass* latest = latest_entry_ ? latest_entry_->active_trace() : nullptr) {
    x_span_ = (latest->xmax() - latest->xmin()) / x_gain();
    x_centre_.set_value((latest->xmax() + latest->xmin()) / 2.0);
    y_centre_.set_value((latest->ymax() + latest->ymin()) / 2.0);
  }
  if (!first_entry_) first_entry_ = entry;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
  return entry;
}

bool comparisonPanelClass::is_own_child(const winTypeClass* window) const {
  const windowNode* found = window ? find_window_node(window) : nullptr;
  return found && found->object == window && found->parent == node;
}

plotAttributesWindow* comparisonPanelClass::attributes_of(const tracePlusClass* entry) const {
  // An entry copied from another graph's carries that graph's window.
  plotAttributesWindow* window = entry ? entry->attributes_window() : nullptr;
  return is_own_child(window) ? window : nullptr;
}

plotAttributesWindow* comparisonPanelClass::attributes_window() const {
  return is_own_child(attributes_window_) ? attributes_window_ : nullptr;
}

void comparisonPanelClass::open_attributes_window(tracePlusClass* entry) {
  attributes_window_ = attributes_of(entry);
  if (!attributes_window_) {
    errormessage("### comparisonPanelClass::open_attributes_window - NULL PLOT ATTRIBUTES POINTER ###\nItem offset %d",
                 selected_row_);
    return;
  }
  // Painting places and sizes it under the graph.
  attributes_window_->show();
  attributes_window_->restore();
  attributes_window_->invalidate();
  attributes_needs_placing_ = 1;
}

traceClass* comparisonPanelClass::set_scaling_flag(int number, uint8_t flag) {
  traceClass* touched = nullptr;
  for (int i = 1; i <= graph_.trace_count(); i++) {
    if (number >= 1 && i != number) continue;
    tracePlusClass* entry = graph_.trace_entry(i - 1);
    if (!entry) continue;
    entry->set_use_for_scaling(flag);
    touched = entry->active_trace();
  }
  return touched;
}

separationPanelClass* comparisonPanelClass::separation_panel() const {
  return is_own_child(separation_panel_) ? separation_panel_ : nullptr;
}

bool comparisonPanelClass::menu_checked(int id) const {
  UINT state = GetMenuState(menu_, static_cast<UINT>(id), MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

