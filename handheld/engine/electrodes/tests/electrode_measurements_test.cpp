// Electrode measurements and the electrode thread on the simulated unit,
// whose electrodes, stimulator sine and signal give a known truth.
#include <gtest/gtest.h>

#include <math.h>

#include <atomic>
#include <memory>
#include <vector>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/electrodes/electrode_screen.h"
#include "handheld/engine/stimulator/main_dialog_post_capture.h"
#include "handheld/engine/electrodes/electrode_thread.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/storage/record_init.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/storage/system_parameters.h"

namespace {

const double PI = 3.14159265358979323846;

// ---- sinewave_peaks on synthetic traces ----

std::vector<int32_t> sine(int n, double amplitude, double offset, double period) {
  std::vector<int32_t> v(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) v[i] = static_cast<int32_t>(lround(offset + amplitude * sin(2 * PI * i / period)));
  return v;
}

TEST(SinewavePeaks, MeansOfPeaksAndTroughsOrFailureWithoutBothSides) {
  std::vector<int32_t> one_sided(600, 100);
  one_sided[597] = one_sided[598] = one_sided[599] = 0;  // low only where the walk stops
  const struct {
    const char* name;
    std::vector<int32_t> values;
    int result;
    double peak, trough;
  } cases[] = {
      {"clean", sine(1500, 1000, 0, 150), 1, 1000, -1000},
      {"offset", sine(1500, 300000, 4200000, 150), 1, 4500000, 3900000},
      {"one-sided", one_sided, 0, 0, 0},
      {"flat", std::vector<int32_t>(600, 4194304), 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    double peak = -7.0, trough = -7.0;
    EXPECT_EQ(c.result, sinewave_peaks(c.values.data(), static_cast<int>(c.values.size()), peak, trough));
    if (c.result == 1) {
      EXPECT_NEAR(c.peak, peak, fabs(c.peak - c.trough) * 0.01);
      EXPECT_NEAR(c.trough, trough, fabs(c.peak - c.trough) * 0.01);
    } else {
      EXPECT_EQ(-7.0, peak);
      EXPECT_EQ(-7.0, trough);
    }
  }
  double peak = 0, trough = 0;
  EXPECT_EQ(0, sinewave_peaks(nullptr, 10, peak, trough));
  EXPECT_EQ(0, sinewave_peaks(one_sided.data(), 0, peak, trough));
}

// ---- On the simulated unit ----

class Electrodes : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    open_stimulator();
    set_electrode_calibration();
    init_electrode_monitor();
    copy_default_parameters();
    set_signal(0, 0.5, 0.0, 0.0, 50.0);
    set_signal(1, 0.5, 0.0, 0.0, 50.0);
    electrode_results.baseline_a = MEASUREMENT_FAILED;
    electrode_results.baseline_b = MEASUREMENT_FAILED;
    record_.reset(new testFileRecord());
    init_test_record(*record_);
    record_->Config.Scale = 0.00045;
    record_->Config.Offset = -1930.0;
  }
  void TearDown() override {
    electrode_monitor.cancel = 0;
    channels.a_on = 1;
    channels.b_on = 0;
    SimulatedUnit::TearDown();
  }
  static void set_electrode(uint32_t channel, uint32_t electrode, double ohms) {
    sim_electrode e{ohms, 0.0, 0.0};
    sim_electrode_set(channel, electrode, &e);
  }
  static void set_signal(uint32_t input, double noise_uv, double drift, double hum_uv, double hum_hz) {
    sim_signal s;
    sim_signal_defaults(input, &s);
    s.noise_uv = noise_uv;
    s.drift_uv_per_s = drift;
    s.hum_uv = hum_uv;
    s.hum_hz = hum_hz;
    sim_signal_set(input, &s);
  }
  std::unique_ptr<testFileRecord> record_;
};

