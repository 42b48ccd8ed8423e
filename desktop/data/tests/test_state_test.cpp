#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/data/block_traces.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/data/samples_list.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/test_state.h"
#include "desktop/data/wave_measurement.h"

namespace {

// What a thumbnail holds of a test: its record, trace entry, three samples,
// model and state.
struct loaded_test {
  std::unique_ptr<testFileRecord> record = make_record();
  std::unique_ptr<traceClass> trace;
  std::unique_ptr<tracePlusClass> entry;
  samplesListClass samples;
  std::unique_ptr<waveMeasurementModel> model;
  testStateClass state;

  explicit loaded_test(int sample_count = 3) {
    std::vector<int32_t> raw;
    for (int i = 0; i < 600; i++) raw.push_back((i * 7) % 50);
    fill_block(record->Average, raw, 1.0, 300, 50);
    fill_block(record->LastSweep, raw, 1.0, 300, 50);
    trace.reset(make_trace_from_block(*record, record->Average, 3));
    entry.reset(new tracePlusClass(trace.get()));
    for (int i = 0; i < sample_count; i++) samples.add_sample(*record, record->LastSweep, i);
    model.reset(new waveMeasurementModel(record.get(), entry.get()));
  }
  bool load(const std::string& path) { return load_test_state(state, path.c_str(), *model, *entry, samples); }
  bool save(const std::string& path) { return save_test_state(state, path.c_str(), samples); }
};

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TestState, TheStateFileReplacesTheExtensionOfTheTestFilesOwnName) {
  struct {
    const char* test;
    const char* state;
  } cases[] = {
      {"C:\\tests\\P01S01T0101A.tst", "C:\\tests\\P01S01T0101A.st_"},
      {"C:\\data.2024\\P01S01T0101A.TST", "C:\\data.2024\\P01S01T0101A.st_"},
      {"C:\\data.2024\\P01S01T0101A", "C:\\data.2024\\P01S01T0101A.st_"},
      {"/home/a.b/P01S01T0101A-0000001234.tst", "/home/a.b/P01S01T0101A-0000001234.st_"},
      {"P.tst", "P.st_"},
      {"", ".st_"},
  };
  for (const auto& c : cases) {
    byteObjectClass name;
    state_file_name(c.test, name);
    EXPECT_STREQ(name.text(), c.state) << c.test;
  }
}

TEST(TestState, EveryFieldRoundTrips) {
  temp_folder folder;
  std::string path = folder.file("tests.2024/P01S01T0101A.tst");
  folder.write("tests.2024/P01S01T0101A.tst", "");
  {
    loaded_test test;
    message_capture capture;
    EXPECT_FALSE(test.load(path));  // no state file yet: the defaults
    EXPECT_STREQ(test.state.filtering.text(), "0000");
    EXPECT_STREQ(test.state.notes.text(), "none");
    EXPECT_STREQ(test.state.user_id.text(), " ");
    EXPECT_EQ(test.state.lowpass_frequency, 150.0);
    EXPECT_EQ(test.entry->lowpass_frequency(), 150.0);
    EXPECT_EQ(test.state.auto_ab, 1);

    waveMeasurementModel& m = *test.model;
    m.awave_time.set_value(21.5);
    m.awave_point.set_value(-12.25);
    m.bwave_time.set_value(48.75);
    m.bwave_point.set_value(60.5);
    m.baseline_slope.set_value(0.125);
    m.baseline_intercept.set_value(-2.5);
    test.state.auto_ab = 0;
    test.state.lowpass_frequency = 77.5;
    test.state.filtering.set("1010");
    test.samples.set_sample_flag(1, 0);
    test.state.user_id.set("Dr (Who) \"x\"");
    test.state.notes.set("two words \\ and a (note)");
    test.state.state_changed = 1;
    EXPECT_TRUE(test.save(path));
    EXPECT_EQ(test.state.state_changed, 0);
    EXPECT_TRUE(capture.texts().empty());
  }
  std::string written = read_file(folder.file("tests.2024/P01S01T0101A.st_"));
  EXPECT_EQ(written.rfind("(TestState ", 0), 0u) << written;

  loaded_test test;
  EXPECT_TRUE(test.load(path));
  EXPECT_EQ(test.state.state_loaded, 1);
  waveMeasurementModel& m = *test.model;
  EXPECT_EQ(m.awave_time.value(), 21.5);
  EXPECT_EQ(m.awave_point.value(), -12.25);
  EXPECT_EQ(m.bwave_time.value(), 48.75);
  EXPECT_EQ(m.bwave_point.value(), 60.5);
  EXPECT_EQ(m.baseline_slope.value(), 0.125);
  EXPECT_EQ(m.baseline_intercept.value(), -2.5);
  EXPECT_FALSE(test.state.monitor.changed());  // read without passing the changes on
  EXPECT_EQ(test.state.auto_ab, 0);
  EXPECT_EQ(test.state.lowpass_frequency, 77.5);
  EXPECT_EQ(test.entry->lowpass_frequency(), 77.5);
  EXPECT_EQ(test.state.lowpass_changed, 1);
  EXPECT_STREQ(test.state.filtering.text(), "1010");
  EXPECT_TRUE(test.entry->has_60hz_filter());
  EXPECT_FALSE(test.entry->has_50hz_filter());
  EXPECT_TRUE(test.entry->has_spike_filter());
  EXPECT_FALSE(test.entry->has_lowpass_filter());
  EXPECT_STREQ(test.state.samples.text(), "101");
  EXPECT_EQ(test.samples.get_sample_flag(0), 1);
  EXPECT_EQ(test.samples.get_sample_flag(1), 0);
  EXPECT_STREQ(test.state.user_id.text(), "Dr (Who) \"x\"");
  EXPECT_STREQ(test.state.notes.text(), "two words \\ and a (note)");
  EXPECT_EQ(test.state.filters_changed, 0);
  EXPECT_EQ(test.state.samples_changed, 0);

  // A change propagated afterwards is seen by the monitor.
  m.awave_time.set_value(22.0);
  EXPECT_TRUE(test.state.monitor.changed());
}

