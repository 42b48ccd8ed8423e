#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/storage/stored_records.h"

namespace {

// Expected bytes, written by offset the way a reader of the file sees them.
struct bytes {
  std::vector<uint8_t> v;
  explicit bytes(size_t n) : v(n, 0xAA) {}
  void u16(size_t at, uint16_t x) { std::memcpy(&v[at], &x, 2); }
  void i32(size_t at, int32_t x) { std::memcpy(&v[at], &x, 4); }
  void f64(size_t at, double x) { std::memcpy(&v[at], &x, 8); }
  void text(size_t at, const char* s) {
    for (; *s != '\0'; ++s, at += 2) u16(at, static_cast<uint8_t>(*s));
    u16(at, 0);
  }
  void zero(size_t at, size_t n) { std::memset(&v[at], 0, n); }
};

void expect_initialised_block(bytes& b, size_t at, double divisor) {
  b.f64(at + 0, divisor);
  b.i32(at + 8, 0);  // error count; the five error times stay
  b.v[at + 32] = 0;  // flag; the padding stays
  b.i32(at + 36, 12000);
  b.i32(at + 40, 500000);
  b.i32(at + 44, 0);
  b.zero(at + 48, 48000);
}

TEST(StoredRecords, InitTestRecordWritesExactlyTheDefaultBytes) {
  auto record = std::make_unique<testFileRecord>();
  std::memset(record.get(), 0xAA, sizeof *record);
  init_test_record(*record);

  bytes expected(96680);
  expected.text(0, "?");
  expected.text(62, "123456");
  expected.text(76, "----------");
  expected.u16(124, 'N');
  expected.text(128, " ");
  expected.text(256, " ");
  expected.i32(384, 0);
  expected.i32(392, 0);
  const int32_t config[] = {10, 0, 0, 0, 0, 1, 15000, 20, 180};
  for (int i = 0; i < 9; ++i) expected.i32(400 + 4 * i, config[i]);
  expected.text(456, "?");
  expect_initialised_block(expected, 584, 1.0);
  expect_initialised_block(expected, 48632, 0.0);

  std::vector<uint8_t> written(96680);
  ASSERT_TRUE(test_record_to_bytes(*record, written.data(), written.size()));
  for (size_t i = 0; i < written.size(); ++i) {
    ASSERT_EQ(written[i], expected.v[i]) << "byte " << i;
  }
}

TEST(StoredRecords, InitSamplesBlockWritesExactlyTheDefaultBytes) {
  auto block = std::make_unique<samplesBlock>();
  std::memset(block.get(), 0xAA, sizeof *block);
  EXPECT_EQ(&init_samples_block(*block), block.get());
  bytes expected(48048);
  expect_initialised_block(expected, 0, 1.0);
  std::vector<uint8_t> written(48048);
  ASSERT_TRUE(samples_block_to_bytes(*block, written.data(), written.size()));
  EXPECT_EQ(written, expected.v);
}

TEST(StoredRecords, ByteCopiesRefuseShortBuffersAndRoundTrip) {
  auto record = std::make_unique<testFileRecord>();
  init_test_record(*record);
  record->Average.Data[11999] = -7;
  record->Config.Scale = 0.25;

  // A ".TST" file: one flag byte, then the record.
  std::vector<uint8_t> file(1 + sizeof(testFileRecord), 0);
  ASSERT_TRUE(test_record_to_bytes(*record, file.data() + 1, file.size() - 1));
  EXPECT_FALSE(test_record_to_bytes(*record, file.data(), sizeof(testFileRecord) - 1));

  auto back = std::make_unique<testFileRecord>();
  std::memset(back.get(), 0x55, sizeof *back);
  EXPECT_FALSE(test_record_from_bytes(file.data() + 1, file.size() - 2, *back));
  EXPECT_EQ(back->P, 0x55555555);  // untouched
  ASSERT_TRUE(test_record_from_bytes(file.data() + 1, file.size() - 1, *back));
  EXPECT_EQ(std::memcmp(back.get(), record.get(), sizeof *back), 0);

  samplesBlock block;
  EXPECT_FALSE(samples_block_from_bytes(nullptr, 48048, block));
  EXPECT_TRUE(samples_block_from_bytes(file.data() + 1 + 48632, 48048, block));
  EXPECT_EQ(block.Data[11999], -7);
}

}  // namespace
