// STAND-IN for the main window's own procedure: routes its messages like any
// other window's. Replaced when the desktop analysis windows are built.
#include "analysis_intro_services.h"
#include "window_classes.h"

LRESULT CALLBACK intro_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return route_window_message(window, message, wparam, lparam);
}
