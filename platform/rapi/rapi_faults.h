// The faults the remote API stand-in can inject, read from a text such as
// "short_read=100,unplug_after=5" (the words are listed in rapi_standin.h).
// Portable: no platform header.
#ifndef PLATFORM_RAPI_RAPI_FAULTS_H
#define PLATFORM_RAPI_RAPI_FAULTS_H

#include <stdint.h>

struct RapiFaults {
  bool init_refused = false;
  bool init_silent = false;
  bool init_failed = false;
  bool filetime_failed = false;
  int64_t short_read = -1;    // bytes a read may return at most; -1: no limit
  uint32_t delay_ms = 0;      // wait before every call
  int64_t unplug_after = -1;  // calls that succeed before the unit is gone; -1: never
};

// Parses text into faults; false (faults untouched) for an unknown word, a
// missing or bad number, or a number out of range. Null or empty text gives
// no faults.
bool parse_rapi_faults(const char* text, RapiFaults& faults);

#endif
