// show_message and the message dialogs on a real display.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "handheld/ui/colour_brushes.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/protocols/program_error.h"
#include "handheld/engine/remote/remote_line_capture.h"

namespace {

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::wstring item_text(HWND dialog, int id) {
  wchar_t text[MESSAGE_TEXT_CAPACITY];
  GetDlgItemTextW(dialog, id, text, MESSAGE_TEXT_CAPACITY);
  return text;
}

// A stand-in for the main dialog: a hidden pop-up of the unit's screen size
// (hidden, it is never activated, so closing it costs no wait on the display).
class MessageDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    while (pop_message_history() == 1) {
    }
    clear_menu_requests();
    create_colour_brushes();
    owner_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
    main_dialog = owner_;
    program_error = false;
  }
  void TearDown() override {
    main_dialog = nullptr;
    DestroyWindow(owner_);
    delete_colour_brushes();
    clear_menu_requests();
    program_error = false;
  }
  HWND open(int resource) {
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource), owner_,
                                     messageDialogProc, 0);
    pump();
    return dialog;
  }
  HWND owner_ = nullptr;
};

TEST_F(MessageDisplay, ShowMessageAsksForTheMessagePage) {
  remote_line_capture line;
  show_message(MESSAGE_ERROR, false, "*** %s ***", "NO PROTOCOL HAS BEEN SELECTED");
  show_message(MESSAGE_WARNING, true, nullptr);
  EXPECT_EQ(line.text(), "[*** NO PROTOCOL HAS BEEN SELECTED ***]\r\n");
  EXPECT_TRUE(program_error);
  EXPECT_EQ(message_history_count(), 1);
  ASSERT_EQ(menu_request_count(), 2);
  for (int i = 0; i < 2; ++i) {
    menuRequest r = menu_request_slot(i);
    EXPECT_EQ(r.window, owner_);
    EXPECT_EQ(r.pageCode, PAGE_DEFAULT);
    EXPECT_EQ(r.menuId, MENU_MESSAGE);
    EXPECT_EQ(r.dialogProc, nullptr);
    EXPECT_EQ(r.resourceId, 0);
    EXPECT_EQ(r.replace, i == 1);
  }
}

TEST_F(MessageDisplay, TheDialogShowsTheTextOnTheColourOfItsKind) {
  show_message(MESSAGE_NOTICE, false, "*** NO TEST FILES FOUND ***\n%d", 3);
  HWND dialog = open(IDD_MESSAGE_TEN_LINES);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(item_text(dialog, MESSAGE_TEXT_CONTROL), L"*** NO TEST FILES FOUND ***\n3");

  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(dialog);
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 255, 0));  // green, the margin around the text
  ReleaseDC(dialog, dc);

  // Closing takes the history back into the buffer and destroys the dialog.
  SendMessageW(dialog, WM_USER, PAGE_CLOSE, 0);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(message_history_count(), 0);
}

TEST_F(MessageDisplay, EachKindGetsItsBrushAndOtherKindsAFixedOne) {
  HWND dialog = open(IDD_MESSAGE_SIX_LINES);
  ASSERT_NE(dialog, nullptr);
  HDC dc = GetDC(dialog);
  for (int kind : {0, 3, 7, 8, 17, -1}) {
    SCOPED_TRACE(kind);
    set_message_layout(kind, 3, MESSAGE_TEXT_CONTROL);
    HBRUSH expected = (kind >= 0 && kind < COLOUR_BRUSH_COUNT) ? brushes[kind]
                                                               : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    LRESULT brush = SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), expected);
  }
  ReleaseDC(dialog, dc);
  DestroyWindow(dialog);
}

TEST_F(MessageDisplay, ThePositionModePlacesTheDialog) {
  RECT parent;
  GetClientRect(owner_, &parent);
  struct Case {
    int position;
  } cases[] = {{1}, {2}, {3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    set_message_layout(MESSAGE_WARNING, c.position, MESSAGE_TEXT_CONTROL);
    HWND dialog = open(IDD_MESSAGE_SIX_LINES);
    ASSERT_NE(dialog, nullptr);
    RECT r;
    GetWindowRect(dialog, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_EQ(r.left, (parent.right - width) / 2);
    int top = c.position == 1 ? 0 : c.position == 2 ? 265 - height : (parent.bottom - height) / 2;
    EXPECT_EQ(r.top, top);
    DestroyWindow(dialog);
  }
}

TEST_F(MessageDisplay, TheShutdownWarningKeepsItsOwnText) {
  format_message_text("%s", "NOT SHOWN HERE");
  HWND dialog = open(IDD_SHUTDOWN_WARNING);
  ASSERT_NE(dialog, nullptr);
  HWND text = GetWindow(dialog, GW_CHILD);
  ASSERT_NE(text, nullptr);
  wchar_t shown[256];
  GetWindowTextW(text, shown, 256);
  EXPECT_STREQ(shown,
               L"!!! ATTENTION !!!\nenter\n\n'SHUTDOWN' to turn off Sadrin or\n\n'CANCEL' to return to main menu.");
  DestroyWindow(dialog);
}

TEST_F(MessageDisplay, WorkerThreadsMayShowMessages) {
  remote_line_capture line;
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 5; ++i) show_message(MESSAGE_WARNING, false, "ELECTRODE %d %d", t, i);
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(line.writes().size(), 15u);
  EXPECT_EQ(menu_request_count(), MENU_REQUEST_SLOTS);  // ten slots: the tenth and later share the last
  EXPECT_EQ(message_history_count(), 9);
}

}  // namespace
