#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/files/file_names_multi.h"
#include "desktop/winlib/tests/message_capture.h"

namespace {

DWORD flags_seen = 0;

BOOL choose_two(OPENFILENAMEA* record) {
  flags_seen = record->Flags;
  static const char chosen[] = "C:\\data\0a.TST\0b.TST\0";
  std::memcpy(record->lpstrFile, chosen, sizeof chosen);
  return TRUE;
}
BOOL never(OPENFILENAMEA*) { return FALSE; }
DWORD no_error() { return 0; }

}  // namespace

TEST(FileNamesMulti, OpensTheDialogWithSeveralFilesAllowed) {
  message_capture capture;
  file_dialog_calls previous = file_dialog_ui_install(file_dialog_calls{choose_two, never, no_error});
  char result[64];
  const char* chosen =
      get_file_names_multi(nullptr, "Tests", "C:\\data\\", "Tests\0*.TST\0", "TST", result, sizeof result, false,
                           false, OFN_EXPLORER);
  file_dialog_ui_install(previous);
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(flags_seen & (OFN_ALLOWMULTISELECT | OFN_EXPLORER), DWORD{OFN_ALLOWMULTISELECT | OFN_EXPLORER});
  EXPECT_STREQ(chosen, "C:\\data");
  EXPECT_STREQ(chosen + std::strlen(chosen) + 1, "a.TST");
  EXPECT_TRUE(capture.texts().empty());
}
