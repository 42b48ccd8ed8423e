// The unit's drawing resources, made by the main dialog at start-up and
// used by every page: the colour table (0 red, 1 yellow, 2 green, 3 blue,
// 4 magenta, 5 black, 6 grey, 7 white), a solid and a dashed pen of each
// colour, three fonts, and the soft keys' colours.
#ifndef HANDHELD_UI_DIALOGS_UNIT_DRAWING_H
#define HANDHELD_UI_DIALOGS_UNIT_DRAWING_H

#include <windows.h>

const int COLOUR_COUNT = 8;
COLORREF colour_of(int index);  // black for an index outside the table

extern HPEN solid_pens[COLOUR_COUNT];
extern HPEN dash_pens[COLOUR_COUNT];
extern HFONT small_font;
extern HFONT fixed_font;

// A text cell of the graph (plotter.h): 7 pixels wide, 12 high. The graph
// font (fixed_font) is chosen so that each of its characters fits a cell.
const int CELL_WIDTH = 7;
const int CELL_HEIGHT = 12;
// A fixed-pitch font whose every printable character, measured on the
// device, fits a cell of this size.
HFONT make_cell_font(HDC dc, int cellWidth, int cellHeight);

// Pens and fonts (the brushes are colour_brushes.h's).
void create_pens_and_fonts();
void delete_pens_and_fonts();

// Text in a colour of the table, the previous text colour put back.
void draw_colour_text(HDC dc, const wchar_t* text, int x, int y, int colour);

// The soft keys' colours: upper-left red, lower-left green, upper-right
// yellow, lower-right blue; any other control none (0). While the one-shot
// plain-key flag is set, the next key asked for is white and the flag
// clears.
HBRUSH key_colour_brush(int control);
void set_plain_key_once();

#endif
