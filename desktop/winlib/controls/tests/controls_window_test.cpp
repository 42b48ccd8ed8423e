// The control base, the control list and the child controls under the
// virtual display: measure and place rules, list texts, pop-up menus.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <functional>
#include <memory>
#include <string>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/controls/captions.h"
#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/controls/list_controls.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/fonts/program_fonts.h"

namespace {

// A text's extent in pixels in the program font on the holder.
SIZE extent(HWND window, const char* text) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, program_font);
  SIZE size{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size;
}

SIZE window_size(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

POINT window_corner(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  POINT p{r.left, r.top};
  ScreenToClient(GetParent(window), &p);
  return p;
}

// Scripted pop-up menus: where the menu was opened, and the command chosen.
struct scriptedMenu {
  static int calls;
  static POINT at;
  static HMENU menu;
  static UINT answer;
  static BOOL track(HMENU m, UINT, int x, int y, HWND, LPTPMPARAMS) {
    ++calls;
    at = POINT{x, y};
    menu = m;
    return static_cast<BOOL>(answer);
  }
};
int scriptedMenu::calls = 0;
POINT scriptedMenu::at{};
HMENU scriptedMenu::menu = nullptr;
UINT scriptedMenu::answer = 0;

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    scriptedMenu::calls = 0;
    previous = popup_menu_ui_install(popup_menu_calls{scriptedMenu::track});
  }
  void TearDown() override { popup_menu_ui_install(previous); }

  const paper& s = screen_paper;
  testHolderWindow& holder = shared_holder();
  HWND parent = holder.hwnd();
  popup_menu_calls previous{};
};

}  // namespace

