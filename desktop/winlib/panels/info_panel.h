// infoPanelClass: the progress window of long work (checking the unit's
// connection, searching folders for tests, loading test files). A heading,
// which the test locator makes a "cancel" label, a test count with its
// accepted count, and ten message lines; it grows to fit them, up to 300 mm
// wide. Each message update lets one waiting window message run, so the
// program stays alive while its caller loops.
//
// The panel closes when its owner deletes it (or posts it WM_CLOSE). The
// close box does not close it: it asks the parent to stop, as a click on the
// heading does, so a caller's loop never finds its panel gone.
#ifndef DESKTOP_WINLIB_PANELS_INFO_PANEL_H
#define DESKTOP_WINLIB_PANELS_INFO_PANEL_H

#include "desktop/winlib/values/text_object.h"
#include "desktop/winlib/windows/window_object.h"

constexpr uint32_t info_panel_type = 17;
constexpr double info_panel_widest_mm = 300.0;

// A window whose long work can be asked to stop (the test locator, window
// type 6): the panel's heading and close box call it.
class cancelRequestTarget {
 public:
  virtual ~cancelRequestTarget() = default;
  virtual void request_cancel() = 0;
};

class infoPanelClass : public winTypeClass {
 public:
  // x, y, width and height in millimetres of the screen.
  infoPanelClass(winTypeClass* parent, const char* title, double x, double y, double width, double height,
                 const char* heading);
  ~infoPanelClass() override;

  // Message line index becomes text; then one waiting window message runs.
  void set_message(int index, const char* text);
  void set_count(int count);
  void set_accepted(int count);

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  double width_mm() const { return width_; }
  // True once the close box or the heading asked the work to stop.
  bool cancel_asked() const { return cancel_asked_; }
  textObjectClass& heading() { return heading_; }
  textObjectClass& messages() { return messages_; }

 private:
  void ask_cancel();

  double width_;
  textObjectClass heading_;
  textObjectClass count_label_;
  textObjectClass count_;
  textObjectClass accepted_;
  textObjectClass messages_;
  bool cancel_asked_ = false;
};

#endif
