#include "handheld/engine/stimulator/main_window_link.h"

namespace {

// The top dialog is the main dialog's most recently active owned pop-up
// (the dialogs of the stack are owned by the main dialog); with none open it
// is the main dialog itself.
bool post_to_window(void* context, int target, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND main_dialog = static_cast<HWND>(context);
  HWND window = target == NOTICE_TOP_DIALOG ? GetLastActivePopup(main_dialog) : main_dialog;
  return PostMessageW(window, message, wparam, lparam) != FALSE;
}

void start_window_timer(void* context, uint32_t period_ms) {
  SetTimer(static_cast<HWND>(context), STIMULATOR_MESSAGE_TIMER, period_ms, nullptr);
}

void stop_window_timer(void* context) { KillTimer(static_cast<HWND>(context), STIMULATOR_MESSAGE_TIMER); }

}  // namespace

mainDialogPoster window_main_dialog_poster(HWND main_dialog) {
  return mainDialogPoster{&post_to_window, main_dialog};
}

stimulatorMessageTimer window_8051_message_timer(HWND main_window) {
  return stimulatorMessageTimer{&start_window_timer, &stop_window_timer, main_window};
}