// Each class's box in millimetres from its text in its font, and its window
// in pixels of the scale (origin 0: exactly int(mm x pixels per mm)).
TEST_F(Controls, MeasureRulesOfEachClass) {
  const SIZE x10 = extent(parent, "XXXXXXXXXX");
  const SIZE wide = extent(parent, "A button text much wider than the box");
  const SIZE label = extent(parent, "static text");
  const SIZE check = extent(parent, "check me");
  const double xs = s.x_px_per_mm;
  const double ys = s.y_px_per_mm;
  struct row {
    const char* name;
    std::function<controlClass*()> make;
    double width, height;  // millimetres
    int window_w, window_h;  // pixels; -1: no window
  };
  // The list box asks for a window one row taller than its box; the
  // platform then fits the height to whole rows.
  const int any_height = -2;
  // A list's rows have its scroll bar and frame beside them.
  const int list_beside = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXDLGFRAME) + 4;
  const row rows[] = {
      {"tree", [&] { return new listTreeClass(parent, program_font, 5, 5, 10, 4, s, "", 0); },
       x10.cx / xs + 1.0, x10.cy / ys * 5 + 1.0, s.px_x(x10.cx / xs + 1.0), s.px_y(x10.cy / ys * 5 + 1.0)},
      {"list box", [&] { return new listBoxClass(parent, program_font, 5, 5, 10, 4, s, "", 0); },
       (x10.cx + list_beside) / xs + 1.0, x10.cy / ys * 4 + 1.0, s.px_x((x10.cx + list_beside) / xs + 1.0),
       any_height},
      {"narrow button", [&] { return new buttonClass(parent, program_font, 5, 5, 60.0, 12.0, s, "OK", 0); },
       60.0, 12.0, s.px_x(60.0), s.px_y(12.0)},
      {"wide button",
       [&] { return new buttonClass(parent, program_font, 5, 5, 5.0, 2.0, s, "A button text much wider than the box", 0); },
       wide.cx / xs + 1.0, wide.cy / ys + 1.0, s.px_x(wide.cx / xs + 1.0), s.px_y(wide.cy / ys + 1.0)},
      {"group box", [&] { return new groupBoxClass(parent, 5, 5, 40.0, 20.0, s, "group"); },
       40.0, 20.0, s.px_x(40.0), s.px_y(20.0)},
      {"box", [&] { return new boxClass(parent, 5, 5, 40.0, 20.0, s, "box"); }, 40.0, 20.0, -1, -1},
      {"static", [&] { return new staticClass(parent, program_font, 5, 5, s, "static text"); },
       label.cx / xs, label.cy / ys, label.cx, label.cy},
      {"check box", [&] { return new checkBoxClass(parent, program_font, 5, 5, s, "check me", 1); },
       (check.cx + s.px_x(10.0) + 1) / xs, (check.cy + 1) / ys, check.cx + s.px_x(10.0), check.cy},
      {"trackbar", [&] { return new trackbarClass(parent, 5, 5, 50.0, 8.0, s, caption_right); },
       50.0, 8.0, s.px_x(50.0), s.px_y(8.0)},
      {"edit", [&] { return new editClass(parent, program_font, 5, 5, s, edit_left, 10, 0); },
       x10.cx / xs, x10.cy / ys + 2.0, s.px_x(x10.cx / xs), s.px_y(x10.cy / ys + 2.0)},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    std::unique_ptr<controlClass> c(r.make());
    if (auto* list = dynamic_cast<listBoxClass*>(c.get())) {
      EXPECT_NEAR(list->window_height(), x10.cy / ys * 5 + 1.0, 1e-9);
    }
    EXPECT_NEAR(c->width(), r.width, 1e-9);
    EXPECT_NEAR(c->height(), r.height, 1e-9);
    if (r.window_w < 0) {
      EXPECT_EQ(c->hwnd(), nullptr);
      continue;
    }
    ASSERT_NE(c->hwnd(), nullptr);
    EXPECT_EQ(window_size(c->hwnd()).cx, r.window_w);
    if (r.window_h != any_height) {
      EXPECT_EQ(window_size(c->hwnd()).cy, r.window_h);
    }
    EXPECT_EQ(window_corner(c->hwnd()).x, s.px_x(5.0));
  }
  // A list fitted to its rows is as wide as its widest row.
  listBoxClass list(parent, program_font, 5, 5, 10, 4, s, "", 0);
  list.add_string("A button text much wider than the box");
  list.fit(s);
  EXPECT_NEAR(list.width(), (wide.cx + list_beside) / xs + 1.0, 1e-9);
  EXPECT_EQ(window_size(list.hwnd()).cx, s.scale_x(list.width()));
}

// place: list controls move without sizing, the others move and size to the
// box; a control without a window only moves its box.
TEST_F(Controls, PlaceRules) {
  struct row {
    const char* name;
    std::function<controlClass*()> make;
    bool sized;
  };
  const row rows[] = {
      {"list box", [&] { return new listBoxClass(parent, program_font, 5, 5, 10, 4, s, "", 0); }, false},
      {"tree", [&] { return new listTreeClass(parent, program_font, 5, 5, 10, 4, s, "", 0); }, false},
      {"button", [&] { return new buttonClass(parent, program_font, 5, 5, 30.0, 8.0, s, "OK", 0); }, true},
      {"box", [&] { return new boxClass(parent, 5, 5, 30.0, 8.0, s, "box"); }, true},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    std::unique_ptr<controlClass> c(r.make());
    SIZE before = c->hwnd() ? window_size(c->hwnd()) : SIZE{};
    double w = c->width();
    c->place(40.0, 30.0, s);
    EXPECT_EQ(c->x(), 40.0);
    EXPECT_EQ(c->y(), 30.0);
    EXPECT_EQ(c->width(), w);
    if (!c->hwnd()) continue;
    EXPECT_EQ(window_corner(c->hwnd()).x, s.px_x(40.0));
    EXPECT_EQ(window_corner(c->hwnd()).y, s.px_y(30.0));
    if (r.sized) {
      EXPECT_EQ(window_size(c->hwnd()).cx, s.px_x(c->width()));
    } else {
      EXPECT_EQ(window_size(c->hwnd()).cx, before.cx);
      EXPECT_EQ(window_size(c->hwnd()).cy, before.cy);
    }
  }
}

