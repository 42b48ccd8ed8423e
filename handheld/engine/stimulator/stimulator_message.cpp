#include "handheld/engine/stimulator/stimulator_message.h"

#include <string.h>

#include <mutex>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/stimulator/main_dialog_post.h"

stimulatorMessageState stimulator_message;

namespace {

std::mutex timer_lock;
stimulatorMessageTimer message_timer = {nullptr, nullptr, nullptr};

void start_timer(uint32_t period_ms) {
  std::lock_guard<std::mutex> hold(timer_lock);
  if (message_timer.start != nullptr) message_timer.start(message_timer.context, period_ms);
}

void stop_timer() {
  std::lock_guard<std::mutex> hold(timer_lock);
  if (message_timer.stop != nullptr) message_timer.stop(message_timer.context);
}

uint32_t word_le(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

stimulatorMessageTimer set_8051_message_timer(stimulatorMessageTimer timer) {
  std::lock_guard<std::mutex> hold(timer_lock);
  stimulatorMessageTimer previous = message_timer;
  message_timer = timer;
  return previous;
}

void begin_8051_message() {
  stimulatorMessageState& m = stimulator_message;
  m.count = 0;
  m.id = 0;
  m.length = 0;
  m.buffer[0] = 0;
  m.expect_length = true;
  m.expect_id = false;
  m.message_mode = true;
}

void take_8051_message_byte(uint8_t byte) {
  stimulatorMessageState& m = stimulator_message;
  if (m.expect_length) {
    m.length = byte;
    start_timer(byte * STIMULATOR_MESSAGE_MS_PER_BYTE);
    m.expect_length = false;
    m.expect_id = true;
    return;
  }
  if (m.expect_id) {
    m.id = byte;
    m.expect_id = false;
  }
  if (m.count < STIMULATOR_MESSAGE_BUFFER) {
    m.buffer[m.count] = byte;
    m.buffer[m.count + 1] = 0;
    ++m.count;
  }
  // A length of 0 completes with the id, like a length of 1.
  if (m.count >= m.length) {
    stop_timer();
    post_to_main_dialog(NOTICE_STIMULATOR_MESSAGE, m.id);
    end_8051_message();
  }
}

void end_8051_message() { stimulator_message.message_mode = false; }

void stimulator_message_timed_out() {
  stop_timer();
  end_8051_message();
  post_to_main_dialog(NOTICE_TIMER_EVENT, STIMULATOR_MESSAGE_TIMER);
}

void report_8051_message_timeout() {
  const stimulatorMessageState& m = stimulator_message;
  // Before its id byte a message has no id yet; a NUL would cut the text.
  int id = m.id != 0 ? m.id : '?';
  log_named_message("8051_MESSAGE_TIMEOUT", "#### id = %c expected %d chars, got %d chars. ####", id, m.length,
                    m.count);
  engine_show_message(0,
                      "########\n\t\t                               8051 MESSAGE TIMEOUT,\n\t\t"
                      "                               id = %c\n\t\t                               "
                      "expected %d chars, got %d chars\n\t\t                               ########",
                      id, m.length, m.count);
}

bool stimulator_calibration_payload(uint8_t* table) {
  const stimulatorMessageState& m = stimulator_message;
  if (table == nullptr || m.message_mode || m.id != MESSAGE_TABLE) return false;
  if (m.count != CALIBRATION_PAYLOAD_BYTES + 1) return false;
  memcpy(table, m.buffer + 1, CALIBRATION_PAYLOAD_BYTES);
  return true;
}

int trace_hook(int, const char*, uint32_t, uint32_t) { return 0; }

int trace_8051_message(const uint8_t* payload) {
  if (payload == nullptr) return 0;
  return trace_hook(13, "-", word_le(payload), word_le(payload + 4));
}
