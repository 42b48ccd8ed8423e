#include "desktop/winlib/tests/memory_printer.h"

namespace {

memoryPrinter* current = nullptr;

int accept_call(HDC) { return 1; }

}  // namespace

memoryPrinter::memoryPrinter(int width_px, int height_px, int width_mm, int height_mm)
    : page_(width_px, height_px), width_mm_(width_mm), height_mm_(height_mm) {
  outer_ = current;
  current = this;
  previous_ = print_dialog_ui_install(
      print_dialog_calls{dialog, nullptr, start_doc, start_page, end_page, accept_call, accept_call, caps});
}

memoryPrinter::~memoryPrinter() {
  print_dialog_ui_install(previous_);
  current = outer_;
}

int memoryPrinter::caps(HDC, int index) {
  if (!current) return 0;
  switch (index) {
    case HORZRES: return current->page_.width();
    case VERTRES: return current->page_.height();
    case HORZSIZE: return current->width_mm_;
    case VERTSIZE: return current->height_mm_;
    default: return 0;
  }
}

BOOL memoryPrinter::dialog(PRINTDLGA* record) {
  if (!current) return FALSE;
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, current->page_.bitmap());
  record->hDC = dc;
  return TRUE;
}

int memoryPrinter::start_doc(HDC, const DOCINFOA*) { return current ? ++current->documents : SP_ERROR; }
int memoryPrinter::start_page(HDC) { return current ? ++current->pages_started : SP_ERROR; }
int memoryPrinter::end_page(HDC) { return current ? ++current->pages_ended : SP_ERROR; }
