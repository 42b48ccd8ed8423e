// The date and time page: its fields wrap, saving sets the unit's clock,
// tells the stimulator, logs the change and chooses the new date's test
// folder; a date that does not exist is refused and changes nothing.
#include <gtest/gtest.h>

#include "handheld/ui/pages/date_time_page.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/menus/tests/road_fixture.h"
#include "handheld/engine/storage/test_folders.h"
#include "handheld/engine/storage/unit_time.h"

namespace {

class RoadDateTime : public RoadTest {
 protected:
  void SetUp() override {
    RoadTest::SetUp();
    open_page();
  }
  // The page over the set-up menu; a save closes it again.
  void open_page() {
    show_menu(main_dialog, PAGE_DEFAULT, MENU_SET_TIME, dateTimeProc, DATE_TIME_DIALOG, false);
    pump_until_idle(100);
    page_ = top_page();
    ASSERT_NE(page_, nullptr);
  }
  void key(WPARAM k) {
    SendMessageW(page_, WM_USER, k, 0);
    pump_until_idle(50);
  }
  void enter(int month, int day, int year, int hour, int minute, int second, const wchar_t* amPm) {
    SetDlgItemInt(page_, DATE_MONTH, month, TRUE);
    SetDlgItemInt(page_, DATE_DAY, day, TRUE);
    SetDlgItemInt(page_, DATE_YEAR, year, TRUE);
    SetDlgItemInt(page_, TIME_HOUR, hour, TRUE);
    SetDlgItemInt(page_, TIME_MINUTE, minute, TRUE);
    SetDlgItemInt(page_, TIME_SECOND, second, TRUE);
    SetDlgItemTextW(page_, TIME_AM_PM, amPm);
  }
  HWND page_ = nullptr;
};

TEST_F(RoadDateTime, FieldsWrapAtTheirEnds) {
  enter(1, 5, 2050, 3, 0, 0, L"AM");
  for (int i = 0; i < 7; ++i) key(KEY_UPPER_RIGHT);  // TAB round to the month again: it reads the month entered
  key(KEY_LOWER_LEFT);  // DOWN on month 1
  EXPECT_EQ(page_text(DATE_MONTH), L"12");
  key(KEY_UPPER_RIGHT);
  key(KEY_UPPER_RIGHT);  // the year
  key(KEY_UPPER_LEFT);  // UP on 2050
  EXPECT_EQ(page_text(DATE_YEAR), L"2005");
  EXPECT_EQ(page_text(DATE_FOLDER_TEXT), L"T051205");
  for (int i = 0; i < 4; ++i) key(KEY_UPPER_RIGHT);  // AM/PM
  key(KEY_UPPER_LEFT);
  EXPECT_EQ(page_text(TIME_AM_PM), L"PM");
}

TEST_F(RoadDateTime, TheThirtyFirstOfAprilIsRefused) {
  const uint64_t before = unit_time_filetime();
  sent_to_stimulator();
  enter(4, 31, 2026, 10, 0, 0, L"AM");
  key(DATE_TIME_SAVE);
  EXPECT_NE(remote_transcript().find("*** INVALID DATE OR TIME ***"), std::string::npos);
  EXPECT_LT(unit_time_filetime() - before, 10000000ull * 60) << "the clock is not moved";
  EXPECT_TRUE(sent_to_stimulator().empty());
  EXPECT_EQ(log_text().find("time_change"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(card_ / "T260431_NOT_SET"));
}

TEST_F(RoadDateTime, SavingSetsTheClockTellsTheStimulatorAndLogs) {
  struct row {
    int hour;
    const wchar_t* amPm;
    int expected;
  };
  const row rows[] = {{12, L"AM", 0}, {12, L"PM", 12}, {11, L"PM", 23}, {9, L"AM", 9}};
  for (const row& r : rows) {
    if (!IsWindow(page_)) open_page();
    sent_to_stimulator();
    enter(2, 29, 2028, r.hour, 30, 15, r.amPm);
    key(DATE_TIME_SAVE);
    EXPECT_NE(shown_menu(), MENU_SET_TIME) << "a save closes the page";
    const unitTime now = unit_local_time();
    EXPECT_EQ(now.hour, r.expected) << r.hour;
    EXPECT_EQ(now.minute, 30);
    EXPECT_EQ(now.day, 29);
    EXPECT_EQ(now.month, 2);
    const std::vector<uint8_t> sent = sent_to_stimulator();
    ASSERT_EQ(sent.size(), 9u);
    EXPECT_EQ(sent[0], 'S');
  }
  EXPECT_NE(log_text().find("(time_change (from (date "), std::string::npos) << log_text();
  EXPECT_NE(log_text().find("(to (date 02/29/2028)(time 09:30:15))(test_folder "), std::string::npos) << log_text();
  EXPECT_NE(current_test_folder().find(L"T280229_"), std::wstring::npos);
  EXPECT_TRUE(std::filesystem::is_directory(card_ / std::filesystem::path(current_test_folder()).filename()));
}

}  // namespace
