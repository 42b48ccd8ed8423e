// Menu check marks and texts, and the labelled pop-up selector.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/winlib/controls/tests/control_test_window.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/fonts/program_fonts.h"

namespace {

struct scriptedMenu {
  static int calls;
  static POINT at;
  static UINT answer;
  static BOOL track(HMENU, UINT, int x, int y, HWND, LPTPMPARAMS) {
    ++calls;
    at = POINT{x, y};
    return static_cast<BOOL>(answer);
  }
};
int scriptedMenu::calls = 0;
POINT scriptedMenu::at{};
UINT scriptedMenu::answer = 0;

UINT state_of(HMENU menu, UINT id) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE;
  GetMenuItemInfoA(menu, id, FALSE, &info);
  return info.fState & (MFS_CHECKED | MFS_DISABLED);
}

}  // namespace

// Each operation changes only the checked bit: a disabled item stays
// disabled. toggle with flag 0 only reads.
TEST(Menus, CheckFlipAndDisabledStates) {
  enum op { set_on, set_off, flip, toggle_read, toggle_flip };
  struct row {
    UINT start;
    op what;
    UINT end;
    int result;
  };
  const UINT on = MFS_CHECKED;
  const UINT off = MFS_DISABLED;
  const row rows[] = {
      {0, set_on, on, 1},           {on, set_off, 0, 0},         {off, set_on, off | on, 1},
      {off | on, set_off, off, 0},  {0, flip, on, 1},            {on, flip, 0, 0},
      {off | on, flip, off, 0},     {off, flip, off | on, 1},    {on, toggle_read, on, 1},
      {off, toggle_read, off, 0},   {off, toggle_flip, off | on, 1}, {off | on, toggle_flip, off, 0},
  };
  for (const row& r : rows) {
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 40, "item");
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = r.start;
    SetMenuItemInfoA(menu, 40, FALSE, &info);
    int result = -1;
    switch (r.what) {
      case set_on: result = set_menu_check(menu, 40, 1); break;
      case set_off: result = set_menu_check(menu, 40, 0); break;
      case flip: result = flip_menu_check(menu, 40); break;
      case toggle_read: result = toggle_menu_check(menu, 40, 0); break;
      case toggle_flip: result = toggle_menu_check(menu, 40, 1); break;
    }
    EXPECT_EQ(state_of(menu, 40), r.end) << "start " << r.start << " op " << r.what;
    EXPECT_EQ(result, r.result) << "start " << r.start << " op " << r.what;
    DestroyMenu(menu);
  }
}

TEST(Menus, TextsAndSubmenus) {
  HMENU bar = CreateMenu();
  ASSERT_TRUE(append_menu_item(bar, 1, "File"));
  ASSERT_TRUE(append_menu_item(bar, 2, "View"));
  ASSERT_TRUE(set_menu_text(bar, 2, "Show"));
  char text[32];
  GetMenuStringA(bar, 2, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Show");
  EXPECT_EQ(submenu_at(bar, 0), nullptr);
  HMENU sub = attach_popup_menu(bar, 1);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(submenu_at(bar, 0), sub);
  EXPECT_EQ(attach_popup_menu(bar, 99), nullptr);
  DestroyMenu(bar);
}

class GroupMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    scriptedMenu::calls = 0;
    previous = popup_menu_ui_install(popup_menu_calls{scriptedMenu::track});
  }
  void TearDown() override { popup_menu_ui_install(previous); }

  testHolderWindow& holder = shared_holder();
  popup_menu_calls previous{};
};

// Entries get commands 10000 + i; a choice shows the prefix and the entry,
// padded to the minimum width; a miss opens nothing, a dismissed menu
// changes nothing.
TEST_F(GroupMenu, SelectionAndCaptionPadding) {
  const paper& s = screen_paper;
  groupMenuClass symbol(holder.hwnd(), program_font, 10.0, 10.0, 12, s, "Symbol", "-- ", 0, "none", "plus",
                        "diamond", "square", "circle", nullptr);
  EXPECT_EQ(symbol.entry_count(), 5);
  char text[32];
  EXPECT_EQ(symbol.entry_text(3, text, sizeof text), 6);
  EXPECT_STREQ(text, "square");
  EXPECT_EQ(GetMenuItemID(symbol.menu(), 4), 10004u);
  EXPECT_STREQ(symbol.caption().line_text(0), "-- XXXXXXXXXXXX");
  EXPECT_GT(symbol.width(), 0.0);

  double x = symbol.x() + 2.0;
  double y = symbol.y() + 2.0;
  scriptedMenu::answer = 10001;
  EXPECT_EQ(symbol.pop_up(x, y, s), 1);
  EXPECT_STREQ(symbol.caption().line_text(0), "-- plus     ");
  POINT screen{s.px_x(x), s.px_y(y)};
  ClientToScreen(holder.hwnd(), &screen);
  EXPECT_EQ(scriptedMenu::at.x, screen.x);
  EXPECT_EQ(scriptedMenu::at.y, screen.y);

  scriptedMenu::answer = 10003;
  EXPECT_EQ(symbol.pop_up(x, y, s), 3);
  EXPECT_STREQ(symbol.caption().line_text(0), "-- square   ");
  scriptedMenu::answer = 0;
  EXPECT_EQ(symbol.pop_up(x, y, s), -2);
  EXPECT_STREQ(symbol.caption().line_text(0), "-- square   ");
  EXPECT_EQ(symbol.pop_up(symbol.right() + 1.0, y, s), -1);
  EXPECT_EQ(scriptedMenu::calls, 3);

  symbol.select_entry(2);
  EXPECT_STREQ(symbol.caption().line_text(0), "-- diamond  ");
  symbol.set_text("a text longer than twelve");
  EXPECT_STREQ(symbol.caption().line_text(0), "-- a text longer than twelve");
}

// Values start at zero; more values than entries are reported and cut.
TEST_F(GroupMenu, EntryValues) {
  groupMenuClass size(holder.hwnd(), program_font, 10.0, 10.0, 4, screen_paper, "Size", "", 0, "3mm", "4mm", "5mm",
                      "6mm", "8mm", nullptr);
  EXPECT_EQ(size.value(2), 0.0);
  message_capture capture;
  size.add_menu_values(6, 3.0, 4.0, 5.0, 6.0, 8.0, 9.0);
  EXPECT_EQ(capture.texts(), std::vector<std::string>{
                                 "*** 'add_menu_values(count ...)', count greater than the number of menu entries ***"});
  EXPECT_EQ(size.value(0), 3.0);
  EXPECT_EQ(size.value(4), 8.0);
  EXPECT_EQ(size.value(5), 0.0);
}
