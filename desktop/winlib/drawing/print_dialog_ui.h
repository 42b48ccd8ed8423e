// The seam for printing: the print dialog and the document calls, one
// replaceable table in the manner of the message boxes' modal seam. The
// program uses the platform (the default); tests install calls that answer
// the dialog with a device context of their own (a memory bitmap, a
// metafile, or the default printer without showing the dialog) and, for a
// surface that is not a printer, document calls that accept the job.
#ifndef DESKTOP_WINLIB_DRAWING_PRINT_DIALOG_UI_H
#define DESKTOP_WINLIB_DRAWING_PRINT_DIALOG_UI_H

#include <windows.h>

#include <commdlg.h>

struct print_dialog_calls {
  BOOL (*print_dialog)(PRINTDLGA* record);
  // The reason of the last failure (a CDERR_ or PDERR_ code; 0 for a cancel).
  DWORD (*extended_error)();
  int (*start_doc)(HDC dc, const DOCINFOA* info);
  int (*start_page)(HDC dc);
  int (*end_page)(HDC dc);
  int (*end_doc)(HDC dc);
  int (*abort_doc)(HDC dc);
  // GetDeviceCaps for the page's size.
  int (*device_caps)(HDC dc, int index);
};

// The calls in force. Never null entries.
const print_dialog_calls& print_dialog_ui();
// Replaces the table (null entries take the platform's); returns the one it
// replaced.
print_dialog_calls print_dialog_ui_install(const print_dialog_calls& calls);
const print_dialog_calls& print_dialog_ui_platform();

#endif
