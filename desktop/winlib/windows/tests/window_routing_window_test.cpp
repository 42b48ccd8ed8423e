// The library's start-up and the routing of messages to window objects, on
// a real display: every class registers; a window made for the test is found
// by handle, gets its messages and is deleted with its children on WM_CLOSE;
// errors raised while it paints are logged, not shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/tests/start_up_environment.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_helpers.h"
#include "desktop/winlib/windows/window_object.h"

namespace {

std::vector<std::string> events;

void pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// A window of class "general" that records what it is handed. A paint
// failure is reported the way drawing code reports.
class probeWindow : public winTypeClass {
 public:
  probeWindow(winTypeClass* parent_object, const char* name, bool fail_paint = false)
      : winTypeClass(parent_object, window_type::general), name_(name), fail_paint_(fail_paint) {
    HWND owner = parent_object ? parent_object->hwnd() : nullptr;
    DWORD style = parent_object ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND window = CreateWindowExA(0, "general", name, style, 50, 50, 300, 200, owner, nullptr, program_instance,
                                  nullptr);
    set_hwnd(window);
  }
  ~probeWindow() override { events.push_back(name_ + " deleted"); }

  void draw(HDC, const paper&) override {
    if (fail_paint_) report_error("*** %s CANNOT PAINT ***", name_.c_str());
  }
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override {
    if (message == WM_USER + 7) {
      events.push_back(name_ + " got " + std::to_string(wparam));
      return 77;
    }
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      draw(dc, screen_paper);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    return DefWindowProcA(hwnd(), message, wparam, lparam);
  }

 private:
  std::string name_;
  bool fail_paint_;
};

class Routing : public ::testing::Test {
 protected:
  void SetUp() override {
    events.clear();
    program_running = 1;
  }
  void TearDown() override {
    while (windowNode* n = window_tree_root().next) delete_window_node(n, 1);
    pump();
    program_running = 1;
  }
};

}  // namespace

TEST(StartUp, EveryClassRegistersWithItsProcedureIconBackgroundAndStyle) {
  EXPECT_TRUE(start_up_texts().empty());
  struct class_case {
    const char* name;
    int icon;
    int background;
    UINT style;
  };
  const UINT redraw = CS_HREDRAW | CS_VREDRAW;
  const class_case cases[] = {
      {"timerWindow", 8003, 21, 0},          {"thumbnailClass", 8003, 21, CS_NOCLOSE},
      {"thumbstate", 8003, 21, CS_NOCLOSE},  {"session", 8006, 21, redraw},
      {"measgraph", 8004, 7, redraw},        {"fft", 8004, 9, redraw},
      {"ifft", 8004, 3, redraw},             {"ops", 8004, 7, redraw},
      {"database", 8003, 21, redraw},        {"summary", 8003, 21, redraw},
      {"comparisonPanel", 8005, 7, redraw},  {"comparisonPanelx", 8005, 7, redraw | CS_NOCLOSE},
      {"general", 8003, 21, 0},              {"generalNOCLOSE", 8003, 21, CS_NOCLOSE},
      {"infoPanel", 8003, 21, 0},            {"plotAttributes", 8004, 21, CS_NOCLOSE},
      {"intro", 8003, 21, 0},                {"samples_window", 8007, 21, 0},
      {"sample_window", 8006, 3, 0},         {"dandd_window", 8004, 3, CS_NOCLOSE},
  };
  for (const class_case& c : cases) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(program_instance, c.name, &wc)) << c.name;
    EXPECT_EQ(wc.lpfnWndProc, route_window_message) << c.name;
    EXPECT_EQ(wc.style, c.style) << c.name;
    EXPECT_EQ(wc.hIcon, program_icon(c.icon)) << c.name;
    EXPECT_NE(wc.hCursor, nullptr) << c.name;
    HBRUSH background = c.background == 21 ? reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(1)) : brush_table[c.background];
    EXPECT_EQ(wc.hbrBackground, background) << c.name;
  }
  for (int id = 8003; id <= 8007; ++id) EXPECT_NE(program_icon(id), nullptr) << id;
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(program_icon(8003), &info));
  BITMAP mask{};
  GetObjectA(info.hbmMask, sizeof mask, &mask);
  EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXSMICON));
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  EXPECT_GT(screen_paper.x_px_per_mm, 1.0);
  EXPECT_GT(screen_paper.y_px_per_mm, 1.0);
  EXPECT_EQ(screen_paper.width_px, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_NE(working_directory[0], 0);
  EXPECT_NE(program_start_time.wYear, 0);
  EXPECT_NE(program_font, nullptr);

  // A class registered twice is reported, and the program goes on.
  message_capture capture;
  EXPECT_FALSE(register_window_class(route_window_message, "general", nullptr, IDC_ARROW, 21, 0));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** Unable to create window class [general]. ***"}));
}

