// The seam for the common Open and Save dialogs: one replaceable table of
// calls, in the manner of the message boxes' modal seam. The program uses
// the platform's dialogs (the default); tests install scripted calls that
// fill the dialog record as a person would, so no test waits for a person.
#ifndef DESKTOP_WINLIB_FILES_FILE_DIALOG_UI_H
#define DESKTOP_WINLIB_FILES_FILE_DIALOG_UI_H

#include <windows.h>

#include <commdlg.h>

struct file_dialog_calls {
  BOOL (*get_open_file_name)(OPENFILENAMEA* record);
  BOOL (*get_save_file_name)(OPENFILENAMEA* record);
  // The reason of the last failure (a CDERR_ or FNERR_ code; 0 for a cancel).
  DWORD (*extended_error)();
};

// The calls in force. Never null entries.
const file_dialog_calls& file_dialog_ui();
// Replaces the table (null entries take the platform's); returns the one it
// replaced.
file_dialog_calls file_dialog_ui_install(const file_dialog_calls& calls);
// The platform's own calls.
const file_dialog_calls& file_dialog_ui_platform();

#endif
