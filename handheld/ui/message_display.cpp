#include "handheld/ui/message_display.h"

#include "handheld/ui/colour_brushes.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/window_placement.h"

void show_message(int kind, bool replace, const char* format, ...) {
  va_list args;
  va_start(args, format);
  present_message(kind, format, args);
  va_end(args);
  request_menu(main_dialog, PAGE_DEFAULT, MENU_MESSAGE, nullptr, 0, replace);
}

INT_PTR CALLBACK messageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      messageLayout layout = message_layout();
      if (layout.position == 1) {
        center_window_horizontally(dialog);
      } else if (layout.position == 2) {
        place_window_low(dialog);
      } else {
        center_window(dialog);
      }
      if (layout.control != -1) {
        wchar_t text[MESSAGE_TEXT_CAPACITY];
        copy_message_text(text, MESSAGE_TEXT_CAPACITY);
        SetDlgItemTextW(dialog, layout.control, text);
      }
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
      return reinterpret_cast<INT_PTR>(message_brush(message_layout().kind));
    case WM_USER:
      if (wParam == PAGE_CLOSE) {
        pop_message_history();
        DestroyWindow(dialog);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}
