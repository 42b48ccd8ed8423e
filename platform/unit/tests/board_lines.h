// The stimulator's lines and the converter's samples as a test reads them:
// the flash trigger, the sync input and continuous conversions of one input.
#ifndef PLATFORM_UNIT_TESTS_BOARD_LINES_H
#define PLATFORM_UNIT_TESTS_BOARD_LINES_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "platform/unit/tests/sim_bus.h"

void stim_write(std::initializer_list<uint8_t> bytes);
// 'f' with single flashes of duration word D (5000 us for 24999).
void arm_single_flash(uint32_t flash_word = 24999);
// 'f' with the flicker of the given (D, p, count), of `flashes` flashes (the
// mode byte; 0: until 'D').
void arm_flicker(uint32_t flash_word, uint32_t prescaler, uint32_t count, uint8_t flashes = 0);

// Moves the flash trigger (GPIO word 1 bit 2), keeping the chip selects.
void set_flash_trigger(SimBus& bus, bool high);
bool sync_high(SimBus& bus);
// Looks at the sync input every step_ns until `until_ns`, and returns the
// virtual times at which it was first seen low after being high.
std::vector<uint64_t> sync_falls(SimBus& bus, uint64_t until_ns, uint64_t step_ns = 10000);
// The virtual times of the flashes that go off until `until_ns`, exactly.
std::vector<uint64_t> flash_times(uint64_t until_ns);

// Sets converter output 1 (flash 1) and 3 (flash 2) through the bus.
void set_flash_drive(SimBus& bus, uint32_t output1, uint32_t output3);

struct Sample {
  uint64_t at_ns;  // when it was seen ready (within one access of its conversion)
  int32_t raw;
};
// Starts continuous conversions of the input at 15000 per second (the
// converter selected), then reads every conversion as it comes (letting
// most of each conversion period pass at once).
void start_conversions(SimBus& bus, uint32_t input);
std::vector<Sample> read_samples(SimBus& bus, size_t count);
// Microvolts of a raw value by the default front end.
double microvolts(int32_t raw);

#endif
