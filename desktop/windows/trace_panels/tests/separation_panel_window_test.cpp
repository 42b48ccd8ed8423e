#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/tests/picture_pause.h"
#include "desktop/windows/trace_panels/separation_panel.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// The comparison graph as the panel sees it: the offsets it owns, the
// notices it hears, the repaints it is asked for. A child of the shared
// holder, which Wine takes down faster than a top-level window.
class graphStandIn : public winTypeClass {
 public:
  graphStandIn() : winTypeClass(&shared_holder(), 4) {
    HWND window = CreateWindowExA(0, "general", "CG1", WS_CHILD | WS_VISIBLE, 0, 0, 400, 300,
                                  shared_holder().hwnd(), nullptr, program_instance, nullptr);
    set_hwnd(window);
  }
  void draw(HDC, const paper&) override {}
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message == WM_USER) {
      notices.emplace_back(wparam, lparam);
      return 0;
    }
    return DefWindowProcA(hwnd(), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  bool repaint_asked() { return GetUpdateRect(hwnd(), nullptr, FALSE) != 0; }

  double time_step = 1.5;
  double voltage_step = -20.0;
  std::vector<std::pair<uintptr_t, intptr_t>> notices;
};

std::string field_text(editLabelClass* edit) {
  char text[128];
  edit->get_text(text, sizeof text);
  return text;
}

void type_into(editLabelClass* edit, const char* text) {
  SendMessageA(edit->edit_hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void click(buttonClass* button) { SendMessageA(button->hwnd(), BM_CLICK, 0, 0); }

class SeparationPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    graph = new graphStandIn;
    panel = new separationPanelClass(graph, 10.0, 10.0, "CG1 Separation Panel", &graph->time_step,
                                     &graph->voltage_step);
    ValidateRect(graph->hwnd(), nullptr);
  }
  void TearDown() override { SendMessageA(graph->hwnd(), WM_CLOSE, 0, 0); }

  graphStandIn* graph = nullptr;
  separationPanelClass* panel = nullptr;
};

}  // namespace

TEST_F(SeparationPanel, FieldsStartWithTheOffsetsAndASemicolonCommitsAtOnce) {
  message_capture capture;
  ASSERT_NE(panel->hwnd(), nullptr);
  char title[64];
  GetWindowTextA(panel->hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "CG1 Separation Panel");
  EXPECT_TRUE(IsWindowVisible(panel->hwnd()));
  EXPECT_EQ(field_text(panel->time_edit()), "1.5");
  EXPECT_EQ(field_text(panel->voltage_edit()), "-20");
  picture_pause();

  // Typing without ";" waits for Apply.
  type_into(panel->time_edit(), "12");
  EXPECT_EQ(graph->time_step, 1.5);
  EXPECT_FALSE(graph->repaint_asked());
  type_into(panel->time_edit(), "12;");
  EXPECT_EQ(graph->time_step, 12.0);
  EXPECT_EQ(field_text(panel->time_edit()), "12");
  EXPECT_TRUE(graph->repaint_asked());
  type_into(panel->voltage_edit(), ";5;0");
  EXPECT_EQ(graph->voltage_step, 50.0);
  EXPECT_EQ(field_text(panel->voltage_edit()), "50");
  type_into(panel->voltage_edit(), "x;");
  EXPECT_EQ(graph->voltage_step, 0.0);
  EXPECT_TRUE(graph->notices.empty());
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(SeparationPanel, ApplyTakesBothFieldsAndCancelGoesBackToTheFirstOffsets) {
  message_capture capture;
  type_into(panel->time_edit(), "3");
  type_into(panel->voltage_edit(), "");
  click(panel->apply_button());
  EXPECT_EQ(graph->time_step, 3.0);
  EXPECT_EQ(graph->voltage_step, 0.0);  // an empty field applies 0.0
  EXPECT_TRUE(graph->repaint_asked());
  type_into(panel->time_edit(), "4.5");
  type_into(panel->voltage_edit(), "30");
  click(panel->apply_button());
  EXPECT_EQ(graph->time_step, 4.5);
  EXPECT_EQ(graph->voltage_step, 30.0);

  // Cancel, after several Apply steps, restores the offsets the graph had
  // when the panel was made, and tells the graph.
  ValidateRect(graph->hwnd(), nullptr);
  click(panel->cancel_button());
  EXPECT_EQ(graph->time_step, 1.5);
  EXPECT_EQ(graph->voltage_step, -20.0);
  EXPECT_EQ(field_text(panel->time_edit()), "1.5");
  ASSERT_EQ(graph->notices.size(), 1u);
  EXPECT_EQ(graph->notices[0], std::make_pair(separation_notice_cancelled, static_cast<intptr_t>(1)));
  EXPECT_TRUE(graph->repaint_asked());
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(SeparationPanel, EnterAndCloseHideThePanelWhichStaysTheGraphs) {
  HWND window = panel->hwnd();
  SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
  pump_messages();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(find_window_object(window), panel);
  panel->show();
  EXPECT_TRUE(IsWindowVisible(window));
  SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  pump_messages();
  EXPECT_EQ(find_window_object(window), panel);
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(SeparationPanel, ClosingTheGraphTakesThePanelWithIt) {
  message_capture capture;
  HWND window = panel->hwnd();
  type_into(panel->time_edit(), "9");
  SendMessageA(graph->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(capture.texts().empty());
  // Built again for the fixture's own ending.
  graph = new graphStandIn;
}
