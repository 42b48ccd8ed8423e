// The test state file (".st_" beside the test record): a test's analysis in
// the key/value text format under the title "TestState": the a-/b-wave
// marks and the baseline, automatic detection, the filters and the low-pass
// frequency, which samples take part in the average, a user id and notes.
// Only tests opened from the PC keep one.
#ifndef DESKTOP_DATA_TEST_STATE_H
#define DESKTOP_DATA_TEST_STATE_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/files/kv_bridge.h"
#include "desktop/data/wave_values.h"

class samplesListClass;
class tracePlusClass;
class waveMeasurementModel;

// The low-pass frequency of a test without a state file, in Hz.
constexpr double default_lowpass_frequency = 150.0;

// The state a thumbnail keeps of its test, with the binding of its keys.
class testStateClass {
 public:
  testStateClass();
  testStateClass(const testStateClass&) = delete;
  testStateClass& operator=(const testStateClass&) = delete;

  kvBridgeClass binding;
  uint8_t bound = 0;  // the keys are bound (a test from the PC)
  uint8_t state_loaded = 0;
  uint8_t state_changed = 0;
  uint8_t filters_changed = 0;
  uint8_t lowpass_changed = 0;
  uint8_t samples_changed = 0;
  double lowpass_frequency = default_lowpass_frequency;
  uint8_t auto_ab = 1;
  // 60 Hz notch, 50 Hz notch, spike removal, low-pass: '1' on, '0' off.
  byteObjectClass filtering;
  // One character per sample in list order: '1' included, '0' not.
  byteObjectClass samples;
  byteObjectClass notes;
  byteObjectClass user_id;
  // Sees every propagated change of the six values the file keeps.
  monitorObject monitor;
};

// The state file of a test: the test file's path with the extension of its
// own name (a dot in a folder name is not one) replaced by ".st_".
void state_file_name(const char* test_path, byteObjectClass& out);

// Binds the keys to the state and the model, reads the state file of the
// test (a missing file leaves the defaults, and a low-pass frequency that
// is no number is reported and takes the default) and applies it: the low-pass
// frequency and the four filters to the trace entry (a short or long
// filtering text is made four characters first), the sample flags to the
// list when the text has one character per sample. Clears the samples,
// filters and state changed flags. Returns whether the file was read, also
// kept as state_loaded.
bool load_test_state(testStateClass& state, const char* test_path, waveMeasurementModel& model,
                     tracePlusClass& entry, samplesListClass& samples);

// Writes the state file of the test, the sample flags taken from the list
// when it has samples, and clears the state changed flag. A state whose keys
// were never bound (a test from the unit) is refused with a message; a file
// that cannot be written is reported. Either failure returns false and
// keeps the flag.
bool save_test_state(testStateClass& state, const char* test_path, samplesListClass& samples);

#endif
