#include "main_dialog.h"

HWND mainDialog = nullptr;
