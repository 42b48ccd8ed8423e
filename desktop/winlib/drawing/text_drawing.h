// Texts drawn and measured in pixels or in millimetres through a scale
// record. Formatted texts are cut at 255 characters.
#ifndef DESKTOP_WINLIB_DRAWING_TEXT_DRAWING_H
#define DESKTOP_WINLIB_DRAWING_TEXT_DRAWING_H

#include <windows.h>

#include <string>

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/points.h"
#include "desktop/winlib/messages/printf_check.h"

constexpr int drawn_text_limit = 255;

// Justification codes of text_out_justified.
constexpr int justify_top_left = 0;
constexpr int justify_top_centre = 7;
constexpr int justify_bottom_right = 9;

void text_out_scaled(HDC dc, const paper& scale, double x, double y, const char* text);
void text_out_printf(HDC dc, int x, int y, const char* format, ...) ERG_PRINTF(4, 5);
void text_out_printf_scaled(HDC dc, const paper& scale, double x, double y, const char* format, ...)
    ERG_PRINTF(5, 6);
// Formats, measures and writes the text with the point at its top left (0),
// the middle of its top edge (7) or its bottom right (9). Another code is
// reported ("### JUSTIFICATION %d NOT IMPLEMENTED ###") and nothing is
// written. Returns the text's size in pixels.
SIZE text_out_justified(HDC dc, int x, int y, int justification, const char* format, ...) ERG_PRINTF(5, 6);

int text_height_px(HDC dc, const char* format, ...) ERG_PRINTF(2, 3);
int text_width_px(HDC dc, const char* format, ...) ERG_PRINTF(2, 3);
// The text as it stands (not a format), in millimetres.
double text_height_scaled(HDC dc, const paper& scale, const char* text);
double text_width_scaled(HDC dc, const paper& scale, const char* text);
// Measured in the window's context with the font, in millimetres of the
// screen record.
double text_width_screen(HWND window, HFONT font, const char* text);
void text_size_scaled(HDC dc, const paper& scale, const char* text, mmPointClass* size);
// In pixels, with the font (or the context's own, for null) selected.
SIZE text_extent(HDC dc, const char* text, HFONT font);
// Every text the program draws or measures is UTF-8 and goes through these
// two (length in bytes; negative: up to the text's end), so that a name in
// any script is drawn and measured whole.
SIZE utf8_text_extent(HDC dc, const char* text, int length);
void utf8_text_out(HDC dc, int x, int y, const char* text, int length);
// The text as it fits into width pixels measured on dc with its font: whole,
// or cut after a whole character and ended with "..."; "" when not even
// that fits. Measured on the context that draws it (a printer's included),
// never taken from a font's requested width.
std::string fitted_text(HDC dc, const char* text, int width);

#endif
