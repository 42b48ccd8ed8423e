// The demonstration session as a clinician reads it: recorded on the
// simulated unit, each stored average measured with the desktop's a-/b-wave
// model and its oscillatory potentials filtered as the desktop's panel
// filters them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/block_traces.h"
#include "tools/demo_card.h"
#include "tools/protocol_recorder.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/data/trace_filters.h"
#include "desktop/data/wave_measurement.h"

namespace {

namespace fs = std::filesystem;

struct measured {
  std::string name;
  double a_ms, b_ms;     // implicit times
  double a_uv, b_uv;     // a-wave depth below the baseline, b-wave trough to peak
  double mean_uv;        // of the whole average
  std::vector<double> op_peaks_ms;  // wavelets of the 100-300 Hz band
};

// The wavelets: maxima of the band-passed trace between the a-wave and 15 ms
// after the b-wave that reach a quarter of the largest.
std::vector<double> wavelets(const traceClass& trace, double from_ms, double to_ms) {
  std::unique_ptr<traceClass> band(fir_filter_trace(&trace, taps_for(trace.get_count()), 100.0, 300.0, nullptr));
  std::vector<double> peaks;
  if (!band) return peaks;
  const int32_t n = band->get_count();
  double largest = 0.0;
  for (int32_t i = 0; i < n; i++) {
    if (band->x(i) >= from_ms && band->x(i) <= to_ms) largest = std::max(largest, band->y(i));
  }
  for (int32_t i = 1; i + 1 < n; i++) {
    const double y = band->y(i);
    if (band->x(i) < from_ms || band->x(i) > to_ms || y < 0.25 * largest) continue;
    if (y > band->y(i - 1) && y >= band->y(i + 1)) peaks.push_back(band->x(i));
  }
  return peaks;
}

measured measure(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto record = std::make_unique<testFileRecord>();
  EXPECT_GE(bytes.size(), 1 + sizeof(testFileRecord)) << file;
  if (bytes.size() < 1 + sizeof(testFileRecord)) return {};
  std::memcpy(record.get(), bytes.data() + 1, sizeof(testFileRecord));  // the record starts at byte 1
  std::unique_ptr<traceClass> trace(make_trace_from_block(*record, record->Average, 3));
  EXPECT_NE(trace, nullptr) << file;
  if (!trace) return {};
  waveMeasurementModel model(record.get(), nullptr);
  model.find_ab_waves(*trace, 0.0, ab_window_end(*record), *record, 1);
  measured m;
  m.name = file.filename().string();
  m.a_ms = model.awave_time.value();
  m.b_ms = model.bwave_time.value();
  m.a_uv = -model.awave_amplitude.value();
  m.b_uv = model.bwave_amplitude.value();
  double sum = 0.0;
  for (int32_t i = 0; i < trace->get_count(); i++) sum += trace->y(i);
  m.mean_uv = sum / trace->get_count();
  m.op_peaks_ms = wavelets(*trace, m.a_ms, m.b_ms + 15.0);
  return m;
}

// The session's four tests of one channel, in the order they ran.
class DemoResponse : public ::testing::TestWithParam<char> {
 protected:
  static void SetUpTestSuite() {
    card_ = fs::temp_directory_path() /
            ("erg_demo_response_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    fs::remove_all(card_);
    fs::create_directories(card_);
    ASSERT_TRUE(write_demo_card(card_.wstring()));
    recordingResult result;
    ASSERT_TRUE(record_protocol(card_.wstring(), kDemoProtocol, L"DEMO01", result));
    ASSERT_TRUE(result.ran);
    for (const std::wstring& name : result.stored) {
      if (name.size() > 11 && name.substr(name.size() - 4) == L".tst") tests_.push_back(fs::path(result.test_folder) / name);
    }
    std::sort(tests_.begin(), tests_.end());
  }
  static void TearDownTestSuite() { fs::remove_all(card_); }

  std::vector<measured> channel(char letter) const {
    std::vector<measured> out;
    for (const fs::path& p : tests_) {
      if (p.filename().string()[11] == letter) out.push_back(measure(p));
    }
    return out;
  }

  static fs::path card_;
  static std::vector<fs::path> tests_;
};

fs::path DemoResponse::card_;
std::vector<fs::path> DemoResponse::tests_;

TEST_P(DemoResponse, EachTestShowsWhatAClinicianExpects) {
  const std::vector<measured> tests = channel(GetParam());
  ASSERT_EQ(tests.size(), 4u);
  const measured& rod = tests[0];      // dark-adapted 0.01
  const measured& dark = tests[1];     // dark-adapted 3.0
  const measured& light = tests[2];    // light-adapted 3.0
  const measured& flicker = tests[3];  // 30 Hz flicker on the background

  // The rods' slow wave alone: no a-wave, a b-wave of at least a third of
  // the bright flash's, late.
  EXPECT_LT(rod.a_uv, 3.0) << rod.name;
  EXPECT_GE(rod.b_uv, dark.b_uv / 3.0) << rod.name;
  EXPECT_GE(rod.b_ms, 60.0) << rod.name;
  EXPECT_LE(rod.b_ms, 100.0) << rod.name;

  // The bright flash in the dark: a-wave and b-wave at their times, a
  // b-wave near 100 uV, and four or five wavelets about 100-160 Hz apart.
  EXPECT_GE(dark.a_ms, 13.0) << dark.name;
  EXPECT_LE(dark.a_ms, 20.0) << dark.name;
  EXPECT_GE(dark.b_ms, 35.0) << dark.name;
  EXPECT_LE(dark.b_ms, 50.0) << dark.name;
  EXPECT_GT(dark.a_uv, 20.0) << dark.name;
  EXPECT_GT(dark.b_uv, 80.0) << dark.name;
  EXPECT_LT(dark.b_uv, 140.0) << dark.name;
  const std::vector<double>& ops = dark.op_peaks_ms;
  EXPECT_GE(ops.size(), 4u) << dark.name;
  EXPECT_LE(ops.size(), 5u) << dark.name;
  if (ops.size() >= 2) {
    const double hz = 1000.0 * (ops.size() - 1) / (ops.back() - ops.front());
    EXPECT_GE(hz, 100.0) << dark.name;
    EXPECT_LE(hz, 160.0) << dark.name;
  }

  // On the background: smaller waves, the b-wave a third to a half of the
  // dark-adapted one, peaking near 30 ms.
  EXPECT_LT(light.a_uv, dark.a_uv) << light.name;
  EXPECT_GE(light.b_uv, dark.b_uv / 3.0) << light.name;
  EXPECT_LE(light.b_uv, dark.b_uv / 2.0) << light.name;
  EXPECT_GE(light.b_ms, 26.0) << light.name;
  EXPECT_LE(light.b_ms, 34.0) << light.name;

  // The flicker: a wave about zero, its peak 25-32 ms after each flash,
  // about as large as the light-adapted b-wave.
  EXPECT_GE(flicker.b_ms, 25.0) << flicker.name;
  EXPECT_LE(flicker.b_ms, 32.0) << flicker.name;
  EXPECT_GT(flicker.b_uv, 0.7 * light.b_uv) << flicker.name;
  EXPECT_LT(flicker.b_uv, 1.3 * light.b_uv) << flicker.name;
  EXPECT_LT(std::abs(flicker.mean_uv), 0.1 * flicker.b_uv) << flicker.name;
}

INSTANTIATE_TEST_SUITE_P(Channels, DemoResponse, ::testing::Values('A', 'B'));

}  // namespace
