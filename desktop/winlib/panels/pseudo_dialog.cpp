#include "desktop/winlib/panels/pseudo_dialog.h"

#include "desktop/winlib/messages/messages.h"

pseudoDialogClass::pseudoDialogClass(winTypeClass* parent, uint32_t caller_data)
    : winTypeClass(parent, pseudo_dialog_type), caller_data_(caller_data), result_code_(pseudo_dialog_open) {
  if (parent == nullptr) {
    errormessage("*** pseudoDialogClass - NO PARENT PROVIDED. ***");
    result_code_ = pseudo_dialog_cancelled;
  }
}

pseudoDialogClass::~pseudoDialogClass() = default;

void pseudoDialogClass::set_result_text(const char* text) {
  result_text_.set(text);
  if (parent != nullptr && parent->hwnd() != nullptr) {
    PostMessageA(parent->hwnd(), WM_USER, pseudo_dialog_text_changed, 0);
  }
}

bool pseudoDialogClass::post_result() {
  if (ended_) return false;
  ended_ = true;
  if (parent == nullptr || parent->hwnd() == nullptr) return false;
  return PostMessageA(parent->hwnd(), WM_USER, result_code_, static_cast<LPARAM>(caller_data_)) != 0;
}
