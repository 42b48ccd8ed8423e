#include "desktop/data/tests/record_fixture.h"

#include <cstring>
#include <fstream>

#include "handheld/engine/storage/record_init.h"

std::unique_ptr<testFileRecord> make_record() {
  std::unique_ptr<testFileRecord> record(new testFileRecord());
  init_test_record(*record);
  record->Config.Scale = 1.0;
  record->Config.Offset = 0.0;
  return record;
}

void fill_block(samplesBlock& block, const std::vector<int32_t>& values, double divisor, uint32_t total_time,
                uint32_t pretrigger) {
  block.Divisor = divisor;
  block.PointCount = static_cast<int32_t>(values.size());
  block.Time = total_time;
  block.CollectionTime = pretrigger;
  std::memset(block.Data, 0, sizeof block.Data);
  for (size_t i = 0; i < values.size() && i < static_cast<size_t>(kSamplesPerBlock); i++) block.Data[i] = values[i];
}

std::vector<uint8_t> test_file_bytes(const testFileRecord& record) {
  std::vector<uint8_t> bytes(1 + sizeof(testFileRecord));
  bytes[0] = 1;
  test_record_to_bytes(record, bytes.data() + 1, sizeof(testFileRecord));
  return bytes;
}

std::vector<uint8_t> samples_file_bytes(const samplesBlock& block) {
  std::vector<uint8_t> bytes(sizeof(samplesBlock));
  samples_block_to_bytes(block, bytes.data(), bytes.size());
  return bytes;
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
