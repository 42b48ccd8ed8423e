// Receiving messages from the stimulator: a lone byte, or "U", n, id and
// n - 1 payload bytes (n counts the id and the payload, at most 255). The
// main dialog calls these on its own thread for each byte the reader posts
// while a message is being received; only the message-mode flag is also read
// by the reader thread.
#ifndef HANDHELD_ENGINE_STIMULATOR_STIMULATOR_MESSAGE_H
#define HANDHELD_ENGINE_STIMULATOR_STIMULATOR_MESSAGE_H

#include <stddef.h>
#include <stdint.h>

#include <atomic>

// Messages from the stimulator, by id.
const uint8_t STIMULATOR_MESSAGE_START = 'U';
const uint8_t MESSAGE_VERSION = 'v';   // bytes 0-1 the major number, 3-5 the minor (ASCII digits)
const uint8_t MESSAGE_TABLE = 'l';     // 240 bytes: the 30 calibration doubles, little-endian
const uint8_t MESSAGE_STATUS = 's';    // 1 status byte
const uint8_t MESSAGE_CLOCK = 't';     // a FILETIME, 8 bytes, most significant first
const uint8_t MESSAGE_IGNORED = 'a';
const uint8_t MESSAGE_FOR_PAGE = 'b';  // for the open page (the backlight: two counts, 4 bytes each)
// Any other id is unknown.

const int STIMULATOR_MESSAGE_BUFFER = 256;
const uint32_t STIMULATOR_MESSAGE_TIMER = 103;     // the time-out timer's id on the main window
const uint32_t STIMULATOR_MESSAGE_MS_PER_BYTE = 50;
const int CALIBRATION_PAYLOAD_BYTES = 240;

struct stimulatorMessageState {
  std::atomic<bool> message_mode{false};  // from 'U' until complete or timed out
  bool expect_length = false;             // the next byte is the length
  bool expect_id = false;                 // the next byte is the id
  int length = 0;                         // bytes after the length byte, id included
  int count = 0;                          // bytes stored so far
  int id = 0;
  uint8_t buffer[STIMULATOR_MESSAGE_BUFFER + 1] = {};  // id, payload, then a 0
};

// The message being received, or the last one received.
extern stimulatorMessageState stimulator_message;

// The message time-out timer: started with the length byte for length x 50
// ms, stopped when the message completes. The user interface installs one
// on its main window (window_8051_message_timer, main_window_link.h), whose
// expiry its timer handler passes to stimulator_message_timed_out.
struct stimulatorMessageTimer {
  void (*start)(void* context, uint32_t period_ms);
  void (*stop)(void* context);
  void* context;
};
// Installs the timer (null entries: none); returns the previous one.
stimulatorMessageTimer set_8051_message_timer(stimulatorMessageTimer timer);

// 'U' arrived: count, id and length 0, buffer emptied, message mode on,
// a length expected.
void begin_8051_message();
// One byte of the message. When the count reaches the length: the timer is
// stopped, WM_USER (NOTICE_STIMULATOR_MESSAGE, id) is posted to the main dialog and message mode
// ends.
void take_8051_message_byte(uint8_t byte);
// Message mode off: the key filter applies again.
void end_8051_message();

// The timer handler's part of a time-out: stops the timer, ends message mode
// and posts WM_USER (NOTICE_TIMER_EVENT, 103) to the main dialog.
void stimulator_message_timed_out();
// The main dialog's part: logs "8051_MESSAGE_TIMEOUT" and shows the
// time-out message with the id and the expected and received counts.
void report_8051_message_timeout();

// The calibration table of a complete 'l' message that carries all 240
// bytes, copied into table; false (table untouched) for any other message.
bool stimulator_calibration_payload(uint8_t* table);

// The debug trace hook: does nothing and returns 0.
int trace_hook(int code, const char* text, uint32_t first, uint32_t second);
// Hands a payload's first two 32-bit words (little-endian) to the hook.
int trace_8051_message(const uint8_t* payload);

#endif
