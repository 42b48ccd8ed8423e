// The Open dialog allowing several files, as one text: the folder and the
// names, each NUL-terminated (one full path when a single file was chosen).
#ifndef DESKTOP_WINLIB_FILES_FILE_NAMES_MULTI_H
#define DESKTOP_WINLIB_FILES_FILE_NAMES_MULTI_H

#include <windows.h>

// file_name_dialog with OFN_ALLOWMULTISELECT added to the flags.
const char* get_file_names_multi(HWND owner, const char* title, const char* initial_path, const char* filter,
                                 const char* default_extension, char* result, int result_size, bool save,
                                 bool quiet, DWORD extra_flags);

#endif
