#include "desktop/winlib/fonts/font_dialog_ui.h"

namespace {

BOOL platform_choose(CHOOSEFONTA* record) { return ChooseFontA(record); }
DWORD platform_error() { return CommDlgExtendedError(); }

const font_dialog_calls platform_calls = {platform_choose, platform_error};
font_dialog_calls current = platform_calls;

}  // namespace

const font_dialog_calls& font_dialog_ui() { return current; }

const font_dialog_calls& font_dialog_ui_platform() { return platform_calls; }

font_dialog_calls font_dialog_ui_install(const font_dialog_calls& calls) {
  font_dialog_calls previous = current;
  current.choose_font = calls.choose_font ? calls.choose_font : platform_choose;
  current.extended_error = calls.extended_error ? calls.extended_error : platform_error;
  return previous;
}
