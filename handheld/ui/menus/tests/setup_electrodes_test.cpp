// The electrode menus: impedance and baseline runs with their result pages
// and abort, the electrode check window and its end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/electrodes/electrode_monitor.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/menus/setup_electrode_window.h"
#include "handheld/ui/menus/tests/setup_fixture.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/frame/timers.h"

namespace {

class Electrodes : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    for (uint32_t input : {0u, 1u}) {
      sim_signal s;
      sim_signal_defaults(input, &s);
      s.noise_uv = 0.5;
      s.drift_uv_per_s = 0.0;
      s.hum_uv = 0.0;
      sim_signal_set(input, &s);
    }
    set_electrode(SIM_EYE, 3000);
    set_electrode(SIM_REFERENCE, 1500);
    // The electrodes page is reached from the protocol page, whose graph
    // it writes on; the main menu's status refresh (and its battery
    // readings on the converter) stopped on the way.
    kill_timer(TIMER_STATUS);
    pop_dialog();  // the status page
    push_dialog(graph_dialog_procedure, GRAPH_DIALOG_ID);
    pump_until_idle(100);
  }
  static void set_electrode(uint32_t electrode, double ohms) {
    sim_electrode e{ohms, 0.0, 0.0};
    sim_electrode_set(0, electrode, &e);
  }
  static double page_number(int item) { return std::wcstod(page_text(item).c_str(), nullptr); }
};

TEST_F(Electrodes, AnImpedanceRunFillsItsResultPage) {
  open(MENU_ELECTRODES);
  EXPECT_EQ(plotter_title_buffer(), L"ELECTRODES");
  stimulator_records();
  press(KEY_UPPER_LEFT);  // "Impedance test"
  EXPECT_EQ(stimulator_records().front(), "I");
  EXPECT_EQ(shown_menu(), MENU_IMPEDANCE_RUNNING);
  EXPECT_EQ(captions()[3], L"Abort");
  ASSERT_TRUE(pump_until([] { return page_text(1143).find(L"ohms") != std::wstring::npos; }, 60000));
  EXPECT_NEAR(page_number(1143), 3000, 150);
  EXPECT_NEAR(page_number(1142), 1500, 75);
  EXPECT_EQ(page_text(1144), L"Channel A");
  EXPECT_EQ(captions()[3], L"Back");
  // The last measurement's graph: its stabilisation's caption and noise,
  // and the sinewave measured.
  EXPECT_EQ(plotter_title_buffer(), L"impedance, CH A, REF");
  EXPECT_EQ(plotter_row_text(-2).substr(5, 3), L"A: ");
  EXPECT_NE(plotter_row_text(-3).find(L" ----     DONE     ----"), std::wstring::npos);
  // Quiet electrodes: each channel's noise check holds the noise read.
  EXPECT_GT(electrode_noise_check(0), 0.0);
  EXPECT_LT(electrode_noise_check(0), 5.0);
  EXPECT_EQ(report_electrode_noise(), 0);
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(shown_menu(), MENU_ELECTRODES);
}

// A channel too noisy to settle fails the run; the report after a test
// then names it.
TEST_F(Electrodes, ANoisyChannelIsReportedAfterItsRun) {
  sim_signal s;
  sim_signal_defaults(0, &s);
  s.noise_uv = 400.0;
  sim_signal_set(0, &s);
  open(MENU_ELECTRODES);
  press(KEY_UPPER_LEFT);  // "Impedance test"
  ASSERT_TRUE(pump_until([] { return shown_menu() == MENU_ELECTRODES && electrode_monitor.busy.load() == 0; }, 120000));
  EXPECT_TRUE(electrode_noise_failed());
  EXPECT_FALSE(electrode_check_failed());
  messages();
  EXPECT_EQ(report_electrode_noise(), 1);
  pump_until_idle(150);
  const std::vector<std::string> shown = messages();
  ASSERT_FALSE(shown.empty());
  EXPECT_NE(shown.back().find("CHECK CHANNEL A"), std::string::npos) << shown.back();
  EXPECT_NE(shown.back().find("(noise > 30uV)."), std::string::npos) << shown.back();
}

TEST_F(Electrodes, ABaselineRunFillsItsPageAndAnAbortStopsIt) {
  open(MENU_ELECTRODES);
  press(KEY_LOWER_LEFT);  // "Baseline test"
  EXPECT_EQ(shown_menu(), MENU_BASELINE_RUNNING);
  ASSERT_TRUE(pump_until([] { return page_text(1150).find(L"uV") != std::wstring::npos; }, 60000));
  EXPECT_LT(page_number(1150), 10.0) << "a quiet signal";
  EXPECT_EQ(plotter_title_buffer(), L"baseline, CH A");
  EXPECT_NE(plotter_row_text(-3).find(L" ----     DONE     ----"), std::wstring::npos);
  save_screen("electrode-baseline-graph");
  press(KEY_LOWER_RIGHT);
  EXPECT_EQ(shown_menu(), MENU_ELECTRODES);

  press(KEY_LOWER_LEFT);
  ASSERT_EQ(shown_menu(), MENU_BASELINE_RUNNING);
  press(KEY_LOWER_RIGHT);  // "Abort"
  EXPECT_EQ(shown_menu(), MENU_ELECTRODES);
  EXPECT_NE(plotter_row_text(3).find(L"*** BASELINE ABORTED ***"), std::wstring::npos);
  EXPECT_EQ(electrode_monitor.busy.load(), 0);
  pump_until_idle(300);
  EXPECT_EQ(shown_menu(), MENU_ELECTRODES) << "no result page after an abort";
}

