// The comparison graph's menus: the main menu, the right-click pop-up with
// one sub-menu per trace, the "Copy Trace To:" menu, and the rows of the
// trace list.
#include <windows.h>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/windows/trace_panels/plot_attributes.h"

namespace {

// A sub-menu item whose own identifier is id (the pop-up returns it when the
// item itself is chosen on a keyboard, and it names the sub-menu).
HMENU append_sub_menu(HMENU menu, int id, const char* text) {
  HMENU sub = CreatePopupMenu();
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
  item.wID = static_cast<UINT>(id);
  item.hSubMenu = sub;
  item.dwTypeData = const_cast<char*>(text);
  InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
  return sub;
}

constexpr menuEntry file_entries[] = {{cg_command::load_text, "Load Trace from Text File"},
                                      {cg_command::save_all, "Save Traces in Text Format"},
                                      {0, nullptr},
                                      {cg_command::print, "Print"},
                                      {cg_command::close, "Close"}};
constexpr menuEntry edit_entries[] = {{cg_command::copy_bitmap, "Copy Bitmap"},
                                      {cg_command::paste, "Paste Trace (TPASTE)"}};
constexpr menuEntry copy_entries[] = {{cg_command::copy_measurement, "Copy Trace To: Measurement Graph"},
                                      {cg_command::copy_op_panel, "               Osc Potentials Graph"},
                                      {cg_command::copy_comparison, "               Comparison Graph"},
                                      {cg_command::copy_fft, "               FFT Graph"},
                                      {cg_command::copy_text_file, "               xy Text File"}};

}  // namespace

void comparisonPanelClass::build_menus() {
  menu_ = CreateMenu();
  add_bar_menu(menu_, cg_command::file_menu, "File", file_entries);
  add_bar_menu(menu_, cg_command::edit_menu, "Edit", edit_entries);
  AppendMenuA(menu_, MF_STRING, static_cast<UINT_PTR>(cg_command::graph_menu), "Graph");
  graph_menu_ = attach_popup_menu(menu_, cg_command::graph_menu);
  if (graph_menu_) {
    append_menu_item(graph_menu_, cg_command::reset_scaling, "Reset Graph Scaling");
    HMENU align = append_sub_menu(graph_menu_, cg_command::align_menu, "Align at ...");
    append_menu_item(align, cg_command::align_flash, "Flashpoint");
    append_menu_item(align, cg_command::align_marker1, "Marker1 time");
    constexpr menuEntry rest[] = {{cg_command::separate, "Separate Traces"},
                                  {cg_command::scale_active, "Scale To Active Traces"},
                                  {0, nullptr},
                                  {cg_command::graph_only, "Show Graph Only"},
                                  {cg_command::gridlines, "Show Gridlines"},
                                  {cg_command::average, "Show Average Trace"},
                                  {0, nullptr},
                                  {cg_command::show_marker1, "Show Marker 1"},
                                  {cg_command::show_marker2, "Show Marker 2"}};
    append_menu_entries(graph_menu_, rest, sizeof rest / sizeof rest[0]);
    set_menu_check(graph_menu_, cg_command::show_marker1, 1);
    set_menu_check(graph_menu_, cg_command::show_marker2, 1);
  }
  graph_.use_filtered_extents = 0;
  SetMenu(hwnd(), menu_);

  popup_ = CreatePopupMenu();
  insert_menu_item_at_top(popup_, cg_command::annotation_popup, "Add Annotation");
  insert_menu_item_at_top(popup_, cg_command::marker2_popup, "Set Marker 2");
  insert_menu_item_at_top(popup_, cg_command::marker1_popup, "Set Marker 1");
  insert_menu_item_at_top(popup_, cg_command::paste_popup, "Paste Trace");
  DrawMenuBar(hwnd());
}

void comparisonPanelClass::build_copy_menu() {
  copy_menu_ = CreatePopupMenu();
  append_menu_entries(copy_menu_, copy_entries, sizeof copy_entries / sizeof copy_entries[0]);
}

