// averagePanelClass: the settings of an averaged trace in a small panel:
// three switches (average trace, error bars, bin boundaries), the bin count
// and the bin width in milliseconds. Each switch change is posted to the
// owner window, which reads the controls itself.
#ifndef DESKTOP_WINDOWS_AVERAGE_PANEL_AVERAGE_PANEL_H
#define DESKTOP_WINDOWS_AVERAGE_PANEL_AVERAGE_PANEL_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/controls/control.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/windows/window_object.h"

constexpr uint32_t average_panel_window_type = 16;

// The notice posted to the owner: WM_USER with this code in wParam, and
// lParam average_panel_opened once the panel is built, 0 after a switch
// changed.
constexpr uintptr_t average_panel_notice = 513;
constexpr intptr_t average_panel_opened = 0x7000;

class averagePanelClass : public winTypeClass, public controlListClass {
 public:
  // A panel of the class "generalNOCLOSE" at (x, y) pixels, owned by the
  // owner's window. Without a window no control is built.
  averagePanelClass(winTypeClass* owner, const char* title, int x, int y);
  // The controls go with the control list.
  ~averagePanelClass() override = default;

  // Every control rescales itself to the paper.
  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  checkBoxClass* average_trace() const { return average_trace_; }
  checkBoxClass* error_bars() const { return error_bars_; }
  checkBoxClass* bin_boundaries() const { return bin_boundaries_; }
  editLabelClass* bin_count() const { return bin_count_; }
  editLabelClass* bin_width() const { return bin_width_; }

 private:
  checkBoxClass* average_trace_ = nullptr;
  checkBoxClass* error_bars_ = nullptr;
  checkBoxClass* bin_boundaries_ = nullptr;
  editLabelClass* bin_count_ = nullptr;
  editLabelClass* bin_width_ = nullptr;
};

#endif
