#include "handheld/ui/menus/setup_parameters.h"

#include <math.h>
#include <stdio.h>

#include <atomic>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_captions.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/menus/setup_keypad.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/ui/window_placement.h"

namespace {

// The synchronisation output (GPIO word 13 bit 1), cleared on a slave and
// on a unit without the master/slave link.
const int SYNC_OUTPUT_WORD = 13;
const int SYNC_OUTPUT_BIT = 1;

struct editorState {
  int position = 0;     // in the list of visible rows
  int row = 0;          // the table row being edited
  double typed = 0.0;   // the value entered on MENU_PARAMETER_EDIT
  double old_backlight = 0.0;
  std::atomic<int> backlight_reply{0};
};
editorState editor;

const systemParameter& row_of(int row) { return system_parameters[row]; }

bool takes_zero(int row) { return row == PARAM_LPFREQ || row == PARAM_NOTCHFREQ; }

void show_list(HWND dialog) {
  SendDlgItemMessageW(dialog, PARAMETER_LIST_BOX, LB_SETCURSEL, static_cast<WPARAM>(editor.position), 0);
  editor.row = visible_parameter_index(editor.position);
  set_item_text(dialog, PARAMETER_LIST_STATUS, parameter_current_text(editor.row).c_str());
}

void take_backlight_reply() {
  double level = 0.0;
  if (!backlight_of_reply(stimulator_message.buffer, stimulator_message.count, level)) {
    log_mesg("*** backlight reply of %d bytes ignored ***", stimulator_message.count);
    return;
  }
  *system_parameters[PARAM_BACKLIGHT].value = level;
  editor.backlight_reply = 1;
}

// The unit's part on the master/slave link, as the list closes.
void take_master_switch() {
  if (master_link_fitted() && system_parameter(PARAM_MASTER) != 0) {
    is_master = 1;
    is_slave = 0;
    return;
  }
  is_master = 0;
  is_slave = master_link_fitted() ? 1 : 0;
  hardware.put_gpio_bit(SYNC_OUTPUT_WORD, SYNC_OUTPUT_BIT, 0);
}

}  // namespace

int visible_parameter_count() {
  int count = 0;
  for (int i = 0; i < SYSTEM_PARAMETER_COUNT; ++i) {
    if (parameter_listed(static_cast<systemParameterIndex>(i))) ++count;
  }
  return count;
}

int visible_parameter_index(int n) {
  for (int i = 0; i < SYSTEM_PARAMETER_COUNT; ++i) {
    if (!parameter_listed(static_cast<systemParameterIndex>(i))) continue;
    if (n-- == 0) return i;
  }
  return 0;
}

std::wstring parameter_current_text(int row) {
  const systemParameter& p = row_of(row);
  const double value = *p.value;
  wchar_t text[96];
  if (wcscmp(p.units, L"ON/OFF") == 0) {
    swprintf(text, 96, L"current: %ls", value != 0 ? L"ON" : L"OFF");
  } else if (wcscmp(p.units, L"YES/NO") == 0) {
    swprintf(text, 96, L"current: %ls", value != 0 ? L"YES" : L"NO");
  } else {
    swprintf(text, 96, L"current: %lg %ls", value, p.units);
  }
  return text;
}

bool backlight_of_reply(const uint8_t* message, int count, double& level) {
  if (message == nullptr || count < 9) return false;
  unsigned raw = message[7] * 256u + message[8];
  if (raw != 0) raw = 65536u - raw;
  const double percent = (16000.0 - 2.0 * raw) / 160.0;
  level = percent <= 0.0 ? 0.0 : percent >= 100.0 ? 100.0 : floor(percent);
  return true;
}

void restore_parameter_defaults() {
  // Each stored as Accept stores it, so that the fill shares, the master
  // switch and the idle limit follow the defaults too.
  for (int i = 0; i < SYSTEM_PARAMETER_COUNT; ++i) {
    store_system_parameter(static_cast<systemParameterIndex>(i), system_parameters[i].default_value);
  }
  const double backlight = system_parameter(PARAM_BACKLIGHT);
  set_backlight(backlight);
  store_backlight(backlight);
}

INT_PTR CALLBACK parameterListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      center_window_horizontally(dialog);
      set_item_text(dialog, PARAMETER_LIST_TITLE, L"Select a parameter");
      send_8051_string("b");
      editor.backlight_reply = 0;
      for (int i = 0; i < SYSTEM_PARAMETER_COUNT; ++i) {
        if (!parameter_listed(static_cast<systemParameterIndex>(i))) continue;
        SendDlgItemMessageW(dialog, PARAMETER_LIST_BOX, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(system_parameters[i].caption));
      }
      editor.position = 0;
      show_list(dialog);
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    case WM_USER: {
      const int count = visible_parameter_count();
      switch (wParam) {
        case PAGE_KEY_UP:
          editor.position = editor.position > 0 ? editor.position - 1 : count - 1;
          show_list(dialog);
          return TRUE;
        case PAGE_KEY_DOWN:
          editor.position = editor.position + 1 < count ? editor.position + 1 : 0;
          show_list(dialog);
          return TRUE;
        case NOTICE_STIMULATOR_MESSAGE:
          if (lParam == MESSAGE_FOR_PAGE) take_backlight_reply();
          return TRUE;
        case PAGE_UNCOVERED:
          show_list(dialog);
          return TRUE;
        case PAGE_CLOSE:
          take_master_switch();
          DestroyWindow(dialog);
          return TRUE;
        default:
          return TRUE;
      }
    }
    default:
      return FALSE;
  }
}

