#include "desktop/winlib/files/file_dialogs.h"

#include <cderr.h>

#include <cstring>

#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/files/path_names.h"

namespace {

char file_buffer[file_dialog_buffer_size];

}  // namespace

const char* file_dialog_error_name(DWORD code) {
  switch (code) {
    case CDERR_STRUCTSIZE: return "CDERR_STRUCTSIZE";
    case CDERR_INITIALIZATION: return "CDERR_INITIALIZATION";
    case CDERR_NOTEMPLATE: return "CDERR_NOTEMPLATE";
    case CDERR_NOHINSTANCE: return "CDERR_NOHINSTANCE";
    case CDERR_LOADSTRFAILURE: return "CDERR_LOADSTRFAILURE";
    case CDERR_FINDRESFAILURE: return "CDERR_FINDRESFAILURE";
    case CDERR_LOADRESFAILURE: return "CDERR_LOADRESFAILURE";
    case CDERR_LOCKRESFAILURE: return "CDERR_LOCKRESFAILURE";
    case CDERR_MEMALLOCFAILURE: return "CDERR_MEMALLOCFAILURE";
    case CDERR_MEMLOCKFAILURE: return "CDERR_MEMLOCKFAILURE";
    case CDERR_NOHOOK: return "CDERR_NOHOOK";
    case CDERR_REGISTERMSGFAIL: return "CDERR_REGISTERMSGFAIL";
    case FNERR_SUBCLASSFAILURE: return "FNERR_SUBCLASSFAILURE";
    case FNERR_INVALIDFILENAME: return "FNERR_INVALIDFILENAME";
    case FNERR_BUFFERTOOSMALL: return "FNERR_BUFFERTOOSMALL";
    case CDERR_DIALOGFAILURE: return "CDERR_DIALOGFAILURE";
    default: return "UNKNOWN ERROR";
  }
}

const char* file_name_dialog(HWND owner, const char* title, const char* initial_path, const char* filter,
                             const char* default_extension, char* result, int result_size, bool save, bool quiet,
                             DWORD extra_flags) {
  byteObjectClass base;
  file_base_name(initial_path, base);
  memset(file_buffer, 0, sizeof file_buffer);
  strncpy(file_buffer, base.text(), sizeof file_buffer - 1);

  OPENFILENAMEA record;
  memset(&record, 0, sizeof record);
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.lpstrFilter = filter;
  record.nFilterIndex = 1;
  record.lpstrFile = file_buffer;
  record.nMaxFile = sizeof file_buffer;
  record.lpstrInitialDir = initial_path;
  record.lpstrTitle = title;
  record.lpstrDefExt = default_extension;
  record.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES | OFN_FORCESHOWHIDDEN | extra_flags;

  const file_dialog_calls& calls = file_dialog_ui();
  BOOL chosen = save ? calls.get_save_file_name(&record) : calls.get_open_file_name(&record);
  file_buffer[sizeof file_buffer - 1] = 0;
  if (!chosen) {
    DWORD code = calls.extended_error();
    if (!quiet) {
      if (save) {
        errormessage("*** GetSavefileName failed***");
      } else {
        errormessage("*** GetOpenfileName failed ***\n*** %s ***", file_dialog_error_name(code));
      }
    }
    return nullptr;
  }
  if (result) {
    size_t length = strlen(file_buffer);
    if (result_size < 1 || length >= static_cast<size_t>(result_size)) {
      errormessage("*** THE FILE NAME CHOSEN IS TOO LONG (%d CHARACTERS, ROOM FOR %d) ***\n[%s]",
                   static_cast<int>(length), result_size > 0 ? result_size - 1 : 0, file_buffer);
      if (result_size > 0) result[0] = 0;
      return nullptr;
    }
    memcpy(result, file_buffer, length + 1);
  }
  return file_buffer;
}

r_list<byteObjectClass>* open_files_dialog(HWND owner, const char* title, const char* initial_path,
                                           const char* filter, const char* default_extension, char* result,
                                           int result_size, bool save, bool quiet, DWORD extra_flags) {
  const char* chosen = file_name_dialog(owner, title, initial_path, filter, default_extension, result, result_size,
                                        save, quiet, extra_flags | OFN_ALLOWMULTISELECT | OFN_EXPLORER);
  if (!chosen) return nullptr;
  r_list<byteObjectClass>* paths = new r_list<byteObjectClass>("nameless");
  const char* folder = chosen;
  const char* name = folder + strlen(folder) + 1;
  const char* end = chosen + file_dialog_buffer_size;
  if (name >= end || !*name) {
    paths->add(new byteObjectClass(folder));
    return paths;
  }
  size_t folder_length = strlen(folder);
  bool ends_in_separator = folder_length > 0 && folder[folder_length - 1] == '\\';
  for (; name < end && *name; name += strlen(name) + 1) {
    byteObjectClass* path = new byteObjectClass(folder);
    if (!ends_in_separator) path->append("\\");
    path->append(name);
    paths->add(path);
  }
  return paths;
}
