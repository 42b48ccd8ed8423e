// The layout of a BMP file: what a reader may trust of its headers, and the
// headers a writer puts before the pixels. Portable (no platform header).
//
// A file is the 14-byte file header ("BM", file size, two reserved words,
// offset of the pixels from the start of the file), a DIB header of 40 bytes
// (or the 124-byte form), the colour table and the pixel rows, each row
// padded to 4 bytes. Little-endian throughout.
#ifndef DESKTOP_WINLIB_DRAWING_BMP_LAYOUT_H
#define DESKTOP_WINLIB_DRAWING_BMP_LAYOUT_H

#include <cstddef>
#include <cstdint>

constexpr uint32_t bmp_file_header_size = 14;
constexpr uint32_t bmp_info_header_size = 40;
constexpr uint32_t bmp_v5_header_size = 124;

struct bmpLayout {
  int32_t width = 0;
  int32_t height = 0;            // as stored: below 0 for rows from the top
  uint16_t bit_count = 0;
  uint32_t compression = 0;
  uint32_t header_size = 0;      // the DIB header's
  uint32_t colours = 0;          // colour-table entries
  uint32_t pixel_offset = 0;     // from the start of the file
  uint32_t stride = 0;           // bytes per row
  uint32_t image_size = 0;       // stride times the rows
};

// Checks the bytes of a whole file against its headers: the "BM" mark, a DIB
// header of 40 or 124 bytes that fits, a width and height above 0 (height
// may be negative for top-down rows), 1, 4, 8, 16, 24 or 32 bits per pixel,
// no compression (or bit fields at 16 and 32 bits), a colour table and
// pixels that lie inside the file and do not overlap. On success fills
// layout and returns null; otherwise returns the reason, a text of the
// system's own, and leaves layout untouched.
const char* check_bmp_file(const uint8_t* bytes, size_t size, bmpLayout& layout);

// The bit count a bitmap of planes x bits per pixel is saved with: 1 stays
// 1, up to 4 gives 4, up to 8 gives 8, up to 16 gives 16, above 24 gives 32,
// anything else 24.
uint16_t bmp_save_bit_count(uint32_t planes_times_bits);

// The layout of a file written for a bitmap of width x height (height above
// 0, bottom-up) at bits per pixel (one of the counts above): a 40-byte DIB
// header, a colour table of 2^bits entries only up to 8 bits per pixel.
// False when the image is too large for a file.
bool bmp_save_layout(int32_t width, int32_t height, uint16_t bits, bmpLayout& layout);

// Writes the 14-byte file header and the 40-byte DIB header of layout into
// out (54 bytes).
void write_bmp_headers(const bmpLayout& layout, uint8_t out[54]);

#endif
