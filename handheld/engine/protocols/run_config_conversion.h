// Between protocol programs and the flat run configuration of a test: the
// steps of one test to the runConfig stored in its record, the operator's
// custom-test settings to a program.
#ifndef HANDHELD_ENGINE_PROTOCOLS_RUN_CONFIG_CONVERSION_H
#define HANDHELD_ENGINE_PROTOCOLS_RUN_CONFIG_CONVERSION_H

#include <cstdint>

#include "handheld/engine/storage/stored_records.h"

// The custom-test page's settings. Of the configuration, the conversion reads
// Intensity, Background, AdaptationTime (the wait, in seconds),
// RepeatInterval ("mSec between samples"), RepeatCount (flashes), PreTime and
// PostTime, and clears Unused.
struct customTestSettings {
  runConfig Config;
  wchar_t Name[64];           // the test's name, NUL-terminated
};

// The steps of the test that starts at step test_step (a TEST step) into
// config. background and adaptation are the starting values (the background
// in force and the milliseconds since it last changed); channel 1 takes
// channel B's data calibration, any other channel A's. The walk covers at
// most the 62 steps after the TEST and never passes step 63. False, with a
// message, when the steps are not a test ending in END TEST; config then
// keeps what was set before the failure.
bool convert_steps_to_config(const programRecord* program, int test_step, runConfig* config,
                             int32_t background, int32_t adaptation, int channel);

// Builds the custom test's program: a single flash, a FLICKER(2) train, or a
// REPEAT block of flashes. False (with a message) for a null argument, a
// timing whose data does not fit between flashes, or a value too wide for
// its step field.
bool convert_config_to_program(customTestSettings* settings, programRecord* program);

#endif
