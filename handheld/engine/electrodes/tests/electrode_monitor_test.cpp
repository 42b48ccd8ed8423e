// The electrode monitor: its classification, and its passes on the
// simulated unit with the test standing in for the electrode check window
// (which shows each pass's values and signals the event for the next).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/electrodes/electrode_monitor.h"
#include "handheld/engine/stimulator/main_dialog_post_capture.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/storage/system_parameters.h"

namespace {

TEST(MonitorClassification, BaselineStatusAndGoodPassCounter) {
  copy_default_parameters();
  // Limits: [STABAVERAGE] 200 uV, [STABSLOPE] 150 uV/s.
  const struct {
    double level, drift;
    int status_before, passes_before;
    int status, passes;
  } cases[] = {
      {401, 0, 6, 3, 0, 0},      // level beyond twice the limit
      {400, 0, 6, 3, 1, 0},      // exactly twice: not beyond (strict), marginal
      {0, -301, 2, 7, 0, 0},     // drift beyond twice the limit
      {250, 200, 6, 3, 0, 0},    // drift beyond the limit and level beyond too
      {100, 200, 6, 3, 1, 0},    // drift beyond the limit alone
      {-250, 10, 2, 5, 1, 0},    // level beyond the limit alone
      {0, 0, 6, 0, 6, 1},        // within limits: count up, status kept
      {200, 150, 1, 6, 1, 7},    // exactly at both limits counts as within
      {0, 0, 6, 7, 2, 7},        // already at 7: good
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "level " << c.level << " drift " << c.drift);
    int status = c.status_before, passes = c.passes_before;
    classify_baseline(c.level, c.drift, status, passes);
    EXPECT_EQ(c.status, status);
    EXPECT_EQ(c.passes, passes);
  }
}

TEST(MonitorClassification, NoiseAndImpedanceStatuses) {
  copy_default_parameters();
  // Limits: [NOISE] 30 uV, [IMPEDANCE] 5000 ohms.
  const struct {
    double value;
    int status;
  } noise[] = {{61, 0}, {60, 1}, {31, 1}, {30, 2}, {0, 2}},
    ohms[] = {{6001, 0}, {6000, 1}, {5001, 1}, {5000, 2}, {500, 2}, {499, 0}};
  for (const auto& c : noise) EXPECT_EQ(c.status, classify_noise(c.value)) << c.value << " uV";
  for (const auto& c : ohms) EXPECT_EQ(c.status, classify_impedance(c.value)) << c.value << " ohms";
}

