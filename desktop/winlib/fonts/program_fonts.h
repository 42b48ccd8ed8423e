// The program's standard fonts: made once at start-up (make_standard_fonts,
// fonts.h) and never deleted. Window objects copy the program font and its
// LOGFONT when they are made.
#ifndef DESKTOP_WINLIB_FONTS_PROGRAM_FONTS_H
#define DESKTOP_WINLIB_FONTS_PROGRAM_FONTS_H

#include <cstdint>

#include "desktop/winlib/platform_types.h"

// The program font and its LOGFONT. The main window sets
// program_font_chosen when it loads the font from the settings into
// program_logfont; the program font is then made from that record.
extern HFONT program_font;
extern LOGFONTA program_logfont;
extern uint8_t program_font_chosen;

extern HFONT underlined_font;  // the program font underlined (not made for a chosen font)
extern HFONT large_font;       // "Arial" 46 x 18
extern HFONT small_bold_font;  // "Arial" 6 x 3, weight 700
extern HFONT fixed_font;       // "Courier New" 5 mm x 3 mm

// The font of the main window's big push buttons: the large font.
HFONT button_font();

// True for a font above: such a font is shared and never deleted.
bool is_standard_font(HFONT font);

#endif