TEST(StartUp, ClassBackgroundsGiveTheirBrushOrTheSystemColourBrush) {
  EXPECT_EQ(class_background_brush("measgraph"), brush_table[7]);
  EXPECT_EQ(class_background_brush("sample_window"), brush_table[3]);
  // The value 1 is system colour 0.
  EXPECT_EQ(class_background_brush("general"), GetSysColorBrush(0));
  message_capture capture;
  EXPECT_EQ(class_background_brush("noSuchClass"), nullptr);
  ASSERT_EQ(capture.records().size(), 1u);
  EXPECT_EQ(capture.texts()[0].rfind("*** GetClassInfoEx failed ***\n", 0), 0u);
}

TEST_F(Routing, AWindowIsFoundByHandleAndGetsItsMessages) {
  probeWindow* window = new probeWindow(nullptr, "top");
  ASSERT_NE(window->hwnd(), nullptr);
  EXPECT_EQ(find_window_object(window->hwnd()), window);
  EXPECT_EQ(SendMessageA(window->hwnd(), WM_USER + 7, 5, 0), 77);
  EXPECT_EQ(window->send_message(WM_USER + 7, 6, 0), 77);
  EXPECT_TRUE(window->post_message(WM_USER + 7, 8, 0));
  pump();
  EXPECT_EQ(events, (std::vector<std::string>{"top got 5", "top got 6", "top got 8"}));
  window->set_title("renamed");
  char title[32] = {};
  GetWindowTextA(window->hwnd(), title, sizeof title);
  EXPECT_STREQ(title, "renamed");
}

TEST_F(Routing, CloseDeletesTheObjectWithItsChildrenAndTheirWindows) {
  probeWindow* keep = new probeWindow(nullptr, "keep");
  probeWindow* top = new probeWindow(nullptr, "top");
  probeWindow* left = new probeWindow(top, "left");
  probeWindow* right = new probeWindow(top, "right");
  HWND windows[] = {top->hwnd(), left->hwnd(), right->hwnd()};
  for (HWND w : windows) ASSERT_TRUE(IsWindow(w));

  EXPECT_EQ(SendMessageA(top->hwnd(), WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(events, (std::vector<std::string>{"top deleted", "right deleted", "left deleted"}));
  for (HWND w : windows) {
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(find_window_object(w), nullptr);
  }
  EXPECT_EQ(window_tree_root().next, keep->node);
  EXPECT_EQ(keep->node->next, nullptr);
  EXPECT_EQ(program_running, 1);

  SendMessageA(keep->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(window_tree_root().next, nullptr);
  EXPECT_EQ(program_running, 0);
}

TEST_F(Routing, MessagesForAHandleWithoutObjectGoToTheDefaultProcedure) {
  // A window of a routed class that no object binds.
  HWND loose = CreateWindowExA(0, "general", "loose", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               program_instance, nullptr);
  ASSERT_NE(loose, nullptr);  // WM_NCCREATE found no object and was accepted
  EXPECT_EQ(route_window_message(loose, WM_DESTROY, 0, 0), 0);
  EXPECT_EQ(route_window_message(loose, WM_GETTEXTLENGTH, 0, 0), 5);
  EXPECT_EQ(route_window_message(loose, WM_USER + 7, 0, 0), 0);
  EXPECT_EQ(route_window_message(loose, WM_CLOSE, 0, 0), 0);  // the default destroys it
  EXPECT_FALSE(IsWindow(loose));
  EXPECT_TRUE(events.empty());
}

TEST_F(Routing, AnErrorWhilePaintingIsLoggedOnceNotShown) {
  const char* path = "winlib_paint_errors.txt";
  std::remove(path);
  log_open(path);
  message_capture capture;
  probeWindow* window = new probeWindow(nullptr, "faulty", true);
  for (int i = 0; i < 3; ++i) {
    InvalidateRect(window->hwnd(), nullptr, TRUE);
    UpdateWindow(window->hwnd());
  }
  pump();
  EXPECT_TRUE(capture.records().empty());
  // Outside painting the same fault is shown.
  HDC dc = GetDC(window->hwnd());
  window->draw(dc, screen_paper);
  ReleaseDC(window->hwnd(), dc);
  log_close();
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"*** faulty CANNOT PAINT ***"}));

  std::ifstream in(path);
  int logged = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.find("*** faulty CANNOT PAINT ***") != std::string::npos) ++logged;
  }
  std::remove(path);
  EXPECT_EQ(logged, 2);  // once while painting, once by the error shown
}

