// The test state file: whatever a state file holds, the state read from it,
// once saved, reads back to the same state (the file saved from it is the
// same).
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/block_traces.h"
#include "desktop/data/filtered_trace.h"
#include "fuzz/fuzz_support.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/test_state.h"
#include "desktop/data/wave_measurement.h"

namespace {

// What the desktop holds of an opened test: its record, trace entry, three
// samples, model and state.
struct openedTest {
  std::unique_ptr<testFileRecord> record = make_record();
  std::unique_ptr<traceClass> trace;
  std::unique_ptr<tracePlusClass> entry;
  samplesListClass samples;
  std::unique_ptr<waveMeasurementModel> model;
  testStateClass state;

  openedTest() {
    std::vector<int32_t> raw;
    for (int i = 0; i < 600; i++) raw.push_back((i * 7) % 50);
    fill_block(record->Average, raw, 1.0, 300, 50);
    fill_block(record->LastSweep, raw, 1.0, 300, 50);
    trace.reset(make_trace_from_block(*record, record->Average, 3));
    entry.reset(new tracePlusClass(trace.get()));
    for (int i = 0; i < 3; i++) samples.add_sample(*record, record->LastSweep, i);
    model.reset(new waveMeasurementModel(record.get(), entry.get()));
  }
};

// A test opened with its state file, then its state saved: the file saved.
std::string load_then_save(const std::string& test_path, const std::string& state_path) {
  openedTest test;
  load_test_state(test.state, test_path.c_str(), *test.model, *test.entry, test.samples);
  if (!save_test_state(test.state, test_path.c_str(), test.samples)) {
    fuzz_failed("the state could not be saved", __FILE__, __LINE__);
  }
  return fuzz_read(state_path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  const std::string test_path = (fuzz_card() / "P01S01T0101A.tst").string();
  fuzz_write("P01S01T0101A.tst", std::string());
  fuzz_write("P01S01T0101A.st_", data, size);
  const std::string saved = load_then_save(test_path, "P01S01T0101A.st_");
  FUZZ_CHECK(load_then_save(test_path, "P01S01T0101A.st_") == saved);
  fuzz_forget_messages();
  return 0;
}
