#include "handheld/engine/stimulator/startup_replies.h"

#include <stdio.h>
#include <string.h>

#include <mutex>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/storage/test_folders.h"
#include "handheld/engine/storage/unit_time.h"

std::atomic<int> flash_8051_mode{FLASH_MODE_IDLE};
std::atomic<int> version_received{0};
std::atomic<int> stimulator_status{0};
std::atomic<int> status_received{0};
std::atomic<uint8_t> auto_calibration{0};

namespace {

std::atomic<int> versionMajor{0};
std::atomic<int> versionMinor{0};

// The power hold: GPIO word 12 bit 2.
const int POWER_HOLD_WORD = 12;
const int POWER_HOLD_BIT = 2;

// A field of ASCII digits read as "%d" reads it (0 when it holds none).
int decimal_field(const uint8_t* bytes, int n) {
  char text[8] = {};
  memcpy(text, bytes, static_cast<size_t>(n));
  int value = 0;
  if (sscanf(text, "%d", &value) != 1) value = 0;
  return value;
}

// The payload of the last complete message and its length.
const uint8_t* message_payload(int& n) {
  n = stimulator_message.count > 0 ? stimulator_message.count - 1 : 0;
  return stimulator_message.buffer + 1;
}

}  // namespace

stimulatorVersionNumber stimulator_version() { return {versionMajor.load(), versionMinor.load()}; }

bool parse_version_payload(const uint8_t* payload, int n, int& major, int& minor) {
  if (payload == nullptr || n < 6) return false;
  major = decimal_field(payload, 2);
  minor = decimal_field(payload + 3, 3);
  return true;
}

bool take_version_reply() {
  int n = 0;
  const uint8_t* payload = message_payload(n);
  int major = 0, minor = 0;
  if (!parse_version_payload(payload, n, major, minor)) return false;
  versionMajor = major;
  versionMinor = minor;
  set_stimulator_version(major, minor);
  version_received = 1;
  // A second version reply while the table is still awaited (the start-up
  // request and the first paint's both answered) asks for no second table:
  // it would arrive after the first was taken and be reported as unexpected.
  if (flash_8051_mode.exchange(FLASH_MODE_TABLE) != FLASH_MODE_TABLE) {
    std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
    for (uint8_t byte : TABLE_REQUEST) send_8051_byte(byte);
  }
  hardware.put_gpio_bit(POWER_HOLD_WORD, POWER_HOLD_BIT, 1);
  return true;
}

tableReplyResult take_table_reply() {
  const int mode = flash_8051_mode.load();
  if (mode == FLASH_MODE_TABLE) {
    switch (take_calibration_message()) {
      case CALIBRATION_TAKEN:
        flash_8051_mode = FLASH_MODE_IDLE;
        return TABLE_TAKEN;
      case CALIBRATION_DEFAULTS:
        flash_8051_mode = FLASH_MODE_IDLE;
        return TABLE_DEFAULTS;
      case CALIBRATION_REFUSED:
        // Still awaited: a whole table sent later is taken.
        return TABLE_REFUSED;
    }
  }
  if (mode == FLASH_MODE_REMOTE) {
    flash_8051_mode = FLASH_MODE_IDLE;
    return TABLE_FOR_REMOTE;
  }
  engine_show_message(0, "### unknown g_flash_8051_mode %d ###", mode);
  return TABLE_UNEXPECTED;
}

void take_status_reply() {
  int n = 0;
  const uint8_t* payload = message_payload(n);
  stimulator_status = n > 0 ? payload[0] : 0;
  status_received = 1;
}

uint64_t clock_payload_filetime(const uint8_t* payload, int n) {
  if (payload == nullptr || n < 8) return 0;
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | payload[i];
  return value;
}

bool take_clock_reply() {
  int n = 0;
  const uint8_t* payload = message_payload(n);
  const uint64_t filetime = clock_payload_filetime(payload, n);
  set_unit_time_filetime(filetime);
  const int folders = count_ERG_directories();
  erg_directory_index = folders > 0 ? folders - 1 : 0;
  set_ERG_directory(false);
  flash_8051_mode = FLASH_MODE_IDLE;
  return filetime != 0;
}