TEST(TestState, FilteringAndSampleTextsAsRead) {
  temp_folder folder;
  std::string path = folder.file("P01S01T0101A.tst");
  struct {
    const char* filtering;
    const char* samples;
    const char* normalised;
    bool n60, n50, spike, lowpass;
    uint8_t sample1;
  } cases[] = {
      {"1001", "101", "1001", true, false, false, true, 0},
      {"1", "1", "1000", true, false, false, false, 1},     // short: the rest off
      {"", "0000", "0000", false, false, false, false, 1},  // samples of another length: ignored
      {"0x1y9", "110", "0111", false, true, true, true, 1},  // anything but '0' is on
  };
  for (const auto& c : cases) {
    std::ofstream(folder.file("P01S01T0101A.st_"), std::ios::trunc)
        << "(TestState (filtering \"" << c.filtering << "\") (samples \"" << c.samples << "\"))\n";
    loaded_test test;
    EXPECT_TRUE(test.load(path)) << c.filtering;
    EXPECT_STREQ(test.state.filtering.text(), c.normalised) << c.filtering;
    EXPECT_EQ(test.entry->has_60hz_filter(), c.n60) << c.filtering;
    EXPECT_EQ(test.entry->has_50hz_filter(), c.n50) << c.filtering;
    EXPECT_EQ(test.entry->has_spike_filter(), c.spike) << c.filtering;
    EXPECT_EQ(test.entry->has_lowpass_filter(), c.lowpass) << c.filtering;
    EXPECT_EQ(test.samples.get_sample_flag(1), c.sample1) << c.filtering;
  }
}

TEST(TestState, ALowpassFrequencyThatIsNoNumberTakesTheDefault) {
  temp_folder folder;
  std::string path = folder.file("P01S01T0101A.tst");
  std::ofstream(folder.file("P01S01T0101A.st_"), std::ios::trunc)
      << "(TestState (lpfrequency nan) (filtering \"0001\"))\n";
  loaded_test test;
  message_capture capture;
  EXPECT_TRUE(test.load(path));
  EXPECT_EQ(capture.texts().size(), 1u);
  EXPECT_EQ(test.state.lowpass_frequency, 150.0);
  EXPECT_EQ(test.entry->lowpass_frequency(), 150.0);
  EXPECT_TRUE(test.entry->has_lowpass_filter());
  const traceClass* shown = test.entry->active_trace();
  ASSERT_GT(shown->get_count(), 0);
  for (int32_t i = 0; i < shown->get_count(); i++) ASSERT_TRUE(std::isfinite(shown->y_at(i))) << i;
}

TEST(TestState, AFailedWriteKeepsTheChangedFlag) {
  temp_folder folder;
  std::string path = folder.file("missing folder/P01S01T0101A.tst");
  loaded_test test;
  test.load(path);
  test.state.state_changed = 1;
  message_capture capture;
  EXPECT_FALSE(test.save(path));
  EXPECT_EQ(test.state.state_changed, 1);
  EXPECT_EQ(capture.texts(),
            (std::vector<std::string>{"*** UNABLE TO OPEN FILE ***\n[" + folder.file("missing folder/P01S01T0101A.st_") +
                                      "]"}));
}

TEST(TestState, AStateNeverBoundIsNotWritten) {
  temp_folder folder;
  std::string path = folder.file("P01S01T0101A.tst");
  loaded_test test;
  test.state.state_changed = 1;
  message_capture capture;
  EXPECT_FALSE(test.save(path));
  EXPECT_EQ(test.state.state_changed, 1);
  EXPECT_EQ(capture.texts().size(), 1u);
  EXPECT_FALSE(std::ifstream(folder.file("P01S01T0101A.st_")).good());
}

TEST(TestState, AnEmptySamplesListWritesTheTextAsItStands) {
  temp_folder folder;
  std::string path = folder.file("P01S01T0101A.tst");
  loaded_test test(0);
  test.load(path);
  test.state.samples.set("01");
  EXPECT_TRUE(test.save(path));
  loaded_test again(0);
  again.load(path);
  EXPECT_STREQ(again.state.samples.text(), "01");
}

}  // namespace
