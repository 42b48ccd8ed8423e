// The Windows build's message boxes: through the modal seam.
#include <windows.h>

#include "message_box.h"
#include "modal_ui.h"

int show_message_box(const char* text, const char* caption, unsigned style) {
  return modal_message_box(static_cast<HWND>(nullptr), text, caption, style);
}
