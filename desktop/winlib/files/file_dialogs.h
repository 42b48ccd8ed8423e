// The common Open and Save dialogs for choosing files (through the seam of
// file_dialog_ui.h).
#ifndef DESKTOP_WINLIB_FILES_FILE_DIALOGS_H
#define DESKTOP_WINLIB_FILES_FILE_DIALOGS_H

#include <windows.h>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/containers/r_list.h"

// Size of the one file-name buffer that all dialog calls share.
constexpr int file_dialog_buffer_size = 8192;

// Shows the Open dialog (save false) or the Save dialog (save true), the
// file-name field preset with the base name of initial_path and the initial
// folder initial_path itself. filter holds display text and pattern pairs,
// each NUL-terminated, ending in an empty string. Returns the chosen path,
// in the shared buffer (valid until the next dialog), also copied into
// result when one is given; a path that does not fit result is refused with
// a message. Null for a cancel or a failure, which is reported unless quiet.
const char* file_name_dialog(HWND owner, const char* title, const char* initial_path, const char* filter,
                             const char* default_extension, char* result, int result_size, bool save, bool quiet,
                             DWORD extra_flags);

// The Open dialog with several files allowed: a list of the chosen paths
// (named "nameless"; the caller releases it with delete_all), or null when
// the dialog was cancelled or failed.
r_list<byteObjectClass>* open_files_dialog(HWND owner, const char* title, const char* initial_path,
                                           const char* filter, const char* default_extension, char* result,
                                           int result_size, bool save, bool quiet, DWORD extra_flags);

// The name of a common-dialog error code: "CDERR_STRUCTSIZE" ... or
// "UNKNOWN ERROR" (also for 0, a cancel).
const char* file_dialog_error_name(DWORD code);

#endif
