// BMP files: a file refused leaves the layout as it was; a file accepted has
// its colour table and pixel rows inside it, in that order; the headers
// written for an accepted image's size and depth check back to that layout.
#include <cstring>
#include <vector>

#include "desktop/winlib/drawing/bmp_layout.h"
#include "fuzz/fuzz_support.h"

namespace {

bool same(const bmpLayout& a, const bmpLayout& b) {
  return a.width == b.width && a.height == b.height && a.bit_count == b.bit_count &&
         a.compression == b.compression && a.header_size == b.header_size && a.colours == b.colours &&
         a.pixel_offset == b.pixel_offset && a.stride == b.stride && a.image_size == b.image_size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bmpLayout layout;
  layout.width = 77;
  layout.pixel_offset = 99;
  const bmpLayout before = layout;
  if (check_bmp_file(data, size, layout) != nullptr) {
    FUZZ_CHECK(same(layout, before));
    return 0;
  }
  const uint64_t rows = layout.height < 0 ? -static_cast<int64_t>(layout.height) : layout.height;
  FUZZ_CHECK(layout.width > 0 && rows > 0);
  FUZZ_CHECK(layout.header_size == bmp_info_header_size || layout.header_size == bmp_v5_header_size);
  FUZZ_CHECK(static_cast<uint64_t>(layout.stride) * 8 >= static_cast<uint64_t>(layout.width) * layout.bit_count);
  FUZZ_CHECK(layout.stride % 4 == 0);
  FUZZ_CHECK(static_cast<uint64_t>(layout.stride) * rows == layout.image_size);
  FUZZ_CHECK(bmp_file_header_size + layout.header_size + 4ull * layout.colours <= layout.pixel_offset);
  FUZZ_CHECK(static_cast<uint64_t>(layout.pixel_offset) + layout.image_size <= size);

  // The same image saved: its headers check back to its layout.
  bmpLayout saved;
  if (layout.image_size > (1u << 20) || rows > 0x7FFFFFFF) return 0;
  if (!bmp_save_layout(layout.width, static_cast<int32_t>(rows), layout.bit_count, saved)) return 0;
  std::vector<uint8_t> file(saved.pixel_offset + saved.image_size, 0);
  write_bmp_headers(saved, file.data());
  bmpLayout again;
  FUZZ_CHECK(check_bmp_file(file.data(), file.size(), again) == nullptr);
  FUZZ_CHECK(same(again, saved));
  return 0;
}
