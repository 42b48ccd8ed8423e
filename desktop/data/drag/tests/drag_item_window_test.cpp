#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "drag_item.h"
#include "message_capture.h"
#include "start_up_environment.h"
#include "trace_clipboard.h"
#include "window_tree.h"

namespace {

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// A comparison graph as the drag sees it: a window of type 4 whose release
// inside its plot area, while a drag is in progress, takes the clipboard's
// trace and clears the drag flag.
class comparisonStandIn : public winTypeClass {
 public:
  comparisonStandIn(int x, int y) : winTypeClass(nullptr, window_type::comparison_graph) {
    set_hwnd(CreateWindowExA(0, "general", "CG", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 300, 250, nullptr, nullptr,
                             program_instance, nullptr));
    graph.set_plot_area_pixels(40, 260, 20, 180, screen_paper, 9);
  }
  void draw(HDC, const paper&) override {}
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message != WM_LBUTTONUP) return DefWindowProcA(hwnd(), message, wparam, lparam);
    if (graph.in_plot_area(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))) &&
        drag_in_progress) {
      drag_in_progress = 0;
      graph.add_trace(trace_clipboard.loaded_trace());
    }
    return 0;
  }
  // A screen point inside the plot area.
  POINT plot_point() const {
    POINT at{150, 100};
    ClientToScreen(hwnd(), &at);
    return at;
  }

  graphClass graph;
};

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
    drag_in_progress = 0;
  }
  void TearDown() override {
    for (winTypeClass* window : windows_) {
      if (find_window_node(window) != nullptr) delete window;
    }
    if (windowNode* node = find_window_of_type(drag_item_type)) delete node->object;
    pump();
    drag_in_progress = 0;
  }
  comparisonStandIn* comparison(int x, int y) {
    auto* window = new comparisonStandIn(x, y);
    windows_.push_back(window);
    return window;
  }
  dragItemClass* start() {
    dragItemClass* item = start_trace_drag(nullptr, "dragged", 10.0, 10.0);
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
  EXPECT_EQ(drag_in_progress, 0);
  EXPECT_TRUE(capture_.texts().empty());
}

TEST_F(DragItem, ADropOverATargetAddsTheTraceToTheFirstInTheTree) {
  comparisonStandIn* lower = comparison(200, 200);
  comparisonStandIn* upper = comparison(200, 200);  // the newer window heads the tree
  dragItemClass* item = start();
  ASSERT_EQ(live_item(), item);
  EXPECT_EQ(drag_in_progress, 1);
  EXPECT_EQ(GetCapture(), item->hwnd());
  EXPECT_EQ(item->target_count(), 2);
  EXPECT_EQ(item->graph().trace_count(), 1);
  EXPECT_STREQ(item->graph().trace(0)->label(), "dragged");
  // A start while this one runs is refused.
  EXPECT_EQ(start_trace_drag(nullptr, "again", 10.0, 10.0), nullptr);

  // Outside every plot area nothing happens: the drag goes on.
  release_at(item, POINT{5, 5});
  ASSERT_EQ(live_item(), item);
  EXPECT_EQ(drag_in_progress, 1);

  release_at(item, upper->plot_point());
  EXPECT_EQ(live_item(), nullptr);
  EXPECT_EQ(drag_in_progress, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(upper->graph.trace_count(), 1);
  EXPECT_EQ(lower->graph.trace_count(), 0);
  EXPECT_TRUE(capture_.texts().empty());
}

TEST_F(DragItem, ATargetClosedDuringTheDragIsNotTouched) {
  comparisonStandIn* closing = comparison(200, 200);
  dragItemClass* item = start();
  ASSERT_EQ(item->target_count(), 1);
  const POINT spot = closing->plot_point();
  SendMessageA(closing->hwnd(), WM_CLOSE, 0, 0);
  // A graph opened after the drag began is no target either.
  comparisonStandIn* later = comparison(200, 200);
  release_at(item, spot);
  ASSERT_EQ(live_item(), item);
  EXPECT_EQ(drag_in_progress, 1);
  EXPECT_EQ(later->graph.trace_count(), 0);

  // The right button cancels.
  SendMessageA(item->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, 0);
  pump();
  EXPECT_EQ(live_item(), nullptr);
  EXPECT_EQ(drag_in_progress, 0);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(later->graph.trace_count(), 0);
}

TEST_F(DragItem, ALostCaptureEndsTheDrag) {
  comparisonStandIn* target = comparison(200, 200);
  ASSERT_NE(start(), nullptr);
  SetCapture(target->hwnd());
  pump();
  ReleaseCapture();
  EXPECT_EQ(live_item(), nullptr);
  EXPECT_EQ(drag_in_progress, 0);
  EXPECT_EQ(target->graph.trace_count(), 0);
}

TEST_F(DragItem, TheWindowFollowsTheMouseCentredOnTheCursor) {
  comparison(200, 200);
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
  comparison(200, 200);
  dragItemClass* item = start();
  ASSERT_NE(item, nullptr);
  SendMessageA(item->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(60, 60));
  const DWORD end = GetTickCount() + static_cast<DWORD>(std::atoi(hold)) * 1000u;
  while (GetTickCount() < end && live_item() != nullptr) {
    pump();
    Sleep(20);
  }
}
