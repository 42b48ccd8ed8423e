// separationPanelClass: the small window that edits a comparison graph's two
// separation offsets, the time step and the voltage step between stacked
// traces. A ";" typed into a field commits that field at once; Apply
// commits both; Cancel puts back the offsets the graph had when the panel
// was made and tells the graph (WM_USER separation_notice_cancelled, lParam
// 1), which hides the panel. Enter hides the panel too: the graph keeps it
// for its whole life and only shows and hides it, so it never holds a
// pointer to a deleted panel.
#ifndef DESKTOP_WINDOWS_TRACE_PANELS_SEPARATION_PANEL_H
#define DESKTOP_WINDOWS_TRACE_PANELS_SEPARATION_PANEL_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/windows/window_object.h"

constexpr uint32_t separation_panel_window_type = 16;
constexpr uintptr_t separation_notice_cancelled = 257;

class separationPanelClass : public winTypeClass {
 public:
  // At (x, y) mm of the screen, owned by the graph's window; the targets
  // are the graph's offsets (they must live as long as the panel).
  separationPanelClass(winTypeClass* graph, double x, double y, const char* title, double* time_target,
                       double* voltage_target);
  ~separationPanelClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  editLabelClass* time_edit() { return time_edit_; }
  editLabelClass* voltage_edit() { return voltage_edit_; }
  buttonClass* apply_button() { return apply_button_; }
  buttonClass* cancel_button() { return cancel_button_; }

 private:
  // A ";" typed into the field commits it: the semicolons go, the field
  // keeps the rest and its number goes to the target.
  void typed(editLabelClass* edit, double* target);
  void show_values();
  void repaint_graph();

  editLabelClass* time_edit_ = nullptr;
  editLabelClass* voltage_edit_ = nullptr;
  double* time_target_;
  double* voltage_target_;
  double saved_time_;
  double saved_voltage_;
  buttonClass* apply_button_ = nullptr;
  buttonClass* cancel_button_ = nullptr;
};

#endif
