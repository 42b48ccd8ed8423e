// Fonts: making them, the standard fonts, the font stack and the font
// dialog. User-interface thread only; nothing here is locked.
#ifndef DESKTOP_WINLIB_FONTS_FONTS_H
#define DESKTOP_WINLIB_FONTS_FONTS_H

#include <windows.h>

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/fonts/program_fonts.h"

// The record of the last font made by make_font or make_font_scaled.
extern LOGFONTA font_record;

// A font of these pixel sizes (escapement, orientation, italic, strike-out,
// character set and quality 0; the face cut to 31 characters). The caller
// deletes it. Null, reported, when the platform refuses it.
HFONT make_font(int height, int width, int weight, const char* face, int underline);
// The same from millimetres through the scale record (height by its y and
// width by its x pixels per millimetre), turned by angle degrees; style bits:
// 0 underline, 1 italic, 2 strike-out.
HFONT make_font_scaled(const paper& scale, double height_mm, double width_mm, int weight, const char* face,
                       double angle, int style);
// Makes the standard fonts (program_fonts.h) for the screen record. With
// program_font_chosen set, the program font is made from program_logfont
// and the underlined font is not made.
void make_standard_fonts(const paper& screen);

// The font stack: 20 entries of (font pushed, font it replaced, context).
constexpr int font_stack_size = 20;
// Selects the font into the context and pushes it. Refused with "*** FONT
// STACK OVERFLOW ***" when full, "### push_font: context is null ###" for a
// null context.
void push_font(HDC dc, HFONT font);
// Drops the top entry and selects the font it replaced back into its
// context: true when it did. "*** FONT STACK UNDERFLOW ***" and false when
// empty.
bool pop_font();
// pop_font, then deletes the font that had been pushed (never a standard
// font, which is shared).
bool pop_and_delete_font();
int font_stack_depth();

// The font dialog on record (screen fonts, starting from the record), owned
// by owner (or none). True when a font was chosen: the record then holds it.
// A cancelled or failed dialog leaves the record unchanged and gives false,
// reported "### Choosefont failed ###" unless quiet.
bool choose_font(LOGFONTA& record, bool quiet, HWND owner);

#endif
