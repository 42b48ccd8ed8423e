// editNumberClass: a small pop-up window for typing one number (filter and
// marker frequencies). The value goes to the caller's target, and the parent
// window hears of each written value by WM_USER (wParam 0, lParam the
// caller's code). "Update" accepts, "Revert" restores the value at opening,
// "Close" closes; a typed ";" (or typing past the field's end) accepts and
// closes. The pop-up closes itself by posting WM_CLOSE, on which the routing
// window procedure deletes it.
#ifndef DESKTOP_WINLIB_CONTROLS_EDIT_NUMBER_H
#define DESKTOP_WINLIB_CONTROLS_EDIT_NUMBER_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/windows/window_object.h"

constexpr uint32_t edit_number_window_type = 16;

class editNumberClass : public winTypeClass {
 public:
  // x, y in millimetres of the screen. The target must outlive the pop-up.
  editNumberClass(winTypeClass* parent, const char* title, double x, double y, double initial_value, double* target,
                  uint32_t notify_code);
  ~editNumberClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  editLabelClass* entry() { return entry_; }
  buttonClass* update_button() { return update_button_; }
  buttonClass* revert_button() { return revert_button_; }
  buttonClass* close_button() { return close_button_; }

 private:
  // Reads the field: one number goes to the target and the parent is told
  // (true); anything else is reported and the value at opening is put back.
  bool accept(const char* text);
  void show_initial();
  void notify_parent();
  void close();

  editLabelClass* entry_ = nullptr;
  double initial_value_;
  double* target_;
  uint32_t notify_code_;
  buttonClass* update_button_ = nullptr;
  buttonClass* revert_button_ = nullptr;
  buttonClass* close_button_ = nullptr;
  uint8_t closing_ = 0;
};

#endif
