// The trail of the operator's key presses: a ring of the last 50 keys,
// dumped into the log before each error trace line and logged message.
#ifndef HANDHELD_UI_STATUS_KEY_LOG_H
#define HANDHELD_UI_STATUS_KEY_LOG_H

#include <windows.h>

#include <stdint.h>

const int KEY_LOG_ENTRIES = 50;

struct keyLogEntry {
  uint8_t a_on;
  uint8_t b_on;
  int32_t current;
  SYSTEMTIME time;
  wchar_t caption[32];
  wchar_t context[64];
};

// Adds a key (its caption, at most 31 characters) with the channel
// selection and the time.
void log_key(const wchar_t* caption);
// Empties the ring and logs "-KEY LOG INIT-".
void init_key_log();
// Writes the ring, oldest first, as "keypress" log records, then empties
// it (nothing while keys are echoed on the remote-control line).
void dump_key_log();

// The ring as it stands, for tests.
int key_log_next();
bool key_log_wrapped();
keyLogEntry key_log_entry(int index);

#endif
