// The directory dialog on a real display, over a temporary card.
#include <gtest/gtest.h>

#include <vector>

#include "handheld/engine/tests/card_fixture.h"
#include "handheld/ui/directory_dialog.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

std::vector<std::pair<WPARAM, LPARAM>> commands;

LRESULT CALLBACK standInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) commands.emplace_back(wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

void pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::wstring item_text(HWND dialog, int id) {
  wchar_t text[256];
  GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

class DirectoryDialog : public CardFixture {
 protected:
  void SetUp() override {
    CardFixture::SetUp();
    WNDCLASSW wc{};
    wc.lpfnWndProc = standInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DirectoryDialogOwner";
    RegisterClassW(&wc);
    owner_ = CreateWindowExW(0, L"DirectoryDialogOwner", L"", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
    main_dialog = owner_;
    commands.clear();
    ASSERT_TRUE(set_ERG_directory(false));
    auto record = std::make_unique<testFileRecord>();
    fill_test_record(*record, 1, 2, 3, 4, "");
    record->ProtocolName[0] = u'Q';
    ASSERT_TRUE(write_tst_file(*record, L".tst", 0));
    std::filesystem::create_directories(card_ / "T240101_CFC7");
  }
  void TearDown() override {
    if (dialog_ != nullptr && IsWindow(dialog_)) DestroyWindow(dialog_);
    DestroyWindow(owner_);
    main_dialog = nullptr;
    pump();
    CardFixture::TearDown();
  }
  HWND owner_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(DirectoryDialog, BrowsesAndAsksTheMainDialog) {
  dialog_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(DIRECTORY_DIALOG), owner_,
                               directoryDialogProc, 0);
  ASSERT_NE(dialog_, nullptr);
  EXPECT_EQ(SendDlgItemMessageW(dialog_, DIRECTORY_LIST, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(list_text(dialog_, DIRECTORY_LIST, 0), L"^");
  EXPECT_EQ(list_text(dialog_, DIRECTORY_LIST, 2), L"T240315_CFC7");
  EXPECT_EQ(list_text(dialog_, DIRECTORY_LIST, 9), L"");
  EXPECT_EQ(item_text(dialog_, DIRECTORY_TEXT_1), L"'SELECT' for directory list");

  SendMessageW(dialog_, WM_USER, PAGE_KEY_DOWN, 0);
  EXPECT_EQ(item_text(dialog_, DIRECTORY_TEXT_1), L"DIRECTORY");
  EXPECT_EQ(item_text(dialog_, DIRECTORY_TEXT_2), L"(0 files)");
  SendMessageW(dialog_, WM_USER, PAGE_SELECT, 0);
  pump();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], (std::pair<WPARAM, LPARAM>(MAIN_INTERNAL_COMMAND, PAGE_ASK_DELETE_FOLDER)));

  SendMessageW(dialog_, WM_USER, PAGE_KEY_DOWN, 0);
  SendMessageW(dialog_, WM_USER, PAGE_SELECT, 0);  // into today's folder
  EXPECT_EQ(list_text(dialog_, DIRECTORY_LIST, 1), L"P01S02T0304A");
  SendMessageW(dialog_, WM_USER, PAGE_KEY_UP, 0);
  EXPECT_EQ(item_text(dialog_, DIRECTORY_TEXT_1), L"Q");
  EXPECT_EQ(browsed_test_record().P, 1);
  SendMessageW(dialog_, WM_USER, PAGE_SELECT, 0);
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_EQ(commands[1], (std::pair<WPARAM, LPARAM>(MAIN_INTERNAL_COMMAND, PAGE_SHOW_BROWSED_TEST)));

  EXPECT_EQ(fill_folder_list(dialog_, DIRECTORY_LIST, L"Storage Card"), 2);
  EXPECT_EQ(list_files_to_listbox(dialog_, DIRECTORY_LIST, L"Storage Card\\T240315_CFC7\\*.tst", 1), 1);
  EXPECT_EQ(list_text(dialog_, DIRECTORY_LIST, 1), L"P01S02T0304A");

  SendMessageW(dialog_, WM_USER, PAGE_CLOSE, 0);
  EXPECT_FALSE(IsWindow(dialog_));
}

TEST_F(DirectoryDialog, ConfirmationShowsItsQuestion) {
  HWND confirm = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(DELETE_FOLDER_DIALOG), owner_,
                                    deleteFolderDialogProc, 0);
  ASSERT_NE(confirm, nullptr);
  EXPECT_TRUE(IsWindowVisible(confirm));
  wchar_t text[64] = L"";
  GetWindowTextW(GetWindow(confirm, GW_CHILD), text, 64);
  EXPECT_STREQ(text, L"DELETE EMPTY \nDIRECTORY?");
  DestroyWindow(confirm);
}

}  // namespace
