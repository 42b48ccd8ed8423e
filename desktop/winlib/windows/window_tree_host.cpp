// The portable build has no windows: a node's handle is only a key.
#include "desktop/winlib/windows/window_tree.h"

void destroy_window_handle(HWND) {}
