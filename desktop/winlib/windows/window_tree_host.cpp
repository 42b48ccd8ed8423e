// The portable build has no windows: a node's handle is only a key.
#include "window_tree.h"

void destroy_window_handle(HWND) {}