void comparisonPanelClass::add_new_menu(tracePlusClass* entry) {
  int n = graph_.trace_count();
  if (!entry || !trace_list_) return;
  const traceClass* trace = entry->active_trace();
  int row = trace_list_->add_string(trace_line_text(n, entry->color(), trace->legend_text()).c_str());
  if (row < 0) {
    errormessage("### comparisonPanelClass::add_new_menu - ERROR ADDING ENTRY TO TRACE LIST ###");
  } else {
    if (!attributes_of(entry)) {
      const paper& scale = screen_paper;
      double below_graph = graph_.plot_bottom() > 0 ? scale.mm_y(graph_.plot_bottom()) + 2.0 : 2.0;
      new plotAttributesWindow(this, entry, trace_list_->right(), below_graph, n, panel_name());
    }
    selected_row_ = row;
    open_attributes_window(entry);
  }

  HMENU item = append_sub_menu(popup_, trace_command_id(n, cg_trace::item),
                               trace_item_text(n, trace->legend_text()).c_str());
  HMENU plot = append_sub_menu(item, trace_command_id(n, cg_trace::plot_menu), "Plot");
  append_menu_item(plot, trace_command_id(n, cg_trace::show), "Show");
  set_menu_check(plot, trace_command_id(n, cg_trace::show), 1);
  append_menu_item(plot, trace_command_id(n, cg_trace::scale_to), "Scale To");
  set_menu_check(plot, trace_command_id(n, cg_trace::scale_to), 1);

  HMENU fill = append_sub_menu(plot, trace_command_id(n, cg_trace::fill_menu), "Fill");
  const menuEntry fills[] = {{cg_trace::fill_none, "None"},
                             {cg_trace::fill_solid, "Solid"},
                             {cg_trace::fill_dash2, "Dash-2"},
                             {cg_trace::fill_dash5, "Dash-5"},
                             {cg_trace::fill_dash10, "Dash-10"}};
  for (const menuEntry& e : fills) append_menu_item(fill, trace_command_id(n, e.id), e.text);
  set_menu_check(fill, trace_command_id(n, cg_trace::fill_solid), 1);

  HMENU symbol = append_sub_menu(plot, trace_command_id(n, cg_trace::symbol_menu), "Symbol");
  append_menu_item(symbol, trace_command_id(n, cg_trace::symbol_point), "Point");
  append_menu_item(symbol, trace_command_id(n, cg_trace::symbol_plus), "Plus");
  set_menu_check(symbol, trace_command_id(n, cg_trace::symbol_point), 1);

  HMENU colour = append_sub_menu(plot, trace_command_id(n, cg_trace::colour_menu), "Color");
  for (int index : {0, 5, 2, 4, 3})
    append_menu_item(colour, trace_command_id(n, cg_trace::colour_menu + index), colour_name(index));
  set_trace_colour_checks(n, entry->color());

  HMENU filter = append_sub_menu(plot, trace_command_id(n, cg_trace::filter_menu), "Filter");
  const menuEntry filters[] = {{cg_trace::filter_spikes, "Spikes"},
                               {cg_trace::filter_60hz, "60 Hz"},
                               {cg_trace::filter_50hz, "50 Hz"},
                               {cg_trace::filter_lowpass, "Low Pass"}};
  for (const menuEntry& e : filters) append_menu_item(filter, trace_command_id(n, e.id), e.text);
  AppendMenuA(filter, MF_SEPARATOR, 0, nullptr);
  append_menu_item(filter, trace_command_id(n, cg_trace::lowpass_frequency), "Set Low Pass Frequency");
  set_menu_check(filter, trace_command_id(n, cg_trace::filter_spikes), entry->has_spike_filter() ? 1 : 0);
  set_menu_check(filter, trace_command_id(n, cg_trace::filter_60hz), entry->has_60hz_filter() ? 1 : 0);
  set_menu_check(filter, trace_command_id(n, cg_trace::filter_50hz), entry->has_50hz_filter() ? 1 : 0);
  set_menu_check(filter, trace_command_id(n, cg_trace::filter_lowpass), entry->has_lowpass_filter() ? 1 : 0);

  HMENU copy = append_sub_menu(item, trace_command_id(n, cg_trace::copy_menu), "Copy To");
  const menuEntry copies[] = {{cg_trace::copy_clipboard, "Trace Clipboard (TCOPY)"},
                              {cg_trace::copy_measurement, "Measurement Graph"},
                              {cg_trace::copy_op_panel, "Osc Potentials Graph"},
                              {cg_trace::copy_comparison, "Comparison Graph"},
                              {cg_trace::copy_fft, "FFT Graph"},
                              {cg_trace::copy_text_file, "xy Text File"},
                              {cg_trace::copy_bitmap, "Windows Clipboard (Bitmap)"}};
  for (const menuEntry& e : copies) append_menu_item(copy, trace_command_id(n, e.id), e.text);
}

void comparisonPanelClass::set_trace_colour_checks(int number, int32_t colour) {
  for (int index : {0, 5, 2, 4, 3})
    set_menu_check(popup_, trace_command_id(number, cg_trace::colour_menu + index), index == colour ? 1 : 0);
}

void comparisonPanelClass::update_trace_line(int number, tracePlusClass* entry) {
  if (!entry || !trace_list_ || number < 1) return;
  trace_list_->replace_string(number - 1,
                              trace_line_text(number, entry->color(), entry->active_trace()->legend_text()).c_str());
  if (selected_row_ >= 0) trace_list_->set_selection(selected_row_);
}
