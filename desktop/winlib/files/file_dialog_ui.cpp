#include "desktop/winlib/files/file_dialog_ui.h"

namespace {

BOOL platform_open(OPENFILENAMEA* record) { return GetOpenFileNameA(record); }
BOOL platform_save(OPENFILENAMEA* record) { return GetSaveFileNameA(record); }
DWORD platform_error() { return CommDlgExtendedError(); }

const file_dialog_calls platform_calls = {platform_open, platform_save, platform_error};
file_dialog_calls current = platform_calls;

}  // namespace

const file_dialog_calls& file_dialog_ui() { return current; }

const file_dialog_calls& file_dialog_ui_platform() { return platform_calls; }

file_dialog_calls file_dialog_ui_install(const file_dialog_calls& calls) {
  file_dialog_calls previous = current;
  current.get_open_file_name = calls.get_open_file_name ? calls.get_open_file_name : platform_open;
  current.get_save_file_name = calls.get_save_file_name ? calls.get_save_file_name : platform_save;
  current.extended_error = calls.extended_error ? calls.extended_error : platform_error;
  return previous;
}