TEST(ElectrodeMeter, FunnelAndLineClamp) {
  copy_default_parameters();  // [STABAVERAGE] 200, [STABSLOPE] 150
  EXPECT_EQ(funnel_right_half(), 14);
  EXPECT_EQ(funnel_left_half(), 18) << "the doubled sum 700 exceeds 500";
  store_system_parameter(PARAM_STABSLOPE, 20);
  EXPECT_EQ(funnel_left_half(), 15);
  store_system_parameter(PARAM_STABAVERAGE, 300);
  EXPECT_EQ(funnel_right_half(), 18);
  copy_default_parameters();
  EXPECT_EQ(meter_offset(300), 20);
  EXPECT_EQ(meter_offset(-300), -20);
  EXPECT_EQ(meter_offset(150), 15);
  EXPECT_EQ(meter_offset(0), 0);
}

// "+ impedance" while a manual check runs: the monitor measures the
// electrodes from its next pass on (once the baseline is stable).
TEST_F(Electrodes, ImpedanceTurnedOnDuringACheckIsMeasured) {
  open(MENU_ELECTRODES_SINGLE_DOME);
  touch_key(KEY_LOWER_LEFT);  // "Manual": no impedance check
  ASSERT_TRUE(pump_until([] { return shown_menu() == MENU_ELECTRODE_MONITOR && monitor_control.running.load() != 0; }, 3000));
  touch_key(KEY_UPPER_RIGHT);  // "+ impedance"
  EXPECT_TRUE(pump_until([] { return key_caption(KEY_UPPER_RIGHT) == L"- impedance"; }, 1000));
  EXPECT_TRUE(pump_until([] { return monitor_channels[0].eye_status.load() == STATUS_GOOD; }, 60000));
  EXPECT_NEAR(monitor_channels[0].eye_ohms.load(), 3000, 150);
  touch_key(KEY_LOWER_RIGHT);  // "Back"
  EXPECT_TRUE(pump_until([] { return monitor_control.running.load() == 0 && shown_menu() == MENU_MAIN; }, 5000));
}

// A bad electrode keeps an automatic check from ending: its lamp is never
// good, so no run of good updates begins.
TEST_F(Electrodes, AnAutomaticCheckWithABadElectrodeGoesOn) {
  set_electrode(SIM_EYE, 9000);  // above [IMPEDANCE] + 1000
  open(MENU_ELECTRODES_SINGLE_DOME);
  touch_key(KEY_UPPER_LEFT);  // "Auto": the impedance checked too
  ASSERT_TRUE(pump_until([] { return shown_menu() == MENU_ELECTRODE_MONITOR; }, 1000));
  ASSERT_TRUE(pump_until([] { return monitor_channels[0].eye_status.load() == STATUS_OUT_OF_LIMITS; }, 60000));
  EXPECT_FALSE(pump_until([] { return shown_menu() != MENU_ELECTRODE_MONITOR; }, 10000)) << "the check ended by itself";
  EXPECT_EQ(electrode_auto_finish_count(), 0);
  touch_key(KEY_LOWER_RIGHT);  // "Back"
  EXPECT_TRUE(pump_until([] { return monitor_control.running.load() == 0 && shown_menu() == MENU_MAIN; }, 5000));
}

// The monitor running for real: a quiet channel with good electrodes ends
// an automatic check by itself, its values in the log.
TEST_F(Electrodes, AnAutomaticCheckOnQuietElectrodesEndsByItself) {
  open(MENU_ELECTRODES_SINGLE_DOME);
  touch_key(KEY_UPPER_LEFT);  // "Auto": the monitor's page takes the electrodes page's place
  ASSERT_TRUE(pump_until([] { return shown_menu() == MENU_ELECTRODE_MONITOR; }, 1000));
  ASSERT_TRUE(pump_until([] { return shown_menu() != MENU_ELECTRODE_MONITOR; }, 120000));
  EXPECT_EQ(shown_menu(), MENU_MAIN) << "back to where the electrodes page was opened";
  EXPECT_EQ(monitor_control.running.load(), 0);
  EXPECT_NE(log_text().find("(ELECTRODES (MODE AUTO)"), std::string::npos);
}

}  // namespace
