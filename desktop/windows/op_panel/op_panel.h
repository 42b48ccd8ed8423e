// opPanelClass: the oscillatory potentials panel. One trace through a
// band-pass FIR, so that the small fast wavelets on the b-wave can be seen:
// two sliders set the band's edges, two more the view's centre and
// magnification, and every change filters again and redraws. The filtered
// trace goes to the trace clipboard or into a new measurement graph; the
// window prints and copies itself as a bitmap.
//
// The panel filters from its own copy of the source trace, so the window
// that gave the trace may close or change it while the panel is open. Made
// with new through open_op_panel; deleted when its window closes.
#ifndef DESKTOP_WINDOWS_OP_PANEL_OP_PANEL_H
#define DESKTOP_WINDOWS_OP_PANEL_OP_PANEL_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/winlib/controls/captions.h"
#include "desktop/data/graph/graph.h"
#include "desktop/winlib/windows/mouse_items.h"
#include "desktop/winlib/values/string_object.h"
#include "desktop/winlib/values/text_object.h"
#include "desktop/winlib/windows/window_object.h"

enum opPanelCommand : int {
  op_popup_trace_clipboard = 1001,
  op_popup_measurement_graph = 1002,
  op_file_menu = 2000,
  op_print = 2002,
  op_edit_menu = 2100,
  op_copy_window = 2101,
  op_copy_trace = 2102,
};

class opPanelClass : public winTypeClass, public lbuttonAwareClass {
 public:
  // (x, y, width, height) in pixels; the caption "OP( title )". A source
  // without two points over a time span leaves the object without a window
  // (the message has been shown).
  opPanelClass(winTypeClass* parent, const traceClass* source, const char* title, int x, int y, int width,
               int height);
  ~opPanelClass() override;

  // The refresh: filters the source into the shown trace and draws the
  // page (screen or printer).
  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // The shown trace into the trace clipboard as "(OP low..high)".
  void copy_to_trace_clipboard();

  int32_t low_frequency() const { return low_; }
  int32_t high_frequency() const { return high_; }
  double centre_offset() const { return centre_offset_; }
  double magnification() const { return magnification_; }
  double sampling_rate() const { return rate_; }
  int32_t frequency_limit() const { return limit_; }
  int taps() const { return taps_; }
  HMENU menu() const { return menu_; }
  HMENU popup() const { return popup_; }
  graphClass& graph() { return graph_; }
  traceClass* shown_trace() const { return shown_; }
  trackbarClass* low_slider() const { return low_slider_.get(); }
  trackbarClass* high_slider() const { return high_slider_.get(); }
  trackbarClass* centre_slider() const { return centre_slider_.get(); }
  trackbarClass* magnification_slider() const { return magnification_slider_.get(); }
  textObjectClass& band_text() { return band_text_; }
  textObjectClass& view_text() { return view_text_; }
  textObjectClass& date_text() { return date_text_; }
  textObjectClass& caption_text() { return caption_text_; }

 private:
  void build_menus();
  void build_sliders(const paper& scale);
  void build_texts(paper& scale);
  void slider_moved(HWND bar, int code, int position);
  void right_button_down(int x, int y);
  void copy_to_measurement_graph();
  // A text right-aligned at the bottom, its bottom edge at y mm.
  void place_right(textObjectClass& text, HDC dc, const paper& scale, double bottom);

  std::string caption_;
  std::unique_ptr<traceClass> source_;
  HMENU menu_ = nullptr;
  HMENU popup_ = nullptr;
  HBRUSH background_ = nullptr;
  tracePlusClass* entry_ = nullptr;
  traceClass* shown_ = nullptr;
  std::unique_ptr<trackbarClass> low_slider_;
  std::unique_ptr<trackbarClass> high_slider_;
  std::unique_ptr<trackbarClass> centre_slider_;
  std::unique_ptr<trackbarClass> magnification_slider_;
  int32_t low_;
  int32_t high_;
  double centre_offset_ = 0.0;
  double centre_step_ = 0.0;
  double magnification_ = 1.0;
  graphClass graph_;
  double rate_ = 0.0;
  int32_t limit_ = 0;
  int taps_ = 31;
  // One string per text: a text is never used as a format.
  stringObjectClass date_string_;
  stringObjectClass band_string_;
  stringObjectClass view_string_;
  stringObjectClass caption_string_;
  textObjectClass date_text_;
  textObjectClass band_text_;
  textObjectClass view_text_;
  textObjectClass caption_text_;
};

// Opens an OP panel on source; null when the source has nothing to filter
// or no window could be made (the message has been shown and nothing is
// left in the window tree). Callers open it 600 x 300 pixels large.
opPanelClass* open_op_panel(winTypeClass* parent, const traceClass* source, const char* title, int x, int y,
                            int width = 600, int height = 300);

#endif
