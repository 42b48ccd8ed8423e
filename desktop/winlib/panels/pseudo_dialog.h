// pseudoDialogClass: the protocol of windows that behave like dialogs
// without being platform dialogs: a result code, a result text, the caller's
// data, and notices to the parent window.
#ifndef DESKTOP_WINLIB_PANELS_PSEUDO_DIALOG_H
#define DESKTOP_WINLIB_PANELS_PSEUDO_DIALOG_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/windows/window_object.h"

constexpr uint32_t pseudo_dialog_type = 333;
constexpr uint32_t pseudo_dialog_ok = 4097;
constexpr uint32_t pseudo_dialog_cancelled = 4098;  // also the code without a parent
constexpr uint32_t pseudo_dialog_open = 4099;
// wParam of the parent's WM_USER when the result text changed.
constexpr uint32_t pseudo_dialog_text_changed = 4100;

class pseudoDialogClass : public winTypeClass {
 public:
  pseudoDialogClass(winTypeClass* parent, uint32_t caller_data);
  ~pseudoDialogClass() override;

  // The dialog's own set-up on a starting text (a path for the directory
  // panel).
  virtual void set_up(const char* text) = 0;

  // Keeps text as the result; with a parent, posts it WM_USER (4100, 0).
  void set_result_text(const char* text);
  const char* result_text() const { return result_text_.text(); }
  uint32_t caller_data() const { return caller_data_; }
  uint32_t result_code() const { return result_code_; }

 protected:
  // Posts the parent WM_USER (result code, caller data), once: a dialog
  // ends with one result whatever closes it afterwards. False when it had
  // already ended (or has no parent to tell).
  bool post_result();
  void set_result_code(uint32_t code) { result_code_ = code; }
  bool ended() const { return ended_; }

 private:
  uint32_t caller_data_;
  byteObjectClass result_text_;
  uint32_t result_code_;
  bool ended_ = false;
};

#endif
