// plotAttributesWindow: the small child window, inside a comparison graph,
// that shows and changes how one trace entry is drawn (shown, used for
// scaling, fill, width, colour, symbols) and filtered (spikes, 60 Hz or
// 50 Hz notch, low-pass at a typed cut-off), copies its trace to the trace
// clipboard and opens the selection of its samples. Every change goes into
// the entry, and the window and its parent are repainted.
//
// Notices to the parent (WM_USER): attributes_notice_copy_menu with the
// lParam of a right click on no selector (the parent offers its copy menu),
// attributes_notice_colour after a line colour was chosen.
//
// The window is a child in the window tree of the graph that made it; the
// graph's entries may go before it does, so the window reads its entry only
// while it handles a message of its own.
#ifndef DESKTOP_WINDOWS_TRACE_PANELS_PLOT_ATTRIBUTES_H
#define DESKTOP_WINDOWS_TRACE_PANELS_PLOT_ATTRIBUTES_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/windows/window_object.h"

class sampleSelectWindowClass;

constexpr uint32_t plot_attributes_window_type = 19;
constexpr uintptr_t attributes_notice_copy_menu = 1;
constexpr uintptr_t attributes_notice_colour = 4;

class plotAttributesWindow : public winTypeClass {
 public:
  // A hidden child window of parent's at (x, y) mm of its client area, for
  // the entry (not owned), titled "<owner name> - <number>. <label>
  // Attributes". Without an entry the window reports and builds nothing.
  // Opening resets the entry's symbols: none, 3 mm, every 20 mS, red.
  plotAttributesWindow(winTypeClass* parent, tracePlusClass* entry, double x, double y, int trace_number,
                       const char* owner_name);
  ~plotAttributesWindow() override;

  // Sets the check boxes and selectors from the entry and lays the selector
  // rows out.
  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // Shows the selection of the entry's samples, or hides it.
  void toggle_samples_window();

  tracePlusClass* entry() const { return entry_; }
  double position_x() const { return x_; }
  double position_y() const { return y_; }
  double width() const { return width_; }
  double height() const { return height_; }
  bool samples_shown() const { return samples_shown_ != 0; }
  sampleSelectWindowClass* samples_window() const { return samples_window_; }

  checkBoxClass* show_box() { return show_box_; }
  checkBoxClass* scaling_box() { return scaling_box_; }
  checkBoxClass* spikes_box() { return spikes_box_; }
  checkBoxClass* notch60_box() { return notch60_box_; }
  checkBoxClass* notch50_box() { return notch50_box_; }
  checkBoxClass* lowpass_box() { return lowpass_box_; }
  buttonClass* copy_button() { return copy_button_; }
  buttonClass* samples_button() { return samples_button_; }
  editLabelClass* lowpass_edit() { return lowpass_edit_; }
  groupBoxClass* filter_box() { return filter_box_; }
  groupMenuClass* fill_menu() { return fill_; }
  groupMenuClass* width_menu() { return width_menu_; }
  groupMenuClass* symbol_menu() { return symbol_; }
  groupMenuClass* size_menu() { return size_; }
  groupMenuClass* separation_menu() { return separation_; }
  groupMenuClass* symbol_colour_menu() { return symbol_colour_; }
  groupMenuClass* line_colour_menu() { return line_colour_; }

 private:
  void build(const paper& s, int trace_number, const char* owner_name);
  void set_start_states();
  void show_selections();
  void click(HWND from);
  void lowpass_typed();
  void show_lowpass();
  void right_click(intptr_t lparam);
  void repaint_both();
  void notify_parent(uintptr_t code, intptr_t lparam);

  tracePlusClass* entry_;
  sampleSelectWindowClass* samples_window_ = nullptr;
  uint8_t samples_shown_ = 0;
  double x_;
  double y_;
  double height_ = 0.0;
  double width_ = 0.0;
  double shown_lowpass_ = 0.0;
  checkBoxClass* show_box_ = nullptr;
  checkBoxClass* scaling_box_ = nullptr;
  buttonClass* copy_button_ = nullptr;
  buttonClass* samples_button_ = nullptr;
  groupBoxClass* filter_box_ = nullptr;
  checkBoxClass* spikes_box_ = nullptr;
  checkBoxClass* notch60_box_ = nullptr;
  checkBoxClass* notch50_box_ = nullptr;
  checkBoxClass* lowpass_box_ = nullptr;
  editLabelClass* lowpass_edit_ = nullptr;
  groupMenuClass* fill_ = nullptr;
  groupMenuClass* width_menu_ = nullptr;
  groupMenuClass* symbol_ = nullptr;
  groupMenuClass* size_ = nullptr;
  groupMenuClass* separation_ = nullptr;
  groupMenuClass* symbol_colour_ = nullptr;
  groupMenuClass* line_colour_ = nullptr;
};

#endif