// The group text frame fits its caption; the trackbar's caption stands right
// of the bar or centred below it.
TEST_F(Controls, CaptionLayouts) {
  HDC dc = GetDC(parent);
  groupTextClass group(parent, program_font, 10.0, 10.0, 2, s, "frame");
  EXPECT_NEAR(group.width(), group.caption().width() + 0.5, 1e-9);
  EXPECT_NEAR(group.height(), group.caption().height() + 7.0, 1e-9);
  EXPECT_EQ(group.caption().reference_x(), 11.0);
  EXPECT_EQ(group.caption().reference_y(), 15.0);
  EXPECT_STREQ(group.caption().line_text(1), "111");
  group.place(20.0, 30.0, s);
  EXPECT_EQ(group.caption().reference_x(), 21.0);
  EXPECT_EQ(group.caption().reference_y(), 35.0);
  EXPECT_EQ(window_size(group.hwnd()).cx, s.px_x(group.width()));

  trackbarClass right(parent, 10.0, 60.0, 50.0, 8.0, s, caption_right);
  right.set_caption("level");
  right.rescale(dc, s);
  EXPECT_EQ(right.caption().reference_x(), 62.0);
  EXPECT_EQ(right.caption().reference_y(), 60.0);
  trackbarClass below(parent, 10.0, 80.0, 50.0, 8.0, s, caption_below);
  below.set_caption("level");
  below.rescale(dc, s);
  EXPECT_NEAR(below.caption().reference_x(), 35.0 - below.caption().width() / 2.0, 1e-9);
  EXPECT_EQ(below.caption().reference_y(), 89.0);
  {
    message_capture capture;
    trackbarClass odd(parent, 10.0, 100.0, 50.0, 8.0, s, 2);
    odd.rescale(dc, s);
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** trackbarClass: invalid justification ***"});
  }
  ReleaseDC(parent, dc);
}

// A row of 300 characters is found and read whole; a small buffer gets it
// cut and terminated.
TEST_F(Controls, ListBoxRowsAreReadWhole) {
  listBoxClass list(parent, program_font, 5, 5, 20, 5, s, "", 0);
  EXPECT_EQ(list.find_string("anything"), -1);
  std::string long_row(300, 'q');
  long_row += "end";
  EXPECT_EQ(list.add_string("short"), 0);
  EXPECT_EQ(list.add_string(long_row.c_str()), 1);
  SendMessageA(list.hwnd(), LB_SETITEMDATA, 1, 77);
  EXPECT_EQ(list.find_string(long_row.c_str()), 1);
  EXPECT_EQ(list.find_string(long_row.substr(0, 127).c_str()), -1);
  EXPECT_EQ(list.item_text(1), long_row);
  EXPECT_EQ(list.find_data(77), 1);
  EXPECT_EQ(list.find_data(78), -1);
  char small[8];
  EXPECT_EQ(list.item_text(1, small, sizeof small), 303);
  EXPECT_STREQ(small, "qqqqqqq");
  EXPECT_EQ(list.item_text(5, small, sizeof small), -1);
  EXPECT_STREQ(small, "");
  EXPECT_EQ(list.replace_string(0, "other"), 0);
  EXPECT_EQ(list.item_text(0), "other");
  EXPECT_EQ(list.count(), 2);
  EXPECT_EQ(list.set_selection(-1), -1);
  list.set_selection(1);
  EXPECT_EQ(list.selection(), 1);
}

