#include "desktop/winlib/drawing/bmp_layout.h"

namespace {

uint32_t get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

void put32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

void put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

// Bytes per row of width pixels at bits per pixel, padded to 4 bytes.
uint64_t row_bytes(int64_t width, uint16_t bits) { return ((bits * static_cast<uint64_t>(width) + 31) & ~31ull) / 8; }

constexpr uint32_t kRgb = 0;
constexpr uint32_t kBitFields = 3;

}  // namespace

const char* check_bmp_file(const uint8_t* bytes, size_t size, bmpLayout& layout) {
  if (bytes == nullptr || size < bmp_file_header_size + 4) return "*** BITMAP FILE TOO SHORT ***";
  if (bytes[0] != 'B' || bytes[1] != 'M') return "*** FILE IS NOT BITMAP TYPE ***";
  bmpLayout l;
  l.pixel_offset = get32(bytes + 10);
  l.header_size = get32(bytes + 14);
  if (l.header_size != bmp_info_header_size && l.header_size != bmp_v5_header_size) {
    return "*** rBitmapClass::init - UNKNOWN FILE HEADER ***";
  }
  if (bmp_file_header_size + l.header_size > size) return "*** BITMAP HEADER BEYOND THE END OF THE FILE ***";
  const uint8_t* dib = bytes + bmp_file_header_size;
  l.width = static_cast<int32_t>(get32(dib + 4));
  l.height = static_cast<int32_t>(get32(dib + 8));
  const uint16_t planes = get16(dib + 12);
  l.bit_count = get16(dib + 14);
  l.compression = get32(dib + 16);
  const uint32_t used = get32(dib + 32);
  if (planes != 1) return "*** BITMAP PLANES NOT 1 ***";
  switch (l.bit_count) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return "*** BITMAP BIT COUNT NOT SUPPORTED ***";
  }
  if (l.compression != kRgb && !(l.compression == kBitFields && (l.bit_count == 16 || l.bit_count == 32))) {
    return "*** BITMAP COMPRESSION NOT SUPPORTED ***";
  }
  // INT32_MIN has no magnitude: refuse it with the other impossible sizes.
  if (l.width <= 0 || l.height == 0 || l.height == INT32_MIN) return "*** BITMAP SIZE NOT VALID ***";
  if (l.bit_count <= 8) {
    const uint32_t full = 1u << l.bit_count;
    if (used > full) return "*** BITMAP COLOUR TABLE TOO LARGE ***";
    l.colours = used == 0 ? full : used;
  }
  // Bit fields after a 40-byte header are three masks before the colours.
  uint64_t table_end = bmp_file_header_size + static_cast<uint64_t>(l.header_size) + 4ull * l.colours;
  if (l.compression == kBitFields && l.header_size == bmp_info_header_size) table_end += 12;
  const uint64_t rows = l.height < 0 ? -static_cast<int64_t>(l.height) : l.height;
  const uint64_t stride = row_bytes(l.width, l.bit_count);
  const uint64_t image = stride * rows;
  if (l.pixel_offset < table_end || l.pixel_offset > size) return "*** BITMAP PIXEL OFFSET OUTSIDE THE FILE ***";
  if (image > size - l.pixel_offset || image > 0xFFFFFFFFull) return "*** BITMAP BITS NOT INPUT ***";
  l.stride = static_cast<uint32_t>(stride);
  l.image_size = static_cast<uint32_t>(image);
  layout = l;
  return nullptr;
}

uint16_t bmp_save_bit_count(uint32_t bits) {
  if (bits == 1) return 1;
  if (bits <= 4) return 4;
  if (bits <= 8) return 8;
  if (bits <= 16) return 16;
  if (bits > 24) return 32;
  return 24;
}

bool bmp_save_layout(int32_t width, int32_t height, uint16_t bits, bmpLayout& layout) {
  if (width <= 0 || height <= 0) return false;
  bmpLayout l;
  l.width = width;
  l.height = height;
  l.bit_count = bits;
  l.header_size = bmp_info_header_size;
  // A colour table only where pixels index one: 16, 24 and 32 bits carry
  // their colours in the pixels.
  l.colours = bits <= 8 ? 1u << bits : 0;
  l.pixel_offset = bmp_file_header_size + bmp_info_header_size + 4 * l.colours;
  const uint64_t stride = row_bytes(width, bits);
  const uint64_t image = stride * static_cast<uint64_t>(height);
  if (image + l.pixel_offset > 0xFFFFFFFFull) return false;
  l.stride = static_cast<uint32_t>(stride);
  l.image_size = static_cast<uint32_t>(image);
  layout = l;
  return true;
}

void write_bmp_headers(const bmpLayout& l, uint8_t out[54]) {
  for (int i = 0; i < 54; ++i) out[i] = 0;
  out[0] = 'B';
  out[1] = 'M';
  put32(out + 2, l.pixel_offset + l.image_size);
  put32(out + 10, l.pixel_offset);
  uint8_t* dib = out + bmp_file_header_size;
  put32(dib, bmp_info_header_size);
  put32(dib + 4, static_cast<uint32_t>(l.width));
  put32(dib + 8, static_cast<uint32_t>(l.height));
  put16(dib + 12, 1);
  put16(dib + 14, l.bit_count);
  put32(dib + 20, l.image_size);
}
