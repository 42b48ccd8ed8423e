// TEMPORARY STAND-IN for the session panel (see session_panel.h).
#include "session_panel.h"

#include "file_streams.h"

sessionPanelClass::sessionPanelClass(int mode, const char* path, int several_files)
    : winTypeClass(nullptr, window_type::session), mode_(mode) {
  HWND window = CreateWindowExA(0, "session", path ? path : "SESSION", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                400, 300, nullptr, nullptr, instance, nullptr);
  set_hwnd(window);
  add_files(mode, path, several_files);
}

void sessionPanelClass::draw(HDC, const paper&) {}

intptr_t sessionPanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return DefWindowProcA(hwnd(), message, wparam, lparam);
}

bool sessionPanelClass::add_files(int, const char* path, int several_files) {
  several_.push_back(several_files);
  paths_.push_back(path ? path : "");
  if (path && !file_exists(path)) status_ = 0;
  return status_ == 1;
}
