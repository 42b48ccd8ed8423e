#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/windows/drag/drag_item.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/pump.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// A screen point in the middle of a comparison graph's plot area.
POINT plot_point(comparisonPanelClass* panel) {
  const graphClass& graph = panel->graph();
  POINT at{(graph.plot_left() + graph.plot_right()) / 2, (graph.plot_top() + graph.plot_bottom()) / 2};
  ClientToScreen(panel->hwnd(), &at);
  return at;
}

class DragItem : public ::testing::Test {
 protected:
  void SetUp() override {
    start_up_texts();
    traceClass trace;
    std::vector<double> xs, ys;
    for (int i = 0; i < 200; ++i) {
      xs.push_back(i * 0.5);
      ys.push_back(50.0 * std::sin(i / 20.0));
    }
    trace.set_data(3, xs.data(), ys.data(), static_cast<int32_t>(xs.size()));
    ASSERT_TRUE(trace_clipboard.store(&trace, "dragged"));
    thumbnail_drag_active = 0;
  }
  void TearDown() override {
    for (winTypeClass* window : windows_) {
      if (find_window_node(window) != nullptr) delete window;
    }
    if (windowNode* node = find_window_of_type(drag_item_type)) delete node->object;
    pump();
    thumbnail_drag_active = 0;
  }
  comparisonPanelClass* comparison(const char* name) {
    auto* window = new comparisonPanelClass(nullptr, name, 0);
    windows_.push_back(window);
    pump();  // painted: its plot area is laid out
    return window;
  }
  dragItemClass* start() {
    // As a thumbnail starts a drag.
    thumbnail_drag_active = 1;
    auto* item = new dragItemClass(nullptr, "dragged", 10.0, 10.0);
    pump();
    return item;
  }
  static dragItemClass* live_item() {
    windowNode* node = find_window_of_type(drag_item_type);
    return node != nullptr ? static_cast<dragItemClass*>(node->object) : nullptr;
  }
  // The left button released at a screen point; the drag item has the mouse.
  static void release_at(dragItemClass* item, POINT screen) {
    ScreenToClient(item->hwnd(), &screen);
    SendMessageA(item->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<short>(screen.x), static_cast<short>(screen.y)));
    pump();
  }

  message_capture capture_;
  std::vector<winTypeClass*> windows_;
};

}  // namespace

TEST_F(DragItem, WithoutAComparisonGraphTheDragEndsAtOnce) {
  ASSERT_NE(start(), nullptr);
  EXPECT_EQ(live_item(), nullptr);
  EXPECT_EQ(thumbnail_drag_active, 0);
  EXPECT_TRUE(capture_.texts().empty());
}

TEST_F(DragItem, ADropOverATargetAddsTheTraceToTheFirstInTheTree) {
  // Cascaded: the plot areas overlap in the middle. The newer window heads
  // the window tree.
  comparisonPanelClass* lower = comparison("lower");
  comparisonPanelClass* upper = comparison("upper");
  dragItemClass* item = start();
  ASSERT_EQ(live_item(), item);
  EXPECT_EQ(thumbnail_drag_active, 1);
  EXPECT_EQ(GetCapture(), item->hwnd());
  EXPECT_EQ(item->target_count(), 2);
  EXPECT_EQ(item->graph().trace_count(), 1);
  EXPECT_STREQ(item->graph().trace(0)->label(), "dragged");

  // Outside every plot area nothing happens: the drag goes on. Just above
  // the plot area (measured in the graph's client area, not from its frame)
  // is outside too.
  release_at(item, POINT{5, 5});
  const graphClass& graph = lower->graph();
  POINT above{(graph.plot_left() + graph.plot_right()) / 2, graph.plot_top() - 3};
  ClientToScreen(lower->hwnd(), &above);
  release_at(item, above);
  ASSERT_EQ(live_item(), item);
  EXPECT_EQ(thumbnail_drag_active, 1);
  EXPECT_EQ(lower->graph().trace_count(), 0);

  POINT in_lower = plot_point(upper);
  ScreenToClient(lower->hwnd(), &in_lower);
  ASSERT_TRUE(lower->graph().in_plot_area(in_lower.x, in_lower.y));

  release_at(item, plot_point(upper));
  EXPECT_EQ(live_item(), nullptr);
  EXPECT_EQ(thumbnail_drag_active, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(upper->graph().trace_count(), 1);
  EXPECT_STREQ(upper->graph().trace(0)->label(), "dragged");
  EXPECT_EQ(lower->graph().trace_count(), 0);
  EXPECT_TRUE(capture_.texts().empty());
}

TEST_F(DragItem, ATargetClosedDuringTheDragIsNotTouched) {
  comparisonPanelClass* closing = comparison("closing");
  dragItemClass* item = start();
  ASSERT_EQ(item->target_count(), 1);
  const POINT spot = plot_point(closing);
  SendMessageA(closing->hwnd(), WM_CLOSE, 0, 0);
  // A graph opened after the drag began is no target either.
  comparisonPanelClass* later = comparison("later");
  // ...even with its plot area under the drop.
  RECT frame{};
  GetWindowRect(later->hwnd(), &frame);
  const POINT middle = plot_point(later);
  SetWindowPos(later->hwnd(), nullptr, frame.left + spot.x - middle.x, frame.top + spot.y - middle.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  pump();
  release_at(item, spot);
  ASSERT_EQ(live_item(), item);
  EXPECT_EQ(thumbnail_drag_active, 1);
  EXPECT_EQ(later->graph().trace_count(), 0);

  // The right button cancels.
  SendMessageA(item->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, 0);
  pump();
  EXPECT_EQ(live_item(), nullptr);
  EXPECT_EQ(thumbnail_drag_active, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(later->graph().trace_count(), 0);
}

TEST_F(DragItem, ALostCaptureEndsTheDrag) {
  comparisonPanelClass* target = comparison("target");
  ASSERT_NE(start(), nullptr);
  SetCapture(target->hwnd());
  pump();
  ReleaseCapture();
  EXPECT_EQ(live_item(), nullptr);
  EXPECT_EQ(thumbnail_drag_active, 0);
  EXPECT_EQ(target->graph().trace_count(), 0);
}

TEST_F(DragItem, TheWindowFollowsTheMouseCentredOnTheCursor) {
  comparison("target");
  dragItemClass* item = start();
  ASSERT_NE(item, nullptr);
  POINT cursor{30, 50};
  ClientToScreen(item->hwnd(), &cursor);
  SendMessageA(item->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 50));
  RECT client{};
  GetClientRect(item->hwnd(), &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ClientToScreen(item->hwnd(), &centre);
  EXPECT_EQ(centre.x, cursor.x);
  EXPECT_EQ(centre.y, cursor.y);
}

// With ERG_DRAG_HOLD=<seconds> a drag stays on the screen over a graph, for a
// picture.
TEST_F(DragItem, HoldsForAPicture) {
  const char* hold = std::getenv("ERG_DRAG_HOLD");
  if (hold == nullptr) GTEST_SKIP() << "ERG_DRAG_HOLD not set";
  comparison("target");
  dragItemClass* item = start();
  ASSERT_NE(item, nullptr);
  SendMessageA(item->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
  const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold)) * 1000u;
  while (GetTickCount() < end && live_item() != nullptr) {
    pump();
    Sleep(20);
  }
}