// Hidden parts in braces, and item paths.
TEST_F(Controls, TreeTextsAndPaths) {
  struct row {
    const char* text;
    const char* plain;
    const char* display;
  };
  for (row r : {row{"a{b}c", "ac", "abc"}, row{"a{b", "a", "ab"}, row{"}x{{y}}z", "xz", "xyz"}, row{"", "", ""}}) {
    EXPECT_STREQ(plain_text(r.text), r.plain) << r.text;
    EXPECT_STREQ(display_text(r.text), r.display) << r.text;
  }
  std::string long_text(5000, 'w');
  EXPECT_EQ(std::strlen(plain_text((long_text + "{hidden}").c_str())), 5000u);

  listTreeClass tree(parent, program_font, 5, 5, 20, 8, s, "", 0);
  HTREEITEM root = tree.insert_item("C:{drive}", nullptr);
  HTREEITEM folder = tree.find_or_insert_child("data", root, 0);
  EXPECT_EQ(tree.find_or_insert_child("data", root, 0), folder);
  HTREEITEM file = tree.insert_item_with_data("test.TST", folder, item_ends_path);
  EXPECT_STREQ(tree.item_path(root), "C:\\");
  EXPECT_STREQ(tree.item_path(file), "C:\\data\\test.TST");
  EXPECT_STREQ(tree.item_path(nullptr), "");
  EXPECT_STREQ(tree.item_text(root), "C:{drive}");
  EXPECT_STREQ(tree.item_display_text(root), "C:");
  EXPECT_EQ(tree.parent_item(file), folder);
  tree.set_data_bits(folder, 4);
  EXPECT_TRUE(tree.has_data_bits(folder, 4));
  EXPECT_EQ(tree.test_data_bits(folder, 6), 4);
}

// The control list owns its controls, refuses a second add, and opens the
// pop-up menu of the first control under a point at that point on the
// screen (client point turned into screen pixels).
TEST_F(Controls, ControlListAndPopupMenus) {
  message_capture capture;
  auto* first = new buttonClass(parent, program_font, 10, 10, 30.0, 10.0, s, "first", 0);
  auto* second = new buttonClass(parent, program_font, 20, 12, 30.0, 10.0, s, "second", 0);
  auto* plain = new groupBoxClass(parent, 10, 40, 20.0, 10.0, s, "plain");
  EXPECT_TRUE(holder.controls.add(first));
  EXPECT_FALSE(holder.controls.add(first));
  EXPECT_TRUE(holder.controls.add(second));
  EXPECT_TRUE(holder.controls.add(plain));
  EXPECT_EQ(holder.controls.count(), 3);

  first->append_menu(5, "no menu yet");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** controlClass::append_menu - NO MENU EXISTS ***"});
  ASSERT_TRUE(first->create_popup_menu());
  first->append_menu(7, "seven");
  first->append_menu(7, "again");
  EXPECT_STREQ(first->menu_text(7), "seven");
  EXPECT_EQ(first->menu_text(8), nullptr);
  ASSERT_TRUE(second->create_popup_menu());

  controlClass* hit = nullptr;
  int x = s.px_x(25.0);
  int y = s.px_y(15.0);  // inside both buttons: the first added wins
  scriptedMenu::answer = 7;
  EXPECT_EQ(holder.controls.track_popup(x, y, s, &hit), 7);
  EXPECT_EQ(hit, first);
  EXPECT_EQ(scriptedMenu::menu, first->popup_menu());
  POINT screen{x, y};
  ClientToScreen(parent, &screen);
  EXPECT_EQ(scriptedMenu::at.x, screen.x);
  EXPECT_EQ(scriptedMenu::at.y, screen.y);

  scriptedMenu::answer = 0;
  EXPECT_EQ(holder.controls.track_popup(x, y, s, nullptr), 0);  // dismissed
  EXPECT_EQ(holder.controls.track_popup(s.px_x(15.0), s.px_y(45.0), s, &hit), 0);
  EXPECT_EQ(hit, plain);  // no menu
  hit = nullptr;
  EXPECT_EQ(holder.controls.track_popup(s.px_x(150.0), s.px_y(90.0), s, &hit), -1);
  EXPECT_EQ(hit, nullptr);
  EXPECT_EQ(scriptedMenu::calls, 2);
}

