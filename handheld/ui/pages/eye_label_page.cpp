#include "handheld/ui/pages/eye_label_page.h"

#include <stdio.h>

#include <string>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/plotter/plot_scales.h"
#include "handheld/ui/window_placement.h"

int eye_choice = 0;

namespace {

int label_code(int32_t eye) { return eye == kEyeOD ? 2 : eye == kEyeOS ? 3 : 1; }

}  // namespace

void show_eye_choices(HWND dialog) {
  const std::string label = eye_label(channels.a_on.load() != 0, channels.b_on.load() != 0,
                                      label_code(channels.eye_a.load()), label_code(channels.eye_b.load()));
  char line[96];
  snprintf(line, sizeof line, eye_choice == 0 ? "**** LEAVE : %s ****" : "LEAVE : %s", label.c_str());
  set_item_text_narrow(dialog, EYE_LINE_LEAVE, line);
  set_item_text(dialog, EYE_LINE_NONE, eye_choice == 1 ? L"**** SELECT A(No Eye Label) ****" : L"SELECT A(No Eye Label)");
  set_item_text(dialog, EYE_LINE_OD, eye_choice == 2 ? L"***** SELECT A(OD) *****" : L"SELECT A(OD)");
  set_item_text(dialog, EYE_LINE_OS, eye_choice == 3 ? L"***** SELECT A(OS) *****" : L"SELECT A(OS)");
}

INT_PTR CALLBACK eyeLabelProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      center_window(dialog);
      show_eye_choices(dialog);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    case WM_USER:
      switch (wParam) {
        case PAGE_KEY_UP:
          eye_choice = (eye_choice + 3) % 4;
          show_eye_choices(dialog);
          return TRUE;
        case PAGE_KEY_DOWN:
          eye_choice = (eye_choice + 1) % 4;
          show_eye_choices(dialog);
          return TRUE;
        case PAGE_CLOSE:
          DestroyWindow(dialog);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}
