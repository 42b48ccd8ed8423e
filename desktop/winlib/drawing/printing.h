// Printing a window: its own draw operation runs once more with the
// printer's device context and a scale record for the page. The print dialog
// and the document calls go through the print seam (print_dialog_ui.h).
//
// One job: print_begin (dialog, document, first page, printing flag set),
// drawing, print_end_page and the caller's StartPage for further pages, then
// print_end (flag cleared, last page and document ended, the printer's
// device context and the dialog's memory freed). print_window does all of it
// for one page. Every failure of the dialog or the document calls is
// reported; a cancelled dialog ends the job without a message.
#ifndef DESKTOP_WINLIB_DRAWING_PRINTING_H
#define DESKTOP_WINLIB_DRAWING_PRINTING_H

#include <windows.h>

#include <commdlg.h>

#include <cstdint>

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/windows/window_object.h"

// 1 while a page is being printed; drawing code reads it (a drawn box fills
// white, graphs take thicker pens).
extern uint8_t printing_flag;

// The print dialog record that every job reuses.
PRINTDLGA& print_record();

// Runs the print dialog owned by owner. Null when cancelled (no message) or
// failed (reported with the dialog's error code, e.g. when there is no
// printer); otherwise the record, whose hDC is the printer's, with
// printer_paper filled from that printer.
PRINTDLGA* print_setup(HWND owner, const char* document_name);
// Without a record runs print_setup; then starts the document "doc_name" and
// its first page and sets the printing flag. Null when cancelled or failed
// (a failed StartDoc or StartPage is reported and the job's device context
// and memory freed).
PRINTDLGA* print_begin(HWND owner, const char* document_name, PRINTDLGA* record);
// Ends a page; print_start_page starts the next one. Failures are reported.
bool print_end_page(HDC dc);
bool print_start_page(HDC dc);
// Clears the printing flag, ends the page and the document (failures
// reported), and frees the device context and the dialog's memory. True
// when the document ended well.
bool print_end(PRINTDLGA* record);
// One page: the window object's draw with the printer's device context and
// scale, or the given scale (null: the printer record, the whole printable
// area). True when printed; false when cancelled or failed.
bool print_window(HWND owner, winTypeClass* object, const paper* scale, const char* document_name);

// Frees the record's device context and dialog memory (print_end and the
// failure paths do it).
void print_release(PRINTDLGA* record);

#endif
