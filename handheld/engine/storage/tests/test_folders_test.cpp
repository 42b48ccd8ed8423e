// The day's test folder, the LOG folder and the folder helpers.
#include <gtest/gtest.h>

#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

using TestFolders = CardFixture;

TEST_F(TestFolders, FolderNameFollowsDateCfcAndIndex) {
  struct Case {
    int index;
    const wchar_t* folder;
  } cases[] = {{0, L"Storage Card\\T240315_CFC7"}, {2, L"Storage Card\\T240315_CFC7-2"}};
  for (const Case& c : cases) {
    erg_directory_index = c.index;
    ASSERT_TRUE(set_ERG_directory(false));
    EXPECT_EQ(current_test_folder(), c.folder);
    EXPECT_TRUE(std::filesystem::is_directory(card_ / std::wstring(c.folder).substr(13)));
  }
  EXPECT_TRUE(std::filesystem::exists(card_ / "LOG" / "T240315_CFC7.txt"));
  EXPECT_EQ(count_ERG_directories(), 2);
  // Another cfc id that begins with this one, a file, a folder without a number.
  std::filesystem::create_directories(card_ / "T240315_CFC77");
  std::filesystem::create_directories(card_ / "T240315_CFC7-old");
  write_card_file("T240315_CFC7-3", 1);
  EXPECT_EQ(count_ERG_directories(), 2) << "only today's folders of this cfc id";
}

TEST_F(TestFolders, ExistingFolderIsReusedQuietlyAndTheLogOpened) {
  engine_message_capture capture;
  set_logging_on(false);
  std::filesystem::create_directories(card_ / "T240315_CFC7");
  write_card_file("T240315_CFC7/keep.txt", 3);
  ASSERT_TRUE(set_ERG_directory(false));
  ASSERT_TRUE(set_ERG_directory(false));
  EXPECT_TRUE(capture.messages().empty());
  EXPECT_TRUE(logging_on());
  EXPECT_TRUE(std::filesystem::exists(card_ / "T240315_CFC7" / "keep.txt"));
  EXPECT_EQ(log_file_path(), card_ / "LOG" / "T240315_CFC7.txt");
}

TEST_F(TestFolders, FolderThatCannotBeMadeIsReported) {
  engine_message_capture capture;
  write_card_file("T240315_CFC7", 10);  // a file where the folder goes
  EXPECT_FALSE(set_ERG_directory(false));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].first, 2);
  EXPECT_EQ(capture.messages()[0].second.rfind("### set_ERG_directory ###\nfile: Storage Card\\T240315_CFC7\n[error ", 0),
            0u);
}

TEST_F(TestFolders, NumbersContinueFromTheLastTest) {
  struct Case {
    std::vector<const char*> files;
    int P, S;
  } cases[] = {
      {{}, 1, 0},
      {{"P01S03T0102A.TST"}, 1, 3},
      {{"P01S03T0102A.TST", "P02S05T0101B-ID.TST", "P07S07T0101A.spl", "notes.txt"}, 2, 5},
      {{"P01S03T0102A.TST", "P0xS01T0101A.TST", "PABS99T0101A.TST"}, 1, 3},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(card_ / "T240315_CFC7");
    for (const char* f : c.files) write_card_file(std::string("T240315_CFC7/") + f, 1);
    protocol_number = 9;
    session_number = 9;
    ASSERT_TRUE(set_ERG_directory(false));
    EXPECT_EQ(protocol_number.load(), c.P);
    EXPECT_EQ(session_number.load(), c.S);
    protocol_number = 9;
    ASSERT_TRUE(set_ERG_directory(true)) << "keeps the numbers";
    EXPECT_EQ(protocol_number.load(), 9);
  }
}

TEST_F(TestFolders, EntryAfterTheLimitMovesToTheNextFolder) {
  ASSERT_TRUE(set_ERG_directory(false));
  for (int i = 0; i < kFolderEntryLimit; ++i) write_card_file("T240315_CFC7/f" + std::to_string(i) + ".spl", 0);
  EXPECT_EQ(count_folder_entries(), 800);
  EXPECT_FALSE(next_ERG_directory_if_full());
  write_card_file("T240315_CFC7/last.spl", 0);
  EXPECT_TRUE(next_ERG_directory_if_full());
  EXPECT_EQ(erg_directory_index.load(), 1);
  EXPECT_EQ(current_test_folder(), L"Storage Card\\T240315_CFC7-1");
  EXPECT_EQ(count_folder_entries(), 0);
  EXPECT_NE(card_log_text().find("next ERG directory [Storage Card\\\\T240315_CFC7-1]"), std::string::npos) << card_log_text();
}

// Counters past two digits would widen the names: the test goes to the next
// folder, where S is one past that folder's last test; a folder whose last
// session is 99 is passed over.
TEST_F(TestFolders, CountersPastTwoDigitsMoveToTheNextFolder) {
  struct Case {
    int P, S, T;
    std::vector<const char*> next_folders_files;  // of "-1", "-2"
    int index, S_after;
  } cases[] = {
      {1, 99, 99, {}, 0, 99},
      {1, 100, 1, {}, 1, 1},
      {1, 5, 100, {}, 1, 1},
      {100, 5, 1, {}, 1, 1},
      {1, 100, 1, {"-1/P01S07T0101A.TST"}, 1, 8},
      {1, 100, 1, {"-1/P01S99T0101A.TST", "-2/P02S03T0101A.TST"}, 2, 4},
  };
  for (const Case& c : cases) {
    for (const char* folder : {"T240315_CFC7", "T240315_CFC7-1", "T240315_CFC7-2"}) {
      std::filesystem::remove_all(card_ / folder);
    }
    for (const char* f : c.next_folders_files) write_card_file(std::string("T240315_CFC7") + f, 1);
    erg_directory_index = 0;
    ASSERT_TRUE(set_ERG_directory(false));
    protocol_number = c.P;
    session_number = c.S;
    EXPECT_EQ(next_ERG_directory_if_counters_pass(c.T), c.index != 0) << c.S << " " << c.T;
    EXPECT_EQ(erg_directory_index.load(), c.index) << c.S << " " << c.T;
    EXPECT_EQ(session_number.load(), c.S_after) << c.S << " " << c.T;
    EXPECT_LE(protocol_number.load(), kMaxNameCounter);
  }
}

TEST_F(TestFolders, MatchesAndLastFile) {
  ASSERT_TRUE(set_ERG_directory(false));
  for (const char* f : {"P01S01T0101A.TST", "P01S01T0101A-00.spl", "P01S01T0101A-01.spl", "P01S02T0101A.tst"}) {
    write_card_file(std::string("T240315_CFC7/") + f, 1);
  }
  EXPECT_EQ(count_matches(current_test_folder() + L"\\P01S01", L"spl"), 2);
  EXPECT_EQ(count_matches(current_test_folder() + L"\\P01", L"TST"), 2);
  int count = -1;
  EXPECT_EQ(find_last_file(current_test_folder() + L"\\P??S??T??*.TST", count), L"P01S02T0101A.tst");
  EXPECT_EQ(count, 2);
  EXPECT_EQ(find_last_file(current_test_folder() + L"\\X*", count), L"");
  EXPECT_EQ(count, 0);
}

}  // namespace