class Monitor : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    open_stimulator();
    copy_default_parameters();
    set_electrode_calibration();
    for (uint32_t input : {0u, 1u}) {
      sim_signal s;
      sim_signal_defaults(input, &s);
      sim_signal_set(input, &s);
    }
    notices_.reset(new main_dialog_post_capture);
    ASSERT_TRUE(start_electrode_monitor_thread());
  }
  void TearDown() override {
    stop_electrode_monitor_thread();
    notices_.reset();
    monitor_control.impedance_wanted = 0;
    channels.a_on = 1;
    channels.b_on = 0;
    SimulatedUnit::TearDown();
  }
  // The window opens: monitor active, the event signalled.
  void open_window(bool impedance) {
    monitor_control.impedance_wanted = impedance ? 1 : 0;
    monitor_control.active = 1;
    signal_electrode_monitor();
  }
  // Waits for pass n's notice; the window then asks for the next pass.
  bool pass(size_t n) {
    if (!notices_->wait_for(n, 60000)) return false;
    return true;
  }
  void next() { signal_electrode_monitor(); }
  // The window closes and waits for the monitor to stop running.
  bool close_window() {
    monitor_control.active = 0;
    signal_electrode_monitor();
    for (int waited = 0; waited < 5000; waited += 5) {
      if (!monitor_control.running.load()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  std::unique_ptr<main_dialog_post_capture> notices_;
};

TEST_F(Monitor, QuietSignalFillsTheWindowsAndBecomesStableAtPassSixteen) {
  open_window(false);
  const monitorChannel& a = monitor_channels[0];
  for (size_t n = 1; n <= 16; ++n) {
    SCOPED_TRACE(testing::Message() << "pass " << n);
    ASSERT_TRUE(pass(n));
    EXPECT_EQ(1, monitor_control.running.load());
    EXPECT_EQ(static_cast<int>(n < 5 ? n : 5), monitor_windows.first[0].count);
    EXPECT_EQ(static_cast<int>(n < 5 ? 0 : (n < 9 ? n - 4 : 5)), monitor_windows.second[0].count);
    EXPECT_EQ(n < 16 ? STATUS_NOT_MEASURED : STATUS_GOOD, a.baseline_status.load()) << a.level.load() << " uV " << a.drift.load() << " uV/s";
    EXPECT_EQ(n < 16 ? STATUS_NOT_MEASURED : STATUS_GOOD, a.noise_status.load());
    EXPECT_EQ(STATUS_NOT_MEASURED, a.eye_status.load());
    EXPECT_EQ(STATUS_NOT_MEASURED, a.ref_status.load());
    if (n < 16) next();
  }
  EXPECT_NEAR(0.0, a.level.load(), 5.0);
  EXPECT_NEAR(0.0, a.drift.load(), 20.0);
  EXPECT_NEAR(0.5, a.noise.load(), 0.3);
  EXPECT_EQ(10000.0, a.eye_ohms.load());
  EXPECT_EQ(10000.0, a.ref_ohms.load());
  // Channel B is not fitted.
  EXPECT_EQ(STATUS_NOT_MEASURED, monitor_channels[1].baseline_status.load());
  EXPECT_EQ(STATUS_NOT_MEASURED, monitor_channels[1].noise_status.load());

  ASSERT_TRUE(close_window());
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(16u, notices_->notices().size()) << "a notice after the stop";
  for (const mainDialogNotice& n : notices_->notices()) {
    EXPECT_EQ(NOTICE_TOP_DIALOG, n.target);
    EXPECT_EQ(MAIN_DIALOG_NOTICE, n.message);
    EXPECT_EQ(ELECTRODE_VALUES_READY, n.wparam);
  }
}

TEST_F(Monitor, DriftIsMeasuredAcrossTheTickCountWrap) {
  // The unit's millisecond tick wraps (some 49.7 days up) while the second
  // window fills: its times must still give the drift of a drifting baseline.
  const uint64_t target_ns = (0x100000000ull - 250) * 1000000ull;
  if (sim_now_ns() < target_ns) sim_advance_ns(target_ns - sim_now_ns());
  sim_signal s;
  sim_signal_defaults(0, &s);
  s.drift_uv_per_s = 1000.0;
  sim_signal_set(0, &s);
  open_window(false);
  for (size_t n = 1; n < 9; ++n) {
    ASSERT_TRUE(pass(n));
    next();
  }
  ASSERT_TRUE(pass(9));
  const monitorChannel& a = monitor_channels[0];
  EXPECT_NEAR(1000.0, a.drift.load(), 100.0);
  EXPECT_EQ(STATUS_OUT_OF_LIMITS, a.baseline_status.load());
  ASSERT_TRUE(close_window());
}

TEST_F(Monitor, ImpedanceChecksOnceStableAndNoSyncMarksTheElectrodes) {
  sim_electrode eye{3000.0, 0.0, 0.0}, ref{5500.0, 0.0, 0.0};
  sim_electrode_set(0, SIM_EYE, &eye);
  sim_electrode_set(0, SIM_REFERENCE, &ref);
  open_window(true);
  for (size_t n = 1; n < 16; ++n) {
    ASSERT_TRUE(pass(n));
    next();
  }
  ASSERT_TRUE(pass(16));
  const monitorChannel& a = monitor_channels[0];
  EXPECT_EQ(STATUS_GOOD, a.baseline_status.load());
  EXPECT_NEAR(3000.0, a.eye_ohms.load(), 150.0);
  EXPECT_NEAR(5500.0, a.ref_ohms.load(), 275.0);
  EXPECT_EQ(STATUS_GOOD, a.eye_status.load());
  EXPECT_EQ(STATUS_MARGINAL, a.ref_status.load());

  sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
  next();
  ASSERT_TRUE(pass(17));
  EXPECT_EQ(STATUS_NO_SYNC, a.eye_status.load());
  EXPECT_EQ(STATUS_NO_SYNC, a.ref_status.load());
  sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);
  ASSERT_TRUE(close_window());
}

TEST_F(Monitor, DeadConverterMarksTheChannelNotMeasuredAndEndsThePass) {
  channels.b_on = 1;
  set_read_hook([](int) { return false; });
  open_window(false);
  ASSERT_TRUE(pass(1));
  EXPECT_EQ(STATUS_NOT_MEASURED, monitor_channels[0].baseline_status.load());
  EXPECT_EQ(0, monitor_windows.first[0].count);
  EXPECT_EQ(0, monitor_windows.first[1].count) << "channel B measured after a dead channel A";
  ASSERT_TRUE(close_window());
}

}  // namespace
