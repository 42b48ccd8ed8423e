// The electrode check window's drawing, probed pixel by pixel: the lamps in
// their statuses' colours, the baseline meter's tolerance funnel and its
// line held to the meter, the value labels.
//
// While the check runs, the window and the monitor keep each other busy:
// every update wakes the monitor, whose next pass posts the next update,
// so the program's loop is never quiet and a wait for it to go idle never
// ends. These tests therefore only pump for bounded times while the check
// runs, and pause it (an update then no longer wakes the monitor) before
// they publish values of their own.
#include <gtest/gtest.h>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/electrodes/electrode_monitor.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/menus/setup_electrode_window.h"
#include "handheld/ui/menus/tests/setup_fixture.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/frame/timers.h"
#include "handheld/ui/dialogs/unit_drawing.h"

namespace {

class ElectrodeWindow : public SetupTest {
 protected:
  void SetUp() override {
    SetupTest::SetUp();
    kill_timer(TIMER_STATUS);
    copy_default_parameters();  // [STABAVERAGE] 200, [STABSLOPE] 150
    // The electrodes page is reached from the protocol page, whose graph
    // it writes on; the main menu's status page closed on the way.
    pop_dialog();
    push_dialog(graph_dialog_procedure, GRAPH_DIALOG_ID);
    pump_until_idle(100);
    open(MENU_ELECTRODES_SINGLE_DOME);
    touch_key(KEY_LOWER_LEFT);  // "Manual": the monitor's page and its window
    ASSERT_TRUE(pump_until([] { return shown_menu() == MENU_ELECTRODE_MONITOR && electrode_window() != nullptr; }, 3000));
    ASSERT_TRUE(pump_until([] { return monitor_control.running.load() != 0; }, 3000));
    touch_key(KEY_UPPER_LEFT);  // "Pause"
    settle(500);      // the pass under way posts its update, which wakes nothing
    ASSERT_EQ(electrode_status_text(), L" Paused  ");
  }
  void TearDown() override {
    touch_key(KEY_LOWER_RIGHT);  // "End Probe Test"
    pump_until([] { return monitor_control.running.load() == 0; }, 5000);
    SetupTest::TearDown();
  }
  // Pumps for a bounded real time.
  static void settle(int ms) { pump_until([] { return false; }, ms); }
  // Publishes channel A's values and statuses and lets the window draw them.
  static void publish(double level, double drift, double noise, const int statuses[4]) {
    monitorChannel& a = monitor_channels[0];
    a.level = level;
    a.drift = drift;
    a.noise = noise;
    a.baseline_status = statuses[0];
    a.noise_status = statuses[1];
    a.eye_status = statuses[2];
    a.ref_status = statuses[3];
    SendMessageW(electrode_window(), WM_USER, ELECTRODE_VALUES_READY, 0);
    UpdateWindow(electrode_window());
    settle(100);  // the drawing reaches the screen
  }
  // A pixel of the window's client area, as the screen shows it.
  static COLORREF pixel(int x, int y) {
    POINT p{x, y};
    ClientToScreen(electrode_window(), &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
  }
};

// Panel A lies at (5, 5): its lamps at (211, 32 + 22 i), its meter from
// (105, 7) to (177, 48) with the middle row at 27.
const int PANEL_X = 5, PANEL_Y = 5, MIDDLE = PANEL_Y + 22;

TEST_F(ElectrodeWindow, LampsShowTheirStatusesColours) {
  const int statuses[4] = {STATUS_GOOD, STATUS_OUT_OF_LIMITS, STATUS_MARGINAL, STATUS_NOT_MEASURED};
  publish(0.0, 0.0, 12.5, statuses);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(pixel(PANEL_X + 206, PANEL_Y + 27 + 22 * i), colour_of(statuses[i])) << "lamp " << i;
  }
  const int measuring[4] = {STATUS_MEASURING, STATUS_NO_SYNC, STATUS_GOOD, STATUS_GOOD};
  publish(0.0, 0.0, 12.5, measuring);
  EXPECT_EQ(pixel(PANEL_X + 206, PANEL_Y + 27), colour_of(3)) << "blue while measured";
  EXPECT_EQ(pixel(PANEL_X + 206, PANEL_Y + 49), colour_of(5)) << "black without a sync pulse";
  EXPECT_EQ(electrode_window_text(0, "noise"), L"  12.50   ");
  save_screen("electrode-check-lamps");
}

// [STABAVERAGE] 200 and [STABSLOPE] 150: the funnel is 14 pixels high each
// side at its right end and 18 at its left.
TEST_F(ElectrodeWindow, TheFunnelAndTheMetersLineHeldToItsLimits) {
  const int good[4] = {STATUS_GOOD, STATUS_GOOD, STATUS_GOOD, STATUS_GOOD};
  publish(0.0, 0.0, 1.0, good);
  const COLORREF black = colour_of(5), white = colour_of(7), blue = colour_of(3);
  EXPECT_EQ(pixel(PANEL_X + 105, MIDDLE - 18), black) << "the funnel's left end";
  EXPECT_EQ(pixel(PANEL_X + 167, MIDDLE - 14), black) << "its right end";
  EXPECT_EQ(pixel(PANEL_X + 167, MIDDLE + 10), black);
  EXPECT_EQ(pixel(PANEL_X + 167, MIDDLE - 16), white) << "above the funnel's right end";
  EXPECT_EQ(pixel(PANEL_X + 140, MIDDLE), blue) << "a zero level on the middle row";

  const struct {
    double level;
    int row;
  } cases[] = {{300.0, MIDDLE - 20}, {-300.0, MIDDLE + 20}, {5000.0, MIDDLE - 20}, {100.0, MIDDLE - 10}};
  for (const auto& c : cases) {
    publish(c.level, 0.0, 1.0, good);
    EXPECT_EQ(pixel(PANEL_X + 140, c.row), blue) << c.level;
    EXPECT_NE(pixel(PANEL_X + 140, MIDDLE), blue) << c.level << ": the old line is gone";
  }
  save_screen("electrode-check-meter");
}

}  // namespace
