#include "platform/modal/modal_ui.h"

namespace {

int real_message_box_w(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return MessageBoxW(owner, text, caption, type);
}

int real_message_box_a(HWND owner, const char* text, const char* caption, UINT type) {
  return MessageBoxA(owner, text, caption, type);
}

INT_PTR real_dialog_box_param_a(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param) {
  return DialogBoxParamA(instance, name, owner, procedure, param);
}

const modal_ui_calls platform_calls = {real_message_box_w, real_message_box_a, real_dialog_box_param_a};
modal_ui_calls current = platform_calls;

}  // namespace

const modal_ui_calls& modal_ui() { return current; }

const modal_ui_calls& modal_ui_platform() { return platform_calls; }

modal_ui_calls modal_ui_install(const modal_ui_calls& calls) {
  modal_ui_calls previous = current;
  current.message_box_w = calls.message_box_w ? calls.message_box_w : platform_calls.message_box_w;
  current.message_box_a = calls.message_box_a ? calls.message_box_a : platform_calls.message_box_a;
  current.dialog_box_param_a =
      calls.dialog_box_param_a ? calls.dialog_box_param_a : platform_calls.dialog_box_param_a;
  return previous;
}

int modal_message_box(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
  return current.message_box_w(owner, text, caption, type);
}

int modal_message_box(HWND owner, const char* text, const char* caption, UINT type) {
  return current.message_box_a(owner, text, caption, type);
}

INT_PTR modal_dialog_box(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param) {
  return current.dialog_box_param_a(instance, name, owner, procedure, param);
}
