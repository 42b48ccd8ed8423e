#include "handheld/engine/acquisition/calibration_table.h"

#include <string.h>

#include <mutex>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "platform/ce/unit_clock.h"

static_assert(sizeof(double) == 8, "calibration entries are 8 bytes on the link");

// Before the stimulator's copy arrives (reset_calibration_table).
std::atomic<double> calibration_table[CALIBRATION_ENTRIES] = {
    0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
    14.90119, -200.2468, 14.90119, -200.2468, 14.90119, -200.2468, 0.0, 0.0, 0.0, 0.0,
    0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
};
std::atomic<int> calibration_received{0};

namespace {

const char kEntryAlphabet[] = "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ?";
const int kAlphabetSize = sizeof kEntryAlphabet - 1;
const int kBlankIndex = 10;

struct defaultEntry {
  int entry;
  double value;
};

const defaultEntry kDefaults[] = {
    {0, 4.8e-05},  {1, -0.06},    {2, 5e-05},    {3, 0.8},      {4, 15.25},    {5, -90.0},
    {6, 0.00045},  {7, -1930.0},  {8, 0.00045},  {9, -1930.0},  {10, 15.25},   {11, -90.0},
    {12, 15.25},   {13, -90.0},   {14, 15.25},   {15, -90.0},   {22, 0.09},    {23, 4.2e-05},
    {24, 1.9e-10}, {25, 0.09},    {26, 4.2e-05}, {27, 1.9e-10}, {28, 5e-05},   {29, 0.8},
};

std::mutex& serial_lock() {
  static std::mutex lock;
  return lock;
}

std::string& serial_text() {
  static std::string text;
  return text;
}

void entry_bytes(double value, uint8_t out[8]) { memcpy(out, &value, 8); }

double entry_from_bytes(const uint8_t* bytes) {
  double value;
  memcpy(&value, bytes, 8);
  return value;
}

char alphabet_char(int index) {
  return index >= 0 && index < kAlphabetSize ? kEntryAlphabet[index] : '?';
}

}  // namespace

int flash_quadratic_entry(int dome, int term) { return (dome == 1 ? 25 : 22) + term; }
int background_slope_entry(int dome) { return dome == 1 ? 28 : 2; }
int background_intercept_entry(int dome) { return dome == 1 ? 29 : 3; }

void reset_calibration_table() {
  for (std::atomic<double>& entry : calibration_table) entry = 0.0;
  for (int e = 10; e <= 15; e += 2) {
    calibration_table[e] = 14.90119;
    calibration_table[e + 1] = -200.2468;
  }
  calibration_received = 0;
}

void send_calibration_constant(int link_index, double value) {
  uint8_t frame[11] = {COMMAND_STORE, static_cast<uint8_t>(link_index), 8};
  entry_bytes(value, frame + 3);
  send_8051(frame, sizeof frame);
  unit_sleep_ms(50);
}

void send_calibration_table() {
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) send_calibration_constant(e + 1, calibration_table[e]);
}

void load_default_calibration() {
  for (const defaultEntry& d : kDefaults) calibration_table[d.entry] = d.value;
  send_calibration_table();
}

calibrationReply take_calibration_message() {
  uint8_t payload[CALIBRATION_PAYLOAD_BYTES];
  if (!stimulator_calibration_payload(payload)) {
    log_error_line("### CALIBRATION MESSAGE '%c' OF %d BYTES, NOT 240: TABLE KEPT ###",
                   stimulator_message.id >= 32 && stimulator_message.id < 127 ? stimulator_message.id : '?',
                   stimulator_message.count > 0 ? stimulator_message.count - 1 : 0);
    return CALIBRATION_REFUSED;
  }
  bool present = false;
  for (int i = 0; i < 8; ++i) present = present || payload[i] != 0;
  if (!present) {
    load_default_calibration();
    engine_show_message(1, "---\n DEFAULT CALIBRATION\nVALUES LOADED\n---");
    return CALIBRATION_DEFAULTS;
  }
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) calibration_table[e] = entry_from_bytes(payload + 8 * e);
  char serial[8];
  unit_serial_from_table(serial);
  set_unit_serial(serial);
  calibration_received = 1;
  send_8051_byte(COMMAND_CLOCK_REQUEST);
  return CALIBRATION_TAKEN;
}

int entry_char_index(char c) {
  if (c == '\0') return kBlankIndex;
  const char* at = strchr(kEntryAlphabet, c);
  return at != nullptr ? static_cast<int>(at - kEntryAlphabet) : kBlankIndex;
}

void unit_serial_from_table(char out[8]) {
  uint8_t bytes[8];
  entry_bytes(calibration_table[UNIT_SERIAL_ENTRY], bytes);
  for (int i = 0; i < 6; ++i) out[i] = alphabet_char(bytes[i]);
  // The second 32-bit word below 0x1000000: byte 7 is 0, no seventh character.
  out[6] = bytes[7] == 0 ? '\0' : alphabet_char(bytes[7] - 100);
  out[7] = '\0';
}

void unit_serial_to_table(const char* text) {
  if (text == nullptr) text = "";
  uint8_t bytes[8] = {};
  size_t length = strlen(text);
  for (size_t i = 0; i < 6; ++i) {
    bytes[i] = static_cast<uint8_t>(entry_char_index(i < length ? text[i] : ' '));
  }
  const char seventh = length > 6 ? text[6] : '\0';
  bytes[7] = seventh == '\0' || seventh == ' ' ? 0 : static_cast<uint8_t>(100 + entry_char_index(seventh));
  calibration_table[UNIT_SERIAL_ENTRY] = entry_from_bytes(bytes);
}

std::string unit_serial() {
  std::lock_guard<std::mutex> hold(serial_lock());
  return serial_text();
}

void set_unit_serial(const char* text) {
  std::lock_guard<std::mutex> hold(serial_lock());
  serial_text() = text != nullptr ? text : "";
}

bool store_unit_serial(const char typed[7]) {
  for (int i = 0; i < 7; ++i) {
    const int index = entry_char_index(typed[i]);
    if (typed[i] == '\0' || index > kBlankIndex) {
      engine_show_message(0, "*** SERIAL NUMBER DIGITS ***\n\n*** MUST BE 0..9 ONLY    ***");
      return false;
    }
  }
  char text[8];
  memcpy(text, typed, 7);
  text[7] = '\0';
  unit_serial_to_table(text);
  send_calibration_constant(UNIT_SERIAL_ENTRY + 1, calibration_table[UNIT_SERIAL_ENTRY]);
  char unpacked[8];
  unit_serial_from_table(unpacked);
  set_unit_serial(unpacked);
  return true;
}