int current_parameter_row() { return editor.row; }

int parameter_list_menu(int command, LPARAM value) {
  if (is_page_shown(command)) {
    if (value == PAGE_DEFAULT && !dialog_is_active(parameterListProc)) {
      push_dialog(parameterListProc, PARAMETER_LIST_DIALOG);
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Up"
    case KEY_LOWER_LEFT:  // "Down"
      return post_key_to_page(command);
    case KEY_UPPER_RIGHT:  // "Select"
      open_menu(MENU_PARAMETER_EDIT, PAGE_DEFAULT);
      return 1;
    case KEY_LOWER_RIGHT:  // "Back"
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return 0;
  }
}

int parameter_edit_menu(int command, LPARAM value) {
  const systemParameter& p = row_of(editor.row);
  if (is_page_shown(command)) {
    if (value == PAGE_DEFAULT) {
      if (editor.row == PARAM_BACKLIGHT) editor.old_backlight = *p.value;
      wchar_t prompt[256];
      swprintf(prompt, 256, L"%ls\n(%lg..%lg)", p.help, p.minimum, p.maximum);
      push_keypad(DIGIT_ENTRY_DIALOG, *p.value, prompt, p.units);
    } else if (value == PAGE_BACK_FROM_MESSAGE) {
      set_key_captions(main_dialog, menu_caption(MENU_PARAMETER_EDIT, 0), menu_caption(MENU_PARAMETER_EDIT, 1),
                       menu_caption(MENU_PARAMETER_EDIT, 2), menu_caption(MENU_PARAMETER_EDIT, 3));
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:   // "UP"
    case KEY_LOWER_LEFT:   // "DOWN"
    case KEY_UPPER_RIGHT:  // "TAB"
      return post_key_to_page(command);
    case KEY_LOWER_RIGHT: {  // "OK"
      const double typed = keypad_value();
      const bool off = takes_zero(editor.row) && typed == 0.0;
      if (!off && (typed < p.minimum || typed > p.maximum)) {
        set_key_captions(main_dialog, L"", L"", L"", L"");
        show_message(MESSAGE_ERROR, false, "\n*** VALUE IS ***\n*** OUT OF RANGE ***\n\n%lg <= Value <= %lg",
                     p.minimum, p.maximum);
        return 1;
      }
      editor.typed = typed;
      if (editor.row == PARAM_BACKLIGHT) set_backlight(typed);
      open_menu(MENU_PARAMETER_CONFIRM, PAGE_DEFAULT, true);
      return 1;
    }
    default:
      return 0;
  }
}

int parameter_confirm_menu(int command, LPARAM value) {
  const systemParameter& p = row_of(editor.row);
  if (is_page_shown(command)) {
    if (value == PAGE_DEFAULT) {
      wchar_t prompt[160];
      swprintf(prompt, 160, L"Is\n%lg %ls\ncorrect?", editor.typed, p.units);
      push_keypad(DIGIT_ENTRY_DIALOG, editor.typed, prompt, p.units);
    }
    return 1;
  }
  switch (command) {
    case KEY_UPPER_LEFT:  // "Accept"
      store_system_parameter(static_cast<systemParameterIndex>(editor.row), editor.typed);
      if (editor.row == PARAM_BACKLIGHT) store_backlight(editor.typed);
      if (editor.row == PARAM_FLASHFILL) log_mesg("-- cyan percentage set to %lg --", editor.typed);
      if (editor.row == PARAM_BKGFILL) log_mesg("-- cyan background percentage set to %lg --", editor.typed);
      go_back(PAGE_DEFAULT);
      return 1;
    case KEY_UPPER_RIGHT:  // "Reject"
      if (editor.row == PARAM_BACKLIGHT) {
        set_backlight(editor.old_backlight);
        *system_parameters[PARAM_BACKLIGHT].value = editor.old_backlight;
      }
      go_back(PAGE_DEFAULT);
      return 1;
    default:
      return 1;  // the blank keys do nothing
  }
}

void install_parameter_menus() {
  set_menu_handler(MENU_PARAMETER_LIST, parameter_list_menu);
  set_menu_handler(MENU_PARAMETER_EDIT, parameter_edit_menu);
  set_menu_handler(MENU_PARAMETER_CONFIRM, parameter_confirm_menu);
}
