#include "handheld/ui/main_dialog.h"

HWND main_dialog = nullptr;
