#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "desktop/winlib/drawing/bmp_layout.h"

namespace {

void put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A whole file of width x height at bits per pixel, as the writer lays it out.
std::vector<uint8_t> make_file(int32_t width, int32_t height, uint16_t bits) {
  bmpLayout layout;
  EXPECT_TRUE(bmp_save_layout(width, height, bits, layout));
  std::vector<uint8_t> file(layout.pixel_offset + layout.image_size, 0x5A);
  write_bmp_headers(layout, file.data());
  return file;
}

}  // namespace

TEST(BmpLayout, WriterLayoutsReadBack) {
  struct Case {
    uint16_t bits;
    uint32_t offset;
    uint32_t stride;
  } cases[] = {{1, 62, 4}, {4, 118, 4}, {8, 1078, 8}, {16, 54, 12}, {24, 54, 16}, {32, 54, 20}};
  for (const Case& c : cases) {
    std::vector<uint8_t> file = make_file(5, 3, c.bits);
    bmpLayout layout;
    ASSERT_EQ(check_bmp_file(file.data(), file.size(), layout), nullptr) << c.bits;
    EXPECT_EQ(layout.pixel_offset, c.offset) << c.bits;
    EXPECT_EQ(layout.stride, c.stride) << c.bits;
    EXPECT_EQ(layout.image_size, 3 * c.stride) << c.bits;
    EXPECT_EQ(layout.width, 5);
    EXPECT_EQ(layout.height, 3);
    uint32_t file_size = 0;
    std::memcpy(&file_size, file.data() + 2, 4);
    EXPECT_EQ(file_size, file.size());
  }
  EXPECT_FALSE([] { bmpLayout l; return bmp_save_layout(0, 3, 24, l); }());
  EXPECT_FALSE([] { bmpLayout l; return bmp_save_layout(70000, 70000, 32, l); }());
}

TEST(BmpLayout, SaveBitCounts) {
  const uint32_t in[] = {1, 2, 4, 5, 8, 9, 16, 17, 24, 25, 32};
  const uint16_t out[] = {1, 4, 4, 8, 8, 16, 16, 24, 24, 32, 32};
  for (size_t i = 0; i < sizeof in / sizeof in[0]; ++i) EXPECT_EQ(bmp_save_bit_count(in[i]), out[i]) << in[i];
}

TEST(BmpLayout, MalformedFilesAreRefusedAndLeaveTheLayout) {
  const std::vector<uint8_t> good = make_file(4, 4, 24);
  struct Case {
    const char* name;
    void (*spoil)(std::vector<uint8_t>&);
  } cases[] = {
      {"short", [](std::vector<uint8_t>& b) { b.resize(16); }},
      {"not BM", [](std::vector<uint8_t>& b) { b[1] = 'X'; }},
      {"header size 12", [](std::vector<uint8_t>& b) { put32(b, 14, 12); }},
      {"header beyond the file", [](std::vector<uint8_t>& b) { put32(b, 14, 124); b.resize(100); }},
      {"offset outside", [](std::vector<uint8_t>& b) { put32(b, 10, 100000); }},
      {"offset inside the header", [](std::vector<uint8_t>& b) { put32(b, 10, 20); }},
      {"height times stride beyond the data", [](std::vector<uint8_t>& b) { put32(b, 22, 5); }},
      {"huge width", [](std::vector<uint8_t>& b) { put32(b, 18, 0x7FFFFFFF); }},
      {"zero width", [](std::vector<uint8_t>& b) { put32(b, 18, 0); }},
      {"negative width", [](std::vector<uint8_t>& b) { put32(b, 18, 0xFFFFFFFF); }},
      {"smallest height", [](std::vector<uint8_t>& b) { put32(b, 22, 0x80000000u); }},
      {"bit count 7", [](std::vector<uint8_t>& b) { b[28] = 7; }},
      {"run-length compression", [](std::vector<uint8_t>& b) { put32(b, 30, 1); }},
      {"two planes", [](std::vector<uint8_t>& b) { b[26] = 2; }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = good;
    c.spoil(file);
    bmpLayout layout;
    layout.width = 77;
    EXPECT_NE(check_bmp_file(file.data(), file.size(), layout), nullptr) << c.name;
    EXPECT_EQ(layout.width, 77) << c.name;
  }
  // Pixels missing at the end of the file: the bits were not all read.
  for (size_t cut : {size_t{1}, size_t{12}, good.size() - 54}) {
    std::vector<uint8_t> file(good.begin(), good.end() - static_cast<std::ptrdiff_t>(cut));
    bmpLayout cut_layout;
    const char* refusal = check_bmp_file(file.data(), file.size(), cut_layout);
    ASSERT_NE(refusal, nullptr) << cut;
    EXPECT_STREQ(refusal, "*** BITMAP BITS NOT INPUT ***") << cut;
  }
  // An 8-bit file whose colour table claims more than 256 entries.
  std::vector<uint8_t> eight = make_file(4, 4, 8);
  put32(eight, 46, 300);
  bmpLayout layout;
  EXPECT_NE(check_bmp_file(eight.data(), eight.size(), layout), nullptr);
  // Rows from the top (negative height) are a valid file.
  std::vector<uint8_t> top_down = good;
  put32(top_down, 22, static_cast<uint32_t>(-4));
  EXPECT_EQ(check_bmp_file(top_down.data(), top_down.size(), layout), nullptr);
  EXPECT_EQ(layout.height, -4);
}
