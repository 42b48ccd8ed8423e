// The directory dialog's browsing: listing, moving, showing, descending and
// climbing, deleting a test and an empty folder.
#include <gtest/gtest.h>

#include <memory>

#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/storage/directory_browser.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

class DirectoryBrowser : public CardFixture {
 protected:
  void SetUp() override {
    CardFixture::SetUp();
    ASSERT_TRUE(set_ERG_directory(false));
    record_ = std::make_unique<testFileRecord>();
    fill_test_record(*record_, 1, 2, 3, 4, "ID9");
    record_->ProtocolName[0] = u'X';
    ASSERT_TRUE(write_tst_file(*record_, L".tst", 1));
    ASSERT_TRUE(write_sample_file(*record_, 1, record_->Average, 0));
    std::filesystem::create_directories(card_ / "T240101_CFC7");
    write_card_file("T240101_CFC7/vandulog.txt", 3);
    write_card_file("T240101_CFC7/other.txt", 3);
    write_card_file("notes_file", 1);
  }
  std::unique_ptr<testFileRecord> record_;
};

TEST_F(DirectoryBrowser, BrowsesShowsAndDeletes) {
  engine_message_capture capture;
  directoryBrowser b;
  testFileRecord& shown = *std::make_unique<testFileRecord>().release();
  std::unique_ptr<testFileRecord> owner(&shown);
  browser_open(b);
  EXPECT_EQ(b.entries, (std::vector<std::wstring>{L"^", L"T240101_CFC7", L"T240315_CFC7"}));
  EXPECT_EQ(b.text_1099, L"'SELECT' for directory list");

  EXPECT_EQ(browser_command(b, PAGE_KEY_UP, shown), BROWSE_NOTHING);
  EXPECT_EQ(b.position, 2) << "up from ^ wraps to the last entry";
  EXPECT_EQ(b.text_1099, L"DIRECTORY");
  EXPECT_EQ(b.text_1100, L"(2 files)");
  browser_command(b, PAGE_SELECT, shown);
  EXPECT_EQ(b.entries, (std::vector<std::wstring>{L"^", L"P01S02T0304B-ID9"}));
  EXPECT_FALSE(b.top_level);
  browser_command(b, PAGE_KEY_DOWN, shown);
  EXPECT_EQ(b.text_1099, L"X");
  EXPECT_EQ(b.shown_channel, 1);
  EXPECT_EQ(b.text_1100.size(), 13u) << "ddMMMyy HH:MM";
  EXPECT_EQ(browser_command(b, PAGE_SELECT, shown), BROWSE_SHOW_TEST);
  browser_command(b, PAGE_KEY_DOWN, shown);
  EXPECT_EQ(b.position, 0) << "down from the last wraps to ^";

  browser_command(b, PAGE_KEY_DOWN, shown);
  EXPECT_EQ(browser_command(b, BROWSE_DELETE_TEST, shown), BROWSE_NOTHING);
  EXPECT_TRUE(std::filesystem::is_empty(card_ / "T240315_CFC7"));
  EXPECT_EQ(b.entries.size(), 1u);
  EXPECT_EQ(b.position, 0);

  browser_command(b, PAGE_SELECT, shown);  // "^" climbs to the root
  EXPECT_EQ(b.folder, L"Storage Card");
  EXPECT_EQ(b.text_1099, L"NOT AVAILABLE");
  browser_command(b, PAGE_KEY_DOWN, shown);
  browser_command(b, PAGE_KEY_DOWN, shown);
  EXPECT_EQ(browser_command(b, PAGE_SELECT, shown), BROWSE_ASK_DELETE_FOLDER) << "an empty folder";
  browser_command(b, BROWSE_DELETE_FOLDER, shown);
  EXPECT_FALSE(std::filesystem::exists(card_ / "T240315_CFC7"));

  browser_command(b, PAGE_KEY_DOWN, shown);
  EXPECT_EQ(b.text_1100, L"(2 files)");
  browser_command(b, BROWSE_DELETE_FOLDER, shown);
  EXPECT_TRUE(std::filesystem::exists(card_ / "T240101_CFC7" / "other.txt"));
  EXPECT_TRUE(std::filesystem::exists(card_ / "T240101_CFC7" / "vandulog.txt")) << "a folder with other files keeps its log";
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].first, 4);
  EXPECT_EQ(capture.messages()[0].second.rfind("### Unable to delete ###\ndirectory\n\nStorage Card\\T240101_CFC7\n\nsystem error #", 0), 0u);
  std::filesystem::remove(card_ / "T240101_CFC7" / "other.txt");
  browser_command(b, BROWSE_DELETE_FOLDER, shown);
  EXPECT_FALSE(std::filesystem::exists(card_ / "T240101_CFC7")) << "its log file alone goes with it";
  EXPECT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(browser_command(b, PAGE_CLOSE, shown), BROWSE_DESTROY);
}

TEST_F(DirectoryBrowser, UnreadableTestIsSaid) {
  write_card_file("T240315_CFC7/P09S09T0101A.TST", 10);
  engine_message_capture capture;
  directoryBrowser b;
  auto shown = std::make_unique<testFileRecord>();
  browser_open(b);
  browser_command(b, PAGE_KEY_UP, *shown);
  browser_command(b, PAGE_SELECT, *shown);
  browser_command(b, PAGE_KEY_DOWN, *shown);
  EXPECT_EQ(b.text_1099, L"X") << "a readable test first";
  browser_command(b, PAGE_KEY_DOWN, *shown);
  EXPECT_EQ(b.entries[static_cast<size_t>(b.position)], L"P09S09T0101A");
  EXPECT_EQ(b.text_1099, L"!!! UNABLE TO READ !!!");
  EXPECT_EQ(browser_command(b, PAGE_SELECT, *shown), BROWSE_NOTHING) << "the record still holds the test before";
  EXPECT_EQ(shown->P, 1);
}

}  // namespace
