// The stimulator's sync input: where each platform build reads the pulse
// that signals a flash. The line idles high and goes low for a flash.
//   newer platform: GPIO word 8, bit 5 (mask 0x20)
//   older platform: GPIO word 0, bit 7 (mask 0x80)
// Defined once per platform build (sync_input.cpp, compiled with
// ERG_OLDER_PLATFORM for the older one); a program links one of the two.
#ifndef HANDHELD_ENGINE_HARDWARE_SYNC_INPUT_H
#define HANDHELD_ENGINE_HARDWARE_SYNC_INPUT_H

#include <stdint.h>

struct syncInputLine {
  uint8_t word;
  uint8_t bit;
  uint8_t mask() const { return static_cast<uint8_t>(1u << bit); }
};

extern const syncInputLine SYNC_INPUT;

#endif