// The labelled edit made without an object.
TEST_F(Controls, LabelledEditWithoutAnObject) {
  HWND edit = create_labelled_edit(parent, program_font, s, "Name", 0, 40.0, 10.0, 8, 0);
  ASSERT_NE(edit, nullptr);
  SIZE xs = extent(parent, "XXXXXXXX");
  EXPECT_EQ(window_size(edit).cx, xs.cx + 6);
  EXPECT_EQ(window_corner(edit).x, s.px_x(40.0));
  message_capture capture;
  EXPECT_NE(create_labelled_edit(parent, program_font, s, "Name", 1, 40.0, 30.0, 8, 0), nullptr);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** INVALID JUSTIFICATION FOR EDIT CONTROL **"});
}

namespace {

// The window's client area as a 24-bit BMP file.
bool save_client_bitmap(HWND window, const char* path) {
  RECT r{};
  GetClientRect(window, &r);
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = r.right;
  info.bmiHeader.biHeight = r.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DWORD row = static_cast<DWORD>((r.right * 3 + 3) & ~3);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + row * r.bottom;
  bool ok = false;
  if (FILE* out = std::fopen(path, "wb")) {
    ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
         std::fwrite(bits, row * r.bottom, 1, out) == 1;
    std::fclose(out);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return ok;
}

}  // namespace

// One of each control in a window of its own, painted as a person sees it;
// the picture goes to controls_window.bmp beside the test.
TEST(ControlWindow, EveryControlPaints) {
  testHolderWindow window(640, 420);
  HWND parent = window.hwnd();
  const paper& s = screen_paper;
  auto* box = new boxClass(parent, 5, 5, 50, 25, s, "drawn box");
  box->set_fill(8);
  auto* list = new listBoxClass(parent, program_font, 5, 35, 14, 4, s, "", 0);
  list->add_string("first row");
  list->add_string("second row");
  auto* tree = new listTreeClass(parent, program_font, 65, 5, 14, 5, s, "", 0);
  HTREEITEM root = tree->insert_item("C:{hidden}", nullptr);
  tree->insert_item("data", root);
  tree->expand(root);
  auto* check = new checkBoxClass(parent, program_font, 65, 50, s, "Search Subdirectories.", 1);
  check->check();
  auto* track = new trackbarClass(parent, 5, 70, 50, 8, s, caption_below);
  track->set_caption("level 3");
  SendMessageA(track->hwnd(), TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageA(track->hwnd(), TBM_SETPOS, TRUE, 3);
  auto* group = new groupTextClass(parent, program_font, 120, 5, 2, s, "group text");
  group->set_line(0, "line one");
  group->set_line(1, "line two");
  HDC measure_dc = GetDC(parent);
  group->measure(measure_dc, s);  // the frame fits its caption
  ReleaseDC(parent, measure_dc);
  auto* label = new staticClass(parent, program_font, 120, 40, s, "static text");
  auto* edit = new editLabelClass(parent, program_font, 140, 60, s, "Freq [Hz]", program_font, label_left, 8, 0,
                                  edit_right);
  edit->set_text("%lg", 12.5);
  auto* button = new buttonClass(parent, program_font, 120, 75, 20, 7, s, "Update", 0);
  for (controlClass* c : std::initializer_list<controlClass*>{box, list, tree, check, track, group, label, edit, button}) {
    window.controls.add(c);
  }
  InvalidateRect(parent, nullptr, TRUE);
  UpdateWindow(parent);
  pump_messages();
  HDC dc = GetDC(parent);
  // The box: its black frame and its pale grey fill.
  EXPECT_EQ(GetPixel(dc, s.px_x(5.0), s.px_y(20.0)), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, s.px_x(30.0), s.px_y(25.0)), RGB(0xE6, 0xE6, 0xE6));
  ReleaseDC(parent, dc);
  EXPECT_TRUE(save_client_bitmap(parent, "controls_window.bmp"));
}
