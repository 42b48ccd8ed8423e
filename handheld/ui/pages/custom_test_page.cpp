#include "handheld/ui/pages/custom_test_page.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/dialogs/dialog_helpers.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/ui/pages/program_lists_page.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/ui/menus/road_state.h"
#include "handheld/engine/protocols/run_config_conversion.h"
#include "handheld/ui/pages/value_entry_page.h"
#include "handheld/ui/window_placement.h"

namespace {

customTestSettings settings;
int row = 0;
// The value being edited: rows of whole numbers, and the flash frequency.
int editedValue = 0;
double editedFrequency = 0.0;
int editedRow = -1;

int32_t* row_word(int r) {
  runConfig& c = settings.Config;
  switch (r) {
    case 0: return &c.Intensity;
    case 2: return &c.Background;
    case 3: return &c.AdaptationTime;
    case 5: return &c.RepeatInterval;
    case 8: return &c.RepeatCount;
    case 9: return &c.PreTime;
    case 10: return &c.PostTime;
    default: return nullptr;
  }
}

double flash_frequency() {
  return settings.Config.RepeatInterval == 0 ? 999.9 : 1000.0 / settings.Config.RepeatInterval;
}

void row_text(int r, wchar_t* text, size_t capacity) {
  const runConfig& c = settings.Config;
  switch (r) {
    case 0: swprintf(text, capacity, L"intensity [MCDS] : %d", c.Intensity); break;
    case 2: swprintf(text, capacity, L"background [MCD] : %d", c.Background); break;
    case 3: swprintf(text, capacity, L"bkg adaptation [SEC] : %d", c.AdaptationTime); break;
    case 5: swprintf(text, capacity, L"| mSec between flashes : %d", c.RepeatInterval); break;
    case 6: swprintf(text, capacity, L"| flash frequency [Hz] : %6.2f", flash_frequency()); break;
    case 8: swprintf(text, capacity, L"flashes per test  : %d", c.RepeatCount); break;
    case 9: swprintf(text, capacity, L"preflash data time [mSEC] : %d", c.PreTime); break;
    case 10: swprintf(text, capacity, L"postflash data time [mSEC] : %d", c.PostTime); break;
    default: swprintf(text, capacity, L"   "); break;
  }
}

struct rowEntry {
  const wchar_t* caption;
  const wchar_t* unit;
};
const rowEntry kRowEntries[CUSTOM_ROWS] = {
    {L"flash intensity", L"MCDS/m^2"}, {nullptr, nullptr}, {L"background intensity", L"MCD/m^2"},
    {L"adaptation time", L"SEC"},      {nullptr, nullptr}, {L"time between flashes", L"mSEC"},
    {L"flash frequency", L"Hz"},       {nullptr, nullptr}, {L"flashes per test", nullptr},
    {L"preflash sample time", L"mSEC"}, {L"postflash sample time", L"mSEC"},
};

void edit_row(HWND dialog) {
  const rowEntry& entry = kRowEntries[row];
  if (entry.caption == nullptr) return;
  editedRow = row;
  if (row == 6) {
    editedFrequency = flash_frequency();
    edit_double_value(&editedFrequency, entry.caption, entry.unit, dialog);
    return;
  }
  editedValue = *row_word(row);
  edit_integer_value(&editedValue, entry.caption, entry.unit, dialog);
}

// The entry stored its value: into its word. A frequency sets the
// interval; one of 0 or below has no interval and keeps the old one.
void take_value(HWND dialog) {
  if (editedRow == 6) {
    if (editedFrequency > 0.0) settings.Config.RepeatInterval = static_cast<int32_t>(1000.0 / editedFrequency);
  } else if (editedRow >= 0 && row_word(editedRow) != nullptr) {
    *row_word(editedRow) = editedValue;
  }
  editedRow = -1;
  show_custom_rows(dialog);
}

int first_test_step(const programRecord& program) {
  for (int i = 0; i < program.StepCount && i < kProgramSteps; ++i) {
    if (program.Steps[i].Opcode == OPCODE_TEST) return i;
  }
  return 0;
}

void set_settings_name(const programRecord& program) {
  memset(settings.Name, 0, sizeof settings.Name);
  for (size_t i = 0; i < 63 && program.Texts[0][i] != '\0'; ++i) {
    settings.Name[i] = static_cast<wchar_t>(static_cast<unsigned char>(program.Texts[0][i]));
  }
}

void done() {
  programRecord& program = preview();
  set_settings_name(program);
  if (!convert_config_to_program(&settings, &program)) {
    road.programChosen = false;
    log_mesg("Custom Test, convert_config_to_program FAILED");
    return;
  }
  if (!write_program_file(preview_path(), program)) {
    road.programChosen = false;
    return;
  }
  const std::wstring& name = preview_name();
  const size_t dot = name.rfind(L'.');
  choose_program(program, dot == std::wstring::npos ? name : name.substr(0, dot));
  road.sessionSelected = false;
  road.customRun = true;
}

}  // namespace

void show_custom_rows(HWND dialog) {
  SendDlgItemMessageW(dialog, LIST_BOX, WM_SETREDRAW, FALSE, 0);
  SendDlgItemMessageW(dialog, LIST_BOX, LB_RESETCONTENT, 0, 0);
  for (int r = 0; r < CUSTOM_ROWS; ++r) {
    wchar_t text[64];
    row_text(r, text, 64);
    SendDlgItemMessageW(dialog, LIST_BOX, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SendDlgItemMessageW(dialog, LIST_BOX, WM_SETREDRAW, TRUE, 0);
  select_list_item(dialog, LIST_BOX, row);
}

INT_PTR CALLBACK customTestProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      center_window_horizontally(dialog);
      const programRecord& program = preview();
      wchar_t title[64] = {};
      for (size_t i = 0; i < 63 && program.Texts[0][i] != '\0'; ++i) {
        title[i] = static_cast<wchar_t>(static_cast<unsigned char>(program.Texts[0][i]));
      }
      set_item_text(dialog, LIST_TITLE, title);
      if (road.customEditFresh) {
        convert_steps_to_config(&program, first_test_step(program), &settings.Config, 0, 0,
                                channels.current.load());
        road.customEditFresh = false;
      }
      show_custom_rows(dialog);
      set_item_text(dialog, LIST_STATUS, L"'EDIT' to change a VALUE");
      ShowWindow(dialog, SW_SHOW);
      return TRUE;
    }
    case WM_USER:
      switch (wParam) {
        case PAGE_KEY_UP:
          row = row <= 0 ? CUSTOM_ROWS - 1 : row - 1;
          select_list_item(dialog, LIST_BOX, row);
          return TRUE;
        case PAGE_KEY_DOWN:
          row = row >= CUSTOM_ROWS - 1 ? 0 : row + 1;
          select_list_item(dialog, LIST_BOX, row);
          return TRUE;
        case PAGE_SELECT:
          edit_row(dialog);
          return TRUE;
        case PAGE_KEY_DONE:
          done();
          return TRUE;
        case MAIN_INTERNAL_COMMAND:
          if (lParam == VALUE_STORED) take_value(dialog);
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

void reset_custom_test_page() {
  row = 0;
  editedRow = -1;
  memset(&settings, 0, sizeof settings);
}
