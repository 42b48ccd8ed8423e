// sampleWindowClass: one sample of a selection window: a small child window
// with the sample's graph and its "Use %2.2d" check box (checked: the sample
// takes part in the test's average), and a pop-up menu whose "TCOPY" copies
// the sample's trace to the trace clipboard. A change of the check box is
// put to the selection window, which may refuse it; then the box goes back.
#ifndef DESKTOP_WINDOWS_SAMPLES_SAMPLE_WINDOW_H
#define DESKTOP_WINDOWS_SAMPLES_SAMPLE_WINDOW_H

#include <windows.h>

#include "desktop/winlib/geometry/position.h"
#include "desktop/windows/samples/sample_cell.h"
#include "desktop/winlib/windows/window_object.h"

class checkBoxClass;

// Window type of the selection window and its sample windows.
constexpr uint32_t samples_window_type = 22;
// The pop-up menu's one command.
constexpr int sample_copy_command = 1000;

class sampleWindowClass : public winTypeClass, public positionClass {
 public:
  // A child of parent's window at (x, y) mm, 40 mm square, showing a copy
  // of trace, checked when included.
  sampleWindowClass(winTypeClass* parent, double x, double y, int number, const traceClass* trace, bool included);
  ~sampleWindowClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  int number() const { return cell_.number(); }
  bool is_included() const;
  void set_included(bool included);
  traceClass* trace() { return cell_.trace(); }
  checkBoxClass* check_box() const { return check_; }
  HMENU popup_menu() const { return popup_; }

 private:
  void check_box_clicked();

  sampleCell cell_;
  checkBoxClass* check_ = nullptr;
  HMENU popup_ = nullptr;
};

#endif
