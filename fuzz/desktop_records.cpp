// The desktop's checked reads of stored test records and sample blocks: a
// block refused leaves the caller's fields as they were and gives no trace;
// a block accepted gives fields that can index, size and divide safely and
// a trace of its point count. Texts stay within
// their fields and limits; the channel letter comes from index 11.
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "desktop/data/block_traces.h"
#include "desktop/winlib/containers/byte_object.h"
#include "fuzz/fuzz_support.h"
#include "desktop/data/record_fields.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/data/trace.h"

namespace {

void check_block(const testFileRecord& record, const samplesBlock& block) {
  std::unique_ptr<traceClass> trace(make_trace_from_block(record, block, 3));
  blockFields fields;
  std::memset(&fields, 0x5C, sizeof fields);
  blockFields before;
  std::memcpy(&before, &fields, sizeof fields);
  if (!read_block_fields(block, fields)) {
    FUZZ_CHECK(std::memcmp(&fields, &before, sizeof fields) == 0);
    FUZZ_CHECK(block.PointCount < 1 || block.Time == 0);
    FUZZ_CHECK(trace == nullptr);
    return;
  }
  FUZZ_CHECK(fields.count >= 1 && fields.count <= kSamplesPerBlock);
  FUZZ_CHECK(fields.divisor != 0.0 && std::isfinite(fields.divisor));
  FUZZ_CHECK(fields.total_time == block.Time && fields.total_time > 0);
  FUZZ_CHECK(fields.pretrigger <= fields.total_time);
  FUZZ_CHECK(trace != nullptr && trace->get_count() == fields.count);
}

void check_text(const char16_t* field, int units, int max_chars) {
  byteObjectClass text;
  record_text(field, units, max_chars, text);
  // UTF-8 of at most the shorter limit's UTF-16 units: up to 3 bytes a unit.
  const size_t length = std::strlen(text.text());
  const size_t taken = static_cast<size_t>(units < max_chars ? units : max_chars);
  FUZZ_CHECK(length <= 3 * taken);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  std::vector<uint8_t> file = fuzz_patched(fresh_record_bytes(), data, size);
  file.resize(sizeof(testFileRecord), 0);
  auto record = std::make_unique<testFileRecord>();
  std::memcpy(record.get(), file.data(), sizeof(testFileRecord));
  check_block(*record, record->LastSweep);
  check_block(*record, record->Average);
  check_text(record->TestId, 20, 10);
  check_text(record->SessionTitle, 64, 63);
  check_text(record->ProtocolName, 64, 200);
  check_text(record->UnitId, 7, 7);
  // The channel letter of a name made from the input's first bytes.
  const std::string name(reinterpret_cast<const char*>(data), std::min<size_t>(size, 40));
  const std::string path = "C:\\tests\\" + name.substr(0, name.find('\0'));
  const char letter = test_channel_letter(path.c_str());
  const std::string own = path.substr(path.find_last_of("\\/:") + 1);
  FUZZ_CHECK(own.size() > 11 ? letter == own[11] : letter == 0);
  fuzz_forget_messages();
  return 0;
}
