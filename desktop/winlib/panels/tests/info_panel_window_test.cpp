#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "desktop/winlib/panels/info_panel.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/winlib/tests/start_up_environment.h"

namespace {

// A window object that long work can be asked to stop, of any type.
class stoppableWindow : public winTypeClass, public cancelRequestTarget {
 public:
  explicit stoppableWindow(uint32_t type) : winTypeClass(nullptr, type) {}
  void draw(HDC, const paper&) override {}
  void request_cancel() override { ++requests; }
  int requests = 0;
};

void paint_now(infoPanelClass& panel) {
  InvalidateRect(panel.hwnd(), nullptr, TRUE);
  UpdateWindow(panel.hwnd());
  pump();
}

LPARAM point_at_mm(double x, double y) {
  return MAKELPARAM(screen_paper.px_x(x), screen_paper.px_y(y));
}

}  // namespace

TEST(InfoPanel, GrowsToItsTextButNeverBeyondThreeHundredMillimetres) {
  start_up_texts();
  auto* owner = new stoppableWindow(6);
  auto* panel = new infoPanelClass(owner, "Searching", 10, 5, 100, 50, " Cancel Search ");
  ASSERT_NE(panel->hwnd(), nullptr);
  panel->set_count(12);
  panel->set_accepted(3);
  panel->set_message(0, "short");
  paint_now(*panel);
  const double first = panel->width_mm();
  EXPECT_GE(first, 100.0);
  EXPECT_LT(first, 120.0);
  EXPECT_STREQ(panel->messages().line_text(0), "short");

  panel->set_message(1, std::string(120, 'W').c_str());
  paint_now(*panel);
  const double grown = panel->width_mm();
  EXPECT_GT(grown, first);
  EXPECT_LE(grown, 300.0);
  panel->set_message(2, std::string(600, 'W').c_str());
  paint_now(*panel);
  EXPECT_DOUBLE_EQ(panel->width_mm(), 300.0);
  RECT frame;
  GetWindowRect(panel->hwnd(), &frame);
  EXPECT_EQ(frame.right - frame.left, screen_paper.px_x(300.0));
  delete owner;  // deletes the panel beneath it
}

TEST(InfoPanel, HeadingAndCloseBoxAskTheLocatorToStopAndThePanelStays) {
  auto* locator = new stoppableWindow(6);
  auto* panel = new infoPanelClass(locator, "Searching", 10, 5, 100, 50, " Cancel Search ");
  paint_now(*panel);
  // A click beside the heading does nothing; on it, the locator is asked.
  SendMessageA(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, point_at_mm(95.0, 40.0));
  EXPECT_EQ(locator->requests, 0);
  const double x = panel->heading().x() + 1.0, y = panel->heading().y() + 1.0;
  SendMessageA(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, point_at_mm(x, y));
  EXPECT_EQ(locator->requests, 1);

  // The close box in the middle of the caller's loop: the caller's panel
  // stays alive, and the locator is asked to stop.
  HWND window = panel->hwnd();
  for (int step = 0; step < 5; ++step) {
    if (step == 2) PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    panel->set_message(0, ("step " + std::to_string(step)).c_str());
  }
  pump();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(panel->cancel_asked());
  EXPECT_EQ(locator->requests, 2);
  EXPECT_STREQ(panel->messages().line_text(0), "step 4");

  // The owner's WM_CLOSE does close it.
  PostMessageA(window, WM_CLOSE, 0, 0);
  pump();
  EXPECT_FALSE(IsWindow(window));
  delete locator;
}

TEST(InfoPanel, OtherParentsAndAnEmptyHeading) {
  auto* other = new stoppableWindow(4);
  auto* panel = new infoPanelClass(other, "Loading", 10, 5, 100, 50, "");
  paint_now(*panel);
  SendMessageA(panel->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, point_at_mm(2.5, 2.5));
  EXPECT_EQ(other->requests, 0);
  // No heading, no magenta box round it.
  HDC dc = GetDC(panel->hwnd());
  EXPECT_NE(GetPixel(dc, screen_paper.px_x(1.6), screen_paper.px_y(3.0)), RGB(255, 0, 255));
  ReleaseDC(panel->hwnd(), dc);
  delete other;
}
