#include "desktop/winlib/files/file_names_multi.h"

#include "desktop/winlib/files/file_dialogs.h"

const char* get_file_names_multi(HWND owner, const char* title, const char* initial_path, const char* filter,
                                 const char* default_extension, char* result, int result_size, bool save,
                                 bool quiet, DWORD extra_flags) {
  return file_name_dialog(owner, title, initial_path, filter, default_extension, result, result_size, save, quiet,
                          extra_flags | OFN_ALLOWMULTISELECT);
}
