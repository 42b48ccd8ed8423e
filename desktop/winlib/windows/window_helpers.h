// Window creation, button checks and window rectangles in millimetres.
#ifndef DESKTOP_WINLIB_WINDOWS_WINDOW_HELPERS_H
#define DESKTOP_WINLIB_WINDOWS_WINDOW_HELPERS_H

#include <windows.h>

#include <cstdint>

// A shown child (or top-level, for a null parent) window of the program's
// instance; null, reported "window window creation failed", on failure.
HWND create_child_window(HWND parent, const char* class_name, const char* title, DWORD style, int x, int y,
                         int width, int height);

// The client point of a mouse message's lparam, signed: left of or above the
// client area is negative.
inline int x_of(intptr_t lparam) { return static_cast<short>(LOWORD(lparam)); }
inline int y_of(intptr_t lparam) { return static_cast<short>(HIWORD(lparam)); }

bool button_is_checked(HWND button);
void check_button(HWND button);
void uncheck_button(HWND button);
// Flips the check; true when the button is now checked.
bool toggle_button(HWND button);

// A window's rectangle in millimetres of the screen record:
//   whole 1, corners not 2: 0, 0 and the window's width and height;
//   whole 1, corners 2: the window rectangle on the screen;
//   whole not 1, corners not 2: the client rectangle on the screen;
//   whole not 1, corners 2: the client rectangle plus the window's left and
//   top.
// False, reported with the system's text, when the window has no rectangle
// (the outputs are untouched).
bool window_rect(HWND window, double* a, double* b, double* c, double* d, int whole, int corners);
// b's window rectangle less a's, corner by corner.
bool relative_window_rect(HWND a, HWND b, double* left, double* top, double* right, double* bottom);

#endif
