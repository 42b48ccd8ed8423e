#include "handheld/engine/storage/stored_records.h"

#include <cstring>

namespace {

template <typename T>
bool copy_in(const uint8_t* bytes, size_t size, T& out) {
  if (bytes == nullptr || size < sizeof(T)) return false;
  std::memcpy(&out, bytes, sizeof(T));
  return true;
}

template <typename T>
bool copy_out(const T& in, uint8_t* bytes, size_t size) {
  if (bytes == nullptr || size < sizeof(T)) return false;
  std::memcpy(bytes, &in, sizeof(T));
  return true;
}

}  // namespace

bool samples_block_from_bytes(const uint8_t* bytes, size_t size, samplesBlock& block) {
  return copy_in(bytes, size, block);
}

bool test_record_from_bytes(const uint8_t* bytes, size_t size, testFileRecord& record) {
  return copy_in(bytes, size, record);
}

bool samples_block_to_bytes(const samplesBlock& block, uint8_t* bytes, size_t size) {
  return copy_out(block, bytes, size);
}

bool test_record_to_bytes(const testFileRecord& record, uint8_t* bytes, size_t size) {
  return copy_out(record, bytes, size);
}

bool program_record_from_bytes(const uint8_t* bytes, size_t size, programRecord& program) {
  return copy_in(bytes, size, program);
}

bool program_record_to_bytes(const programRecord& program, uint8_t* bytes, size_t size) {
  return copy_out(program, bytes, size);
}