TEST_F(Routing, SetPositionKeepsWhatMinusOneAsksToKeep) {
  paper scale;
  ASSERT_TRUE(scale.rescale(100, 100, 100, 100));  // 1 px/mm
  probeWindow* window = new probeWindow(nullptr, "placed");
  RECT before{};
  GetWindowRect(window->hwnd(), &before);

  ASSERT_TRUE(window->resize(250.0, 150.0, scale));
  RECT r{};
  GetWindowRect(window->hwnd(), &r);
  EXPECT_EQ(r.left, before.left);
  EXPECT_EQ(r.top, before.top);
  EXPECT_EQ(r.right - r.left, 250);
  EXPECT_EQ(r.bottom - r.top, 150);

  ASSERT_TRUE(window->move_to(120.0, 80.0, scale));
  GetWindowRect(window->hwnd(), &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 80);
  EXPECT_EQ(r.right - r.left, 250);

  ASSERT_TRUE(window->set_position(-1.0, 10.0, 200.0, 100.0, scale));
  GetWindowRect(window->hwnd(), &r);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 100);

  // The client area at the screen's scale, and on the printer at its size.
  RECT client{};
  GetClientRect(window->hwnd(), &client);
  paper own;
  own.set_from_window(window->hwnd());
  EXPECT_DOUBLE_EQ(own.width_px, client.right);
  EXPECT_DOUBLE_EQ(own.width_mm, client.right / screen_paper.x_px_per_mm);
  paper printer;
  ASSERT_TRUE(printer.rescale(2000, 3000, 100, 100));
  paper print;
  print.printer_for_window(window->hwnd(), printer);
  EXPECT_DOUBLE_EQ(print.width_mm, own.width_mm);
  EXPECT_DOUBLE_EQ(print.width_px, own.width_mm * 20.0);

  // The whole window's size in millimetres of the screen record.
  double a = -1, b = -1, c = 0, d = 0;
  ASSERT_TRUE(window_rect(window->hwnd(), &a, &b, &c, &d, 1, 0));
  EXPECT_DOUBLE_EQ(a, 0.0);
  EXPECT_DOUBLE_EQ(c, 200.0 / screen_paper.x_px_per_mm);
  EXPECT_DOUBLE_EQ(d, 100.0 / screen_paper.y_px_per_mm);
  message_capture capture;
  EXPECT_FALSE(window_rect(nullptr, &a, &b, &c, &d, 1, 0));
  EXPECT_EQ(capture.records().size(), 1u);
  EXPECT_DOUBLE_EQ(c, 200.0 / screen_paper.x_px_per_mm);
}

TEST_F(Routing, ChildWindowsAreMadeShownAndButtonsChecked) {
  probeWindow* window = new probeWindow(nullptr, "owner");
  HWND box = create_child_window(window->hwnd(), "BUTTON", "check", WS_CHILD | BS_CHECKBOX, 5, 5, 80, 20);
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(IsWindowVisible(box));
  EXPECT_EQ(GetParent(box), window->hwnd());
  EXPECT_FALSE(button_is_checked(box));
  check_button(box);
  EXPECT_TRUE(button_is_checked(box));
  EXPECT_FALSE(toggle_button(box));
  EXPECT_TRUE(toggle_button(box));
  uncheck_button(box);
  EXPECT_FALSE(button_is_checked(box));

  message_capture capture;
  EXPECT_EQ(create_child_window(window->hwnd(), "noSuchClass", "x", WS_CHILD, 0, 0, 10, 10), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"window window creation failed"}));
}
