// Choosing trace text files with the Save and Open dialogs (the files
// themselves: trace_text_file.h).
#ifndef DESKTOP_WINDOWS_TRACE_TEXT_TRACE_TEXT_DIALOGS_H
#define DESKTOP_WINDOWS_TRACE_TEXT_TRACE_TEXT_DIALOGS_H

#include <windows.h>

#include "desktop/data/trace.h"

// Offers the trace's proposal (trace_file_proposal) in the Save dialog with
// the title; an existing file is replaced only after "Overwrite Existing
// File?" is answered Yes, and a name of no known form is refused; both go
// back to the dialog. Returns the path written (valid until the next call),
// or null when the user cancels or the file cannot be written (reported).
const char* save_trace_text_file(HWND owner, const traceClass* trace, const char* title, const char* folder_hint);

// With the dialog, path is the Open dialog's initial folder; without, the
// file to read. A trace read becomes the caller's, and the path becomes the
// setting "last_text_file". Null when cancelled or unreadable.
traceClass* load_trace_text_file(const char* path, bool with_dialog);

#endif
