#include "desktop/winlib/drawing/printing.h"

#include <cderr.h>

#include <cstring>

#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/print_dialog_ui.h"
#include "desktop/winlib/messages/system_text.h"

uint8_t printing_flag = 0;

namespace {

PRINTDLGA dialog_record{};

const char* dialog_error_name(DWORD code) {
  switch (code) {
    case PDERR_NODEFAULTPRN: return "PDERR_NODEFAULTPRN (no printer is installed)";
    case PDERR_NODEVICES: return "PDERR_NODEVICES (no printer drivers)";
    case PDERR_PRINTERNOTFOUND: return "PDERR_PRINTERNOTFOUND";
    case PDERR_CREATEICFAILURE: return "PDERR_CREATEICFAILURE";
    case PDERR_DEFAULTDIFFERENT: return "PDERR_DEFAULTDIFFERENT";
    case PDERR_DNDMMISMATCH: return "PDERR_DNDMMISMATCH";
    case PDERR_GETDEVMODEFAIL: return "PDERR_GETDEVMODEFAIL";
    case PDERR_INITFAILURE: return "PDERR_INITFAILURE";
    case PDERR_LOADDRVFAILURE: return "PDERR_LOADDRVFAILURE";
    case PDERR_PARSEFAILURE: return "PDERR_PARSEFAILURE";
    case PDERR_RETDEFFAILURE: return "PDERR_RETDEFFAILURE";
    case PDERR_SETUPFAILURE: return "PDERR_SETUPFAILURE";
    case CDERR_DIALOGFAILURE: return "CDERR_DIALOGFAILURE";
    case CDERR_INITIALIZATION: return "CDERR_INITIALIZATION";
    case CDERR_MEMALLOCFAILURE: return "CDERR_MEMALLOCFAILURE";
    case CDERR_STRUCTSIZE: return "CDERR_STRUCTSIZE";
    default: return "unknown error";
  }
}

}  // namespace

PRINTDLGA& print_record() { return dialog_record; }

void print_release(PRINTDLGA* record) {
  if (!record) return;
  if (record->hDC) DeleteDC(record->hDC);
  if (record->hDevMode) GlobalFree(record->hDevMode);
  if (record->hDevNames) GlobalFree(record->hDevNames);
  record->hDC = nullptr;
  record->hDevMode = nullptr;
  record->hDevNames = nullptr;
}

PRINTDLGA* print_setup(HWND owner, const char*) {
  const print_dialog_calls& ui = print_dialog_ui();
  PRINTDLGA& record = dialog_record;
  print_release(&record);  // whatever a failed job may have left
  std::memset(&record, 0, sizeof record);
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
  record.nFromPage = 0xFFFF;
  record.nToPage = 0xFFFF;
  record.nMinPage = 1;
  record.nMaxPage = 0xFFFF;
  record.nCopies = 1;
  if (!ui.print_dialog(&record)) {
    DWORD code = ui.extended_error();
    if (code != 0) errormessage("*** print_setup: the print dialog failed ***\n*** %s ***", dialog_error_name(code));
    print_release(&record);
    return nullptr;
  }
  if (!record.hDC) {
    errormessage("*** print_setup: the print dialog gave no printer device context ***");
    print_release(&record);
    return nullptr;
  }
  double width_px = ui.device_caps(record.hDC, HORZRES);
  double height_px = ui.device_caps(record.hDC, VERTRES);
  double width_mm = ui.device_caps(record.hDC, HORZSIZE);
  double height_mm = ui.device_caps(record.hDC, VERTSIZE);
  paper page;
  if (!page.rescale(width_px, height_px, width_mm, height_mm)) {
    print_release(&record);
    return nullptr;
  }
  page.set_origin(0, 0);
  printer_paper.copy_from(page);
  return &record;
}

PRINTDLGA* print_begin(HWND owner, const char* document_name, PRINTDLGA* record) {
  if (!record) record = print_setup(owner, document_name);
  if (!record) return nullptr;
  const print_dialog_calls& ui = print_dialog_ui();
  DOCINFOA info{};
  info.cbSize = sizeof info;
  info.lpszDocName = "doc_name";
  if (ui.start_doc(record->hDC, &info) <= 0) {
    errormessage("*** print_begin: StartDoc failed ***\n*** %s ***", last_error_text(0));
    print_release(record);
    return nullptr;
  }
  if (ui.start_page(record->hDC) <= 0) {
    errormessage("*** print_begin: StartPage failed ***\n*** %s ***", last_error_text(0));
    ui.abort_doc(record->hDC);
    print_release(record);
    return nullptr;
  }
  printing_flag = 1;
  return record;
}

bool print_end_page(HDC dc) {
  if (print_dialog_ui().end_page(dc) <= 0) {
    errormessage("*** print_end_page: EndPage failed ***\n*** %s ***", last_error_text(0));
    return false;
  }
  return true;
}

bool print_start_page(HDC dc) {
  if (print_dialog_ui().start_page(dc) <= 0) {
    errormessage("*** print_start_page: StartPage failed ***\n*** %s ***", last_error_text(0));
    return false;
  }
  return true;
}

bool print_end(PRINTDLGA* record) {
  printing_flag = 0;
  if (!record) return false;
  const print_dialog_calls& ui = print_dialog_ui();
  bool ok = true;
  if (ui.end_page(record->hDC) <= 0) {
    errormessage("*** print_end: EndPage failed ***\n*** %s ***", last_error_text(0));
    ok = false;
  }
  if (ui.end_doc(record->hDC) <= 0) {
    errormessage("*** print_end: EndDoc failed ***\n*** %s ***", last_error_text(0));
    ok = false;
  }
  print_release(record);
  return ok;
}

bool print_window(HWND owner, winTypeClass* object, const paper* scale, const char* document_name) {
  if (!object) {
    errormessage("*** print_window: NO WINDOW OBJECT ***");
    return false;
  }
  PRINTDLGA* record = print_begin(owner, document_name, nullptr);
  if (!record) return false;
  object->draw(record->hDC, scale ? *scale : printer_paper);
  return print_end(record);
}
