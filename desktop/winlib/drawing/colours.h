// The program's palette: ten colours by index, with the names the menus and
// lists show. The brushes and pens made from it live in palette.h.
#ifndef DESKTOP_WINLIB_DRAWING_COLOURS_H
#define DESKTOP_WINLIB_DRAWING_COLOURS_H

#include <cstdint>

constexpr int colour_count = 10;

// COLORREF values (0x00BBGGRR).
constexpr uint32_t colour_table[colour_count] = {
    0x0000FF,  // 0 red
    0x00FFFF,  // 1 yellow
    0x00FF00,  // 2 green
    0xFF0000,  // 3 blue
    0xFF00FF,  // 4 magenta
    0x000000,  // 5 black
    0x808080,  // 6 grey
    0xC0C0C0,  // 7 silver
    0xE6E6E6,  // 8 pale grey
    0xFFFFFF,  // 9 white
};

constexpr const char* colour_names[colour_count] = {"Red",   "Yellow", "Green",     "Blue",     "Violet",
                                                    "Black", "Gray",   "LightGray", "OffWhite", "White"};

inline bool valid_colour_index(int index) { return index >= 0 && index < colour_count; }

// The colour of an index; an index outside the table is reported
// ("### COLOUR INDEX %d OUT OF RANGE ###") and gives black.
uint32_t colour_value(int index);
// The name of an index; "?" outside the table.
const char* colour_name(int index);

#endif
