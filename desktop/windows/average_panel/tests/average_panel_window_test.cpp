// The average panel under the virtual display: what a new panel shows, the
// notices its owner receives, and Enter closing it.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "desktop/windows/average_panel/average_panel.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// An owner that keeps the notices it receives.
class ownerWindow : public winTypeClass {
 public:
  ownerWindow() : winTypeClass(nullptr, window_type::general) {
    set_hwnd(CreateWindowExA(0, "general", "owner", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr, nullptr,
                             program_instance, nullptr));
  }
  void draw(HDC, const paper&) override {}
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message == WM_USER) {
      notices.emplace_back(wparam, lparam);
      return 0;
    }
    return DefWindowProcA(hwnd(), message, wparam, lparam);
  }
  std::vector<std::pair<uintptr_t, intptr_t>> notices;
};

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

TEST(AveragePanel, ANewPanelShowsItsDefaultsAndEachSwitchNotifiesItsOwner) {
  auto* owner = new ownerWindow;
  auto* panel = new averagePanelClass(owner, "Average", 50, 60);
  ASSERT_NE(panel->hwnd(), nullptr);
  EXPECT_EQ(GetWindow(panel->hwnd(), GW_OWNER), owner->hwnd());
  EXPECT_EQ(panel->count(), 5);
  pump();
  using notice = std::pair<uintptr_t, intptr_t>;
  EXPECT_EQ(owner->notices, (std::vector<notice>{{513, 0x7000}}));
  checkBoxClass* boxes[3] = {panel->average_trace(), panel->error_bars(), panel->bin_boundaries()};
  const char* texts[3] = {"Show Average Trace", "Show Error Bars", "Show Bin Boundaries"};
  for (int i = 0; i < 3; i++) {
    EXPECT_TRUE(boxes[i]->is_checked());
    char text[64] = {};
    GetWindowTextA(boxes[i]->hwnd(), text, sizeof text);
    EXPECT_STREQ(text, texts[i]);
  }
  EXPECT_GT(panel->error_bars()->y(), panel->average_trace()->bottom());
  char count[16] = {};
  panel->bin_count()->get_text(count, sizeof count);
  EXPECT_STREQ(count, "5");
  EXPECT_TRUE(GetWindowLongA(panel->bin_width()->edit_hwnd(), GWL_STYLE) & ES_READONLY);
  EXPECT_FALSE(GetWindowLongA(panel->bin_count()->edit_hwnd(), GWL_STYLE) & ES_READONLY);
  // The fields stand right of their labels, inside the panel.
  EXPECT_GE(panel->bin_count()->get_edit()->x(), 2.0 + panel->bin_width()->label()->width() - 1e-9);
  RECT client{};
  GetClientRect(panel->hwnd(), &client);
  EXPECT_GE(client.right, screen_paper.px_x(panel->bin_width()->right()));
  EXPECT_GE(client.bottom, screen_paper.px_y(panel->bin_width()->get_bottom()));

  // A click on one switch changes only that one and posts one notice.
  owner->notices.clear();
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(panel->error_bars()->hwnd()));
  pump();
  EXPECT_TRUE(panel->average_trace()->is_checked());
  EXPECT_FALSE(panel->error_bars()->is_checked());
  EXPECT_TRUE(panel->bin_boundaries()->is_checked());
  EXPECT_EQ(owner->notices, (std::vector<notice>{{513, 0}}));
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
               reinterpret_cast<LPARAM>(panel->error_bars()->hwnd()));
  pump();
  EXPECT_TRUE(panel->error_bars()->is_checked());
  EXPECT_EQ(owner->notices.size(), 2u);
  // Another control's command is no switch.
  SendMessageA(panel->hwnd(), WM_COMMAND, MAKEWPARAM(0, EN_CHANGE),
               reinterpret_cast<LPARAM>(panel->bin_count()->edit_hwnd()));
  pump();
  EXPECT_EQ(owner->notices.size(), 2u);

  // Enter closes the panel.
  SendMessageA(panel->hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  pump();
  EXPECT_EQ(find_window_node(panel), nullptr);
  delete owner;
}
