// Files dropped on a window, as the shell hands them over: the handle a
// window's WM_DROPFILES receives.
#ifndef DESKTOP_WINLIB_TESTS_FILE_DROP_H
#define DESKTOP_WINLIB_TESTS_FILE_DROP_H

#include <windows.h>

#include <string>
#include <vector>

// A drop of these paths (narrow names); the window that takes it frees it
// with DragFinish.
HDROP make_drop(const std::vector<std::string>& paths);

#endif