TEST_F(Electrodes, StabilisationSettlesOnlyOnAQuietSignalWithinLimits) {
  const struct {
    const char* name;
    double noise_uv, drift;
    bool settled;
    uint8_t timed_out, failed;
  } cases[] = {
      {"quiet", 0.5, 0.0, true, 0, 0},
      {"noisy", 400.0, 0.0, false, 1, 1},
      {"drifting", 0.5, 60.0, false, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    set_signal(0, c.noise_uv, c.drift, 0.0, 50.0);
    const uint64_t start = now_us();
    EXPECT_EQ(c.settled, stabilize(0, *record_, "test", 100.0, 0.001, 6.0));
    EXPECT_EQ(c.timed_out, electrode_monitor.stabilise_timed_out.load());
    EXPECT_EQ(c.failed, electrode_monitor.stabilise_failed.load());
    EXPECT_EQ(0, electrode_monitor.stabilising.load());
    const double seconds = (now_us() - start) / 1e6;
    if (c.settled) {
      EXPECT_GT(seconds, 3.0);  // a quiet window, then another more than 3 s later
      EXPECT_LT(seconds, 4.0);
    } else {
      EXPECT_NEAR(6.0, seconds, 0.1);
    }
  }
  EXPECT_EQ(15000, record_->Config.SampleRate);
}

// What the measurements draw: every scale they push is popped again, on
// success and on failure; the stabilisation shows its caption, its limits,
// its state and each window's noise, and the impedance its end.
class recordingScreen : public electrodeScreen {
 public:
  void push_scale(double, double, double, double) override { ++depth; }
  void pop_scale() override { --depth; }
  void title(const char* text) override { titles.push_back(text); }
  void row_text(int, int row, int column, const char* text) override {
    rows.push_back(std::to_string(row) + "," + std::to_string(column) + ":" + text);
  }
  void line(int pen, double, double y1, double, double y2) override {
    if (pen == 15 && y1 == y2) limits.push_back(y1);
  }
  bool has_row(const std::string& prefix) const {
    for (const std::string& r : rows) {
      if (r.compare(0, prefix.size(), prefix) == 0) return true;
    }
    return false;
  }
  int depth = 0;
  std::vector<std::string> titles, rows;
  std::vector<double> limits;
};

TEST_F(Electrodes, MeasurementsDrawTheirGraphAndLeaveTheScalesAsTheyFoundThem) {
  recordingScreen screen;
  set_electrode_screen(&screen);
  EXPECT_TRUE(stabilize(0, *record_, "baseline, CH A", 100.0, 0.001, 6.0));
  EXPECT_EQ(screen.depth, 0);
  EXPECT_EQ(screen.titles, std::vector<std::string>{"baseline, CH A"});
  EXPECT_TRUE(screen.has_row("-3,10: ----  STABILIZING ----"));
  EXPECT_TRUE(screen.has_row("-2,5:A:  0.")) << "a quiet window's noise";
  ASSERT_GE(screen.limits.size(), 2u);
  EXPECT_EQ(screen.limits[0], 100.0);
  EXPECT_EQ(screen.limits[1], -100.0);
  EXPECT_LT(electrode_monitor.stabilise_noise[0].load(), 5.0);
  EXPECT_GT(electrode_monitor.stabilise_noise[0].load(), 0.0);

  set_electrode(0, SIM_EYE, 3000);
  double peak = 0, trough = 0;
  EXPECT_NE(impedance(0, 0, *record_, 30.0, peak, trough), MEASUREMENT_FAILED);
  EXPECT_EQ(screen.depth, 0);
  EXPECT_TRUE(screen.has_row("-3,10: ----   MEASURING  ----"));
  EXPECT_TRUE(screen.has_row("-3,10: ----     DONE     ----"));

  sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
  EXPECT_EQ(impedance(0, 0, *record_, 30.0, peak, trough), MEASUREMENT_FAILED);
  sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);
  EXPECT_EQ(screen.depth, 0) << "a failed capture pops its scale too";
  set_electrode_screen(nullptr);
}

