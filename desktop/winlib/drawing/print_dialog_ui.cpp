#include "desktop/winlib/drawing/print_dialog_ui.h"

namespace {

BOOL real_print_dialog(PRINTDLGA* record) { return PrintDlgA(record); }
DWORD real_extended_error() { return CommDlgExtendedError(); }
int real_start_doc(HDC dc, const DOCINFOA* info) { return StartDocA(dc, info); }
int real_start_page(HDC dc) { return StartPage(dc); }
int real_end_page(HDC dc) { return EndPage(dc); }
int real_end_doc(HDC dc) { return EndDoc(dc); }
int real_abort_doc(HDC dc) { return AbortDoc(dc); }
int real_device_caps(HDC dc, int index) { return GetDeviceCaps(dc, index); }

const print_dialog_calls platform_calls = {real_print_dialog, real_extended_error, real_start_doc, real_start_page,
                                           real_end_page,     real_end_doc,        real_abort_doc, real_device_caps};
print_dialog_calls current = platform_calls;

template <class F>
void take(F& slot, F given, F platform) {
  slot = given ? given : platform;
}

}  // namespace

const print_dialog_calls& print_dialog_ui() { return current; }

const print_dialog_calls& print_dialog_ui_platform() { return platform_calls; }

print_dialog_calls print_dialog_ui_install(const print_dialog_calls& calls) {
  print_dialog_calls previous = current;
  take(current.print_dialog, calls.print_dialog, platform_calls.print_dialog);
  take(current.extended_error, calls.extended_error, platform_calls.extended_error);
  take(current.start_doc, calls.start_doc, platform_calls.start_doc);
  take(current.start_page, calls.start_page, platform_calls.start_page);
  take(current.end_page, calls.end_page, platform_calls.end_page);
  take(current.end_doc, calls.end_doc, platform_calls.end_doc);
  take(current.abort_doc, calls.abort_doc, platform_calls.abort_doc);
  take(current.device_caps, calls.device_caps, platform_calls.device_caps);
  return previous;
}
