// Browsing the card from "File Info": into a test folder, a stored test
// shown on the graph with its extremes, deleted from the graph's page, and
// the empty folder deleted after the question.
#include <gtest/gtest.h>

#include <string.h>

#include <memory>

#include "handheld/ui/directory_dialog.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/ui/menus/tests/road_fixture.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

using RoadFiles = RoadTest;

TEST_F(RoadFiles, AStoredTestIsShownDeletedAndItsEmptyFolderToo) {
  auto record = std::make_unique<testFileRecord>();
  memset(record.get(), 0, sizeof(testFileRecord));
  init_test_record(*record);
  record->P = 3;
  const char16_t name[] = u"FLASH ONE";
  memcpy(record->ProtocolName, name, sizeof name);
  record->Config.Scale = 1.0;
  record->Config.Offset = 0.0;
  for (samplesBlock* block : {&record->Average, &record->LastSweep}) {
    block->Divisor = 1.0;
    block->PointCount = 100;
    block->Time = 100;
    for (int i = 0; i < 100; ++i) block->Data[i] = i < 50 ? -i : i - 100;  // down to -49, then up from -50
  }
  record->Average.Data[20] = 80;
  ASSERT_TRUE(write_tst_file(*record, L".tst", 0));
  const std::filesystem::path folder = card_ / std::filesystem::path(current_test_folder()).filename();
  ASSERT_EQ(stored_tests().size(), 1u);

  press(KEY_LOWER_LEFT);  // "File Info"
  ASSERT_EQ(shown_menu(), MENU_FILE_LIST);
  EXPECT_EQ(page_text(DIRECTORY_TEXT_1), L"'SELECT' for directory list");
  press(KEY_LOWER_LEFT);  // DOWN to the day's folder
  EXPECT_EQ(page_text(DIRECTORY_TEXT_1), L"DIRECTORY");
  EXPECT_EQ(page_text(DIRECTORY_TEXT_2), L"(1 files)");
  press(KEY_UPPER_RIGHT);  // SELECT: into it
  press(KEY_LOWER_LEFT);   // the test
  EXPECT_EQ(page_text(DIRECTORY_TEXT_1), L"FLASH ONE");
  const std::wstring when = page_text(DIRECTORY_TEXT_2);

  press(KEY_UPPER_RIGHT);  // SELECT: its graph
  ASSERT_EQ(shown_menu(), MENU_RESULT_GRAPH);
  ASSERT_TRUE(plotter_exists());
  EXPECT_TRUE(pump_until([] { return plotter_title_buffer() == L"FLASH ONE"; }, 10000)) << "the graph is drawn";
  EXPECT_NE(plotter_row_text(-1).find(L"Test:P03S00T0000A"), std::wstring::npos) << plotter_row_text(-1);
  EXPECT_NE(plotter_row_text(-1).find(L"p-p  130 uV"), std::wstring::npos) << plotter_row_text(-1);
  EXPECT_NE(plotter_row_text(-2).find(L"MIN: -50@  51   MAX:  80@  20"), std::wstring::npos) << plotter_row_text(-2);
  EXPECT_NE(plotter_row_text(-3).find(when), std::wstring::npos);
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"DELETE");

  press(KEY_UPPER_LEFT);  // "DELETE"
  ASSERT_EQ(shown_menu(), MENU_FILE_LIST);
  EXPECT_TRUE(stored_tests().empty());
  EXPECT_FALSE(plotter_exists()) << "the graph closed with its page";

  press(KEY_UPPER_RIGHT);  // SELECT on "^": back to the card's root
  press(KEY_LOWER_LEFT);   // the folder, now empty
  EXPECT_EQ(page_text(DIRECTORY_TEXT_2), L"(0 files)");
  press(KEY_UPPER_RIGHT);  // SELECT: the question
  ASSERT_EQ(shown_menu(), MENU_DELETE_FOLDER);
  EXPECT_EQ(key_caption(KEY_UPPER_LEFT), L"Yes");
  press(KEY_UPPER_LEFT);  // "Yes"
  EXPECT_EQ(shown_menu(), MENU_FILE_LIST);
  EXPECT_FALSE(std::filesystem::exists(folder));

  press(KEY_LOWER_RIGHT);  // "Back"
  EXPECT_EQ(shown_menu(), MENU_MAIN);
}

}  // namespace
