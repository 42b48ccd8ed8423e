// Messages from the stimulator, byte by byte as the main dialog takes them:
// a message never stores more than its buffer and always ends in a 0; a
// calibration table is taken only from a whole 'l' message and is its bytes,
// otherwise the table is left as it was; a version is read only from a
// payload that can hold one.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/stimulator/stimulator_message.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  stimulatorMessageState& m = stimulator_message;
  end_8051_message();
  for (size_t i = 0; i < size; ++i) {
    if (!m.message_mode) {
      if (data[i] == STIMULATOR_MESSAGE_START) begin_8051_message();
      continue;
    }
    take_8051_message_byte(data[i]);
    FUZZ_CHECK(m.count >= 0 && m.count <= STIMULATOR_MESSAGE_BUFFER);
    FUZZ_CHECK(m.buffer[m.count] == 0);
    if (m.message_mode) continue;
    FUZZ_CHECK(m.count >= 1 && m.buffer[0] == static_cast<uint8_t>(m.id));
    uint8_t table[CALIBRATION_PAYLOAD_BYTES];
    std::memset(table, 0xEE, sizeof table);
    if (stimulator_calibration_payload(table)) {
      FUZZ_CHECK(m.id == MESSAGE_TABLE && m.count == CALIBRATION_PAYLOAD_BYTES + 1);
      FUZZ_CHECK(std::memcmp(table, m.buffer + 1, sizeof table) == 0);
    } else {
      for (uint8_t b : table) FUZZ_CHECK(b == 0xEE);
    }
    int major = -1, minor = -1;
    if (parse_version_payload(m.buffer + 1, m.count - 1, major, minor)) {
      FUZZ_CHECK(m.count - 1 >= 6);
      FUZZ_CHECK(major >= -9 && major <= 99 && minor >= -99 && minor <= 999);
    } else {
      FUZZ_CHECK(major == -1 && minor == -1);
    }
  }
  end_8051_message();
  return 0;
}
