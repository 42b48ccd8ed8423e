#include "desktop/winlib/fonts/program_fonts.h"

HFONT program_font = nullptr;
LOGFONTA program_logfont{};
uint8_t program_font_chosen = 0;

HFONT underlined_font = nullptr;
HFONT large_font = nullptr;
HFONT small_bold_font = nullptr;
HFONT fixed_font = nullptr;

HFONT button_font() { return large_font; }

bool is_standard_font(HFONT font) {
  return font && (font == program_font || font == underlined_font || font == large_font || font == small_bold_font ||
                  font == fixed_font);
}
