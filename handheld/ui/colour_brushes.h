// The eight solid brushes of the handheld's colour table, by colour index:
// 0 red, 1 yellow, 2 green, 3 blue, 4 magenta, 5 black, 6 grey, 7 white.
// Created by the main dialog at start-up, used by every page.
#ifndef HANDHELD_UI_COLOUR_BRUSHES_H
#define HANDHELD_UI_COLOUR_BRUSHES_H

#include <windows.h>

const int COLOUR_BRUSH_COUNT = 8;
extern HBRUSH brushes[COLOUR_BRUSH_COUNT];

void create_colour_brushes();
void delete_colour_brushes();

// The background brush of a message of this kind: the kind's brush, or for
// a kind outside the table (or before the brushes exist) the stock white
// brush.
HBRUSH message_brush(int kind);

#endif
