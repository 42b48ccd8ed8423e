// The menu and dialog stack on the running program: pushes and pops,
// their limits, and the captions each level puts back.
#include <gtest/gtest.h>

#include <vector>

#include "handheld/ui/frame/tests/harness_fixture.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/ui/message_text.h"

namespace {

std::vector<LPARAM>* pageCodes = nullptr;
int record_page_shown(int command, LPARAM value) {
  if (command == static_cast<int>(PAGE_SHOWN_COMMAND) && pageCodes != nullptr) pageCodes->push_back(value);
  return 1;
}

using VanduMenuStack = VanduTest;

size_t count_of(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// A full stack refuses the push and says so once in the log: a message
// page would be one more push, refused again, without end.
TEST_F(VanduMenuStack, TheFiftiethLevelIsTheLast) {
  while (menu_stack_depth() < MENU_STACK_LEVELS) ASSERT_EQ(push_menu(MENU_SYSTEM_SETUP, nullptr, 0), nullptr);
  clear_menu_requests();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(push_menu(MENU_AFTER_TEST, nullptr, 0), nullptr);
  show_menu(main_dialog, PAGE_DEFAULT, MENU_MESSAGE, nullptr, 0, false);
  EXPECT_EQ(menu_stack_depth(), MENU_STACK_LEVELS);
  EXPECT_EQ(current_menu(), MENU_SYSTEM_SETUP);
  EXPECT_EQ(menu_request_count(), 0) << "no message page asked for";
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Acquire Data") << "a refused menu leaves the keys";
  pump_posted();
  EXPECT_EQ(menu_stack_depth(), MENU_STACK_LEVELS);
  EXPECT_EQ(count_of(log_text(), "### push_menu: OVERFLOW ###"), 1u) << log_text();
  EXPECT_EQ(pop_menu(), MENU_MAIN) << "every level of the set-up menu goes in one pop";
  clear_menu_requests();
}

TEST_F(VanduMenuStack, PoppingAMenuClosesItsDialogsAndPutsTheFirstCaptionsBack) {
  HWND status = top_page();
  ASSERT_NE(status, nullptr);
  show_menu(main_dialog, PAGE_NONE, MENU_SYSTEM_SETUP, nullptr, 0, false);
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Set Time");
  HWND first = push_dialog(messageDialogProc, IDD_MESSAGE_SIX_LINES);
  set_menu_captions(main_dialog, L"A", L"B", L"C", L"", PAGE_NONE);
  HWND second = push_dialog(messageDialogProc, IDD_MESSAGE_TEN_LINES);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(top_dialog(), second);
  EXPECT_TRUE(dialog_is_active(messageDialogProc));

  EXPECT_EQ(pop_menu(), MENU_MAIN);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(second));
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Acquire Data");
  EXPECT_EQ(key_caption(KEY_LOWER_RIGHT), L"Quit");
  EXPECT_EQ(top_dialog(), status);
  EXPECT_TRUE(IsWindowVisible(status));
}

TEST_F(VanduMenuStack, PopDialogTakesOnlyALevelWithADialog) {
  show_menu(main_dialog, PAGE_NONE, MENU_SYSTEM_SETUP, nullptr, 0, false);
  const int depth = menu_stack_depth();
  EXPECT_EQ(pop_dialog(), 0);
  EXPECT_EQ(menu_stack_depth(), depth);
  EXPECT_NE(remote_transcript().find("[### pop_dialog, NO DIALOG AT TOP LEVEL ###]"), std::string::npos);

  HWND page = push_dialog(messageDialogProc, IDD_MESSAGE_SIX_LINES);
  set_key_caption(main_dialog, 1, L"Changed");
  EXPECT_EQ(pop_dialog(), 1);
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Set Time");
  EXPECT_EQ(menu_stack_depth(), depth);
  clear_menu_requests();
}

TEST_F(VanduMenuStack, AnEmptyStackAnswersTheShutdownMenu) {
  clear_menu_stack();
  EXPECT_EQ(current_menu(), MENU_SHUTDOWN_CONFIRM);
  EXPECT_EQ(pop_menu(), MENU_SHUTDOWN_CONFIRM);
  EXPECT_EQ(pop_dialog(), 0);
  const std::string line = remote_transcript();
  EXPECT_NE(line.find("[### current_menu: STACK IS EMPTY ###]"), std::string::npos);
  EXPECT_NE(line.find("[### pop_menu: UNDERFLOW ###]"), std::string::npos);
  EXPECT_NE(line.find("[### DIALOG UNDERFLOW ###]"), std::string::npos);
  clear_menu_requests();
}

TEST_F(VanduMenuStack, GoingBackWithPageCodeNineShowsNoPage) {
  std::vector<LPARAM> codes;
  pageCodes = &codes;
  const menuHandler previous = set_menu_handler(MENU_MAIN, record_page_shown);
  show_menu(main_dialog, PAGE_NONE, MENU_SYSTEM_SETUP, nullptr, 0, false);
  show_menu(main_dialog, PAGE_NONE, MENU_GO_BACK, nullptr, 0, false);
  pump_until_idle(50);
  EXPECT_TRUE(codes.empty());
  show_menu(main_dialog, PAGE_NONE, MENU_SYSTEM_SETUP, nullptr, 0, false);
  show_menu(main_dialog, PAGE_NOTHING, MENU_GO_BACK, nullptr, 0, false);
  pump_until_idle(50);
  set_menu_handler(MENU_MAIN, previous);
  pageCodes = nullptr;
  EXPECT_EQ(codes, std::vector<LPARAM>{21});
  EXPECT_EQ(shown_menu(), MENU_MAIN);
}

TEST_F(VanduMenuStack, AMenuOutsideTheTableIsReported) {
  push_menu(60, nullptr, 0);
  touch_key(KEY_UPPER_LEFT);
  pump_until_idle(50);
  EXPECT_NE(remote_transcript().find("[### MENU 60\nNOT FOUND ###]"), std::string::npos);
}

}  // namespace