TEST_F(Electrodes, ImpedanceOfEachElectrodeThroughTheDefaultLines) {
  channels.a_on = 1;
  channels.b_on = 1;
  set_electrode(0, SIM_EYE, 3000);
  set_electrode(0, SIM_REFERENCE, 1500);
  set_electrode(1, SIM_EYE, 4500);
  set_electrode(1, SIM_REFERENCE, 800);
  main_dialog_post_capture notices;
  electrode_monitor.mode = ELECTRODE_MODE_IMPEDANCE;
  run_electrode_request();

  EXPECT_EQ(1, electrode_monitor.impedance_valid.load());
  EXPECT_NEAR(3000, electrode_results.impedance_a_eye.load(), 150);
  EXPECT_NEAR(1500, electrode_results.impedance_a_ref.load(), 75);
  EXPECT_NEAR(4500, electrode_results.impedance_b_eye.load(), 225);
  EXPECT_NEAR(800, electrode_results.impedance_b_ref.load(), 40);
  EXPECT_EQ(0, electrode_monitor.busy.load());
  const std::vector<mainDialogNotice> posted = notices.notices();
  ASSERT_EQ(1u, posted.size());
  EXPECT_EQ(NOTICE_MAIN_DIALOG, posted[0].target);
  EXPECT_EQ(NOTICE_WM_COMMAND, posted[0].message);
  EXPECT_EQ(ELECTRODE_DONE_COMMAND, posted[0].wparam);
  EXPECT_EQ(ELECTRODE_DONE_CODE, posted[0].lparam) << "the code where the menus read it";
  sim_stim_state state;
  sim_stim_get_state(&state);
  EXPECT_EQ(-1, state.sine_electrode) << "the sine is left on";
}

TEST_F(Electrodes, MissingSyncGivesTheFailureValueAndTheMessage) {
  electrode_results.impedance_a_ref = 1234.0;
  sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
  engine_message_capture messages;
  electrode_monitor.mode = ELECTRODE_MODE_IMPEDANCE;
  run_electrode_request();

  EXPECT_EQ(0, electrode_monitor.impedance_valid.load());
  EXPECT_EQ(MEASUREMENT_FAILED, electrode_results.impedance_a_eye.load());
  EXPECT_EQ(1234.0, electrode_results.impedance_a_ref.load()) << "measured after a failure";
  const auto shown = messages.messages();
  ASSERT_EQ(1u, shown.size());
  EXPECT_EQ("*** sinewave (tag 100)\nNO SYNC PULSE RECEIVED FROM 8051 ***", shown[0].second);
  const std::vector<uint8_t> sent = sent_to_stimulator();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(COMMAND_SINE_OFF, sent.back());
  sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);
}

TEST_F(Electrodes, CancelStopsAtTheNextSampleAndPostsNothing) {
  std::atomic<int> reads{0};
  set_read_hook([&](int n) {
    reads = n + 1;
    if (n == 999) electrode_monitor.cancel = 1;
    return true;
  });
  main_dialog_post_capture notices;
  electrode_monitor.mode = ELECTRODE_MODE_IMPEDANCE;
  run_electrode_request();

  EXPECT_EQ(1000, reads.load());
  EXPECT_EQ(MEASUREMENT_FAILED, electrode_results.impedance_a_eye.load());
  EXPECT_EQ(0, electrode_monitor.impedance_valid.load());
  EXPECT_EQ(0u, notices.notices().size());
}

TEST_F(Electrodes, BaselineIsHalfThePeakToPeakOfTheSignal) {
  set_signal(0, 0.2, 0.0, 20.0, 500.0);
  EXPECT_NEAR(20.0, baseline(0, *record_), 1.0);
}

TEST_F(Electrodes, ThreadMeasuresChannelBAloneDespiteAStaleChannelA) {
  channels.a_on = 0;
  channels.b_on = 1;
  electrode_results.baseline_a = MEASUREMENT_FAILED;
  set_signal(1, 0.2, 0.0, 10.0, 500.0);
  main_dialog_post_capture notices;
  electrode_monitor.mode = ELECTRODE_MODE_BASELINE;
  ASSERT_TRUE(start_electrode_thread());
  signal_electrode_event();
  const bool posted = notices.wait_for(1, 60000);
  stop_electrode_thread();

  ASSERT_TRUE(posted);
  EXPECT_NEAR(10.0, electrode_results.baseline_b.load(), 0.5);
  EXPECT_EQ(MEASUREMENT_FAILED, electrode_results.baseline_a.load());
  EXPECT_EQ(1u, notices.notices().size());
}

}  // namespace
