// Test, sample and dataset files: names, writing, reading with its checks,
// deleting exactly one test's files, storing and loading.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"
#include "platform/files/whole_file.h"

namespace {

class TestFiles : public CardFixture {
 protected:
  void SetUp() override {
    CardFixture::SetUp();
    ASSERT_TRUE(set_ERG_directory(false));
    record_ = std::make_unique<testFileRecord>();
    fill_test_record(*record_, 1, 2, 3, 4, "AB12      ");
  }
  std::filesystem::path in_folder(const std::wstring& name) const { return card_ / "T240315_CFC7" / name; }
  std::string file_text(const std::filesystem::path& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::unique_ptr<testFileRecord> record_;
};

TEST_F(TestFiles, Names) {
  struct Case {
    const char* id;
    int channel;
    int slave;
    const wchar_t* full;
  } cases[] = {
      {"AB12      ", 1, 1, L"P01S02T0304B-AB12-SLAVE"},
      {"          ", 0, 0, L"P01S02T0304A"},
      {"", 0, 0, L"P01S02T0304A"},
      {"0000000000", 0, 0, L"P01S02T0304A-0000000000"},
      {"12345678901234", 0, 0, L"P01S02T0304A-12345678901"},
      {"A?B\\..\\C:D", 1, 0, L"P01S02T0304B-A_B_.._C_D"},
  };
  for (const Case& c : cases) {
    fill_test_record(*record_, 1, 2, 3, 4, c.id);
    is_slave = c.slave;
    EXPECT_EQ(make_full_test_name(*record_, c.channel), c.full) << c.id;
    EXPECT_EQ(is_channel_b_name(make_full_test_name(*record_, c.channel)), c.channel == 1);
  }
  EXPECT_EQ(record_->TestId[1], u'?') << "the record keeps its id";
  EXPECT_EQ(make_test_name(*record_, 0), L"P01S02T0304A");
}

TEST_F(TestFiles, TestFileRoundTripWithFlagByte) {
  test_flag_byte = 1;
  ASSERT_TRUE(write_tst_file(*record_, L".tst", 0));
  EXPECT_TRUE(test_stored.load());
  const std::filesystem::path path = in_folder(L"P01S02T0304A-AB12.tst");
  ASSERT_EQ(std::filesystem::file_size(path), 96681u);
  EXPECT_EQ(file_text(path)[0], 1);
  auto read = std::make_unique<testFileRecord>();
  ASSERT_TRUE(read_tst_file(*read, L"P01S02T0304A-AB12.tst"));
  EXPECT_EQ(std::memcmp(read.get(), record_.get(), sizeof(testFileRecord)), 0);
  EXPECT_EQ(last_read_flag_byte(), 1);
  EXPECT_FALSE(std::filesystem::exists(in_folder(L"P01S02T0304A-AB12.s"))) << "dataset off";
}

TEST_F(TestFiles, ReadChecksSizeAndFields) {
  engine_message_capture capture;
  struct Case {
    const char* name;
    size_t size;
    bool ok;
  } cases[] = {
      {"P01S02T0304A.TST", kTestFileBytes - 1, false},
      {"P01S02T0304B.TST", kTestFileBytes + 1, true},
      {"P01S02T0305A.abc", kTestFileBytes, true},
  };
  for (const Case& c : cases) {
    // Write a valid record, then cut or extend it.
    std::vector<uint8_t> bytes(kTestFileBytes + 1, 0);
    test_record_to_bytes(*record_, bytes.data() + 1, sizeof(testFileRecord));
    bytes.resize(c.size);
    std::ofstream(card_ / "T240315_CFC7" / c.name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  auto read = std::make_unique<testFileRecord>();
  read->P = 77;
  EXPECT_FALSE(read_tst_file(*read, L"P01S02T0304A")) << "\".TST\" appended, one byte short";
  EXPECT_EQ(read->P, 77) << "unchanged";
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].second,
            "*** FILE \nStorage Card\\T240315_CFC7\nP01S02T0304A\nis not a valid test file ***\n(size = 96679\nnot 96680).");
  EXPECT_TRUE(read_tst_file(*read, L"P01S02T0304B"));
  EXPECT_TRUE(read_tst_file(*read, L"P01S02T0305A.abc")) << "three-letter extension kept";
  EXPECT_FALSE(read_tst_file(*read, L"missing.tst"));
  EXPECT_EQ(capture.messages().back().second, "*** UNABLE TO OPEN \n[Storage Card\\T240315_CFC7\\missing.tst] ***");

  record_->Average.PointCount = 12001;
  ASSERT_TRUE(write_tst_file(*record_, L".tst", 0));
  EXPECT_FALSE(read_tst_file(*read, L"P01S02T0304A-AB12.tst")) << "point count out of range";
}

TEST_F(TestFiles, SampleFiles) {
  ASSERT_TRUE(write_sample_file(*record_, 1, record_->Average, 7));
  const std::filesystem::path path = in_folder(L"P01S02T0304B-AB12-07.spl");
  ASSERT_EQ(std::filesystem::file_size(path), 48048u);
  samplesBlock block;
  const std::string bytes = file_text(path);
  ASSERT_TRUE(samples_block_from_bytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), block));
  EXPECT_EQ(block.Data[3], 400);
}

TEST_F(TestFiles, FolderGoneIsMadeAgainForTheWrite) {
  std::filesystem::remove_all(card_ / "T240315_CFC7");
  ASSERT_TRUE(write_tst_file(*record_, L".tst", 0));
  EXPECT_TRUE(std::filesystem::exists(in_folder(L"P01S02T0304A-AB12.tst")));
}

TEST_F(TestFiles, FailedWritesLeaveNoPartFiles) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a device that is always full";
#else
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  engine_message_capture capture;
  const std::filesystem::path record = in_folder(L"P01S02T0304A-AB12.tst");
  const std::filesystem::path sample = in_folder(L"P01S02T0304A-AB12-03.spl");
  // The record goes first to its temporary file, which here cannot take it.
  for (const auto& file : {whole_file_temporary(record), sample}) std::filesystem::create_symlink("/dev/full", file);
  EXPECT_FALSE(write_tst_file(*record_, L".tst", 0));
  EXPECT_FALSE(write_sample_file(*record_, 0, record_->Average, 3));
  EXPECT_FALSE(test_stored.load());
  for (const auto& file : {record, whole_file_temporary(record), sample}) {
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(file))) << file;
  }
  ASSERT_EQ(capture.messages().size(), 2u);
  EXPECT_EQ(capture.messages()[0].second, "*** UNABLE TO STORE ***\n*** TEST DATA ***");
  EXPECT_EQ(capture.messages()[1].second, "*** UNABLE TO WRITE ***\n*** SAMPLE 3 ***");
#endif
}

// The dataset text on a full card: said with its name, and no part of it
// (not even an empty file) stays.
TEST_F(TestFiles, ADatasetTextThatCannotBeStoredIsSaidAndLeavesNothing) {
  engine_message_capture capture;
  store_system_parameter(PARAM_DATASET, 1);
  for (wholeFileFault fault : {wholeFileFault::open, wholeFileFault::flush, wholeFileFault::close}) {
    const size_t shown = capture.messages().size();
    set_whole_file_fault(fault);
    EXPECT_FALSE(write_dataset_text(*record_, L"P01S02T0304A-AB12"));
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_FALSE(std::filesystem::exists(in_folder(L"P01S02T0304A-AB12.s")));
    EXPECT_FALSE(std::filesystem::exists(in_folder(L"P01S02T0304A-AB12.s.new")));
    ASSERT_EQ(capture.messages().size(), shown + 1);
    EXPECT_EQ(capture.messages().back().second,
              "*** UNABLE TO STORE ***\nStorage Card\\T240315_CFC7\\P01S02T0304A-AB12.s");
  }
}

// A program whose card could not be set up at start has no test folder: a
// test is then stored in a folder made for it, never at the root of the
// drive. Run in a fresh process, where no folder has been set up yet.
using TestFilesBeforeAnyFolder = CardFixture;

TEST_F(TestFilesBeforeAnyFolder, AreWrittenIntoAFolderMadeForThem) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto record = std::make_unique<testFileRecord>();
  fill_test_record(*record, 1, 2, 3, 4, "NOFOLDER");
  store_system_parameter(PARAM_DATASET, 1);
  EXPECT_EXIT(
      {
        const bool fresh = current_test_folder().empty();
        const bool written = write_tst_file(*record, L".tst", 0);
        const std::filesystem::path folder = card_ / "T240315_CFC7";
        const bool in_folder = std::filesystem::exists(folder / "P01S02T0304A-NOFOLDER.tst") &&
                               std::filesystem::exists(folder / "P01S02T0304A-NOFOLDER.s");
        std::exit(!fresh ? 2 : written && in_folder ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  for (const char* stray : {"/P01S02T0304A-NOFOLDER.tst", "/P01S02T0304A-NOFOLDER.s"}) {
    std::error_code error;
    EXPECT_FALSE(std::filesystem::remove(stray, error)) << stray;
  }
}

TEST_F(TestFiles, DatasetText) {
  store_system_parameter(PARAM_DATASET, 1);
  record_->Config.PreTime = 20;
  record_->Config.PostTime = 180;
  record_->Eye = u'D';
  record_->ProgramVersion = 3744;
  record_->FilterValue = 1.0f;
  std::memcpy(record_->UnitId, u"1234567", sizeof record_->UnitId);
  std::memcpy(record_->CfcId, u"ABCDEFGHIJKL", sizeof record_->CfcId);  // no terminator inside
  record_->TestTime = fileTime{3038383360u, 31094465u};                 // 15 March 2024 10:15:30
  ASSERT_TRUE(write_tst_file(*record_, L".tst", 0));
  EXPECT_EQ(file_text(in_folder(L"P01S02T0304A-AB12.s")),
            "(erg (testtime \"3/15/2024 10:15:30\") (testid \"AB12      \") (unit \"1234567\") (cfc ABCDEFGHIJK) "
            "(vanduversion 3744) (filter 1) (side OD) \n"
            "(dataset \"Storage_Card$T240315_CFC7$P01S02T0304A-AB12\" (count 4)\n"
            "(x (name time) (units mS)\n0 50 100 150 )\n"
            "(y (name voltage) (units mV)\n26 51 76 101 )\n))");
  EXPECT_EQ(record_->UnitId[6], u'7') << "the record keeps its ids";
  EXPECT_EQ(record_->CfcId[10], u'K');
  auto read = std::make_unique<testFileRecord>();
  ASSERT_TRUE(read_tst_file(*read, L"P01S02T0304A-AB12.tst"));
  EXPECT_EQ(read->UnitId[6], u'7');

  std::memset(record_->UnitId, 0, sizeof record_->UnitId);
  std::memset(record_->CfcId, 0, sizeof record_->CfcId);
  record_->Average.PointCount = 3000;
  record_->Eye = u'N';
  const std::string text = dataset_text(*record_, L"X");
  EXPECT_NE(text.find("(unit \"-unavailable-\") (cfc -unavailable-) "), std::string::npos);
  EXPECT_NE(text.find("(side N/A) "), std::string::npos);
  EXPECT_NE(text.find("(units mS)\n0 0.0666667 0.133333 "), std::string::npos);
}

TEST_F(TestFiles, DeleteRemovesExactlyTheTestsFiles) {
  store_system_parameter(PARAM_DATASET, 1);
  fill_test_record(*record_, 1, 2, 3, 4, "AB1");
  ASSERT_TRUE(write_tst_file(*record_, L".tst", 0));
  ASSERT_TRUE(write_sample_file(*record_, 0, record_->Average, 0));
  ASSERT_TRUE(write_sample_file(*record_, 0, record_->Average, 12));
  // Another test whose name starts with this one's, and the other channel.
  auto other = std::make_unique<testFileRecord>();
  fill_test_record(*other, 1, 2, 3, 4, "AB12");
  ASSERT_TRUE(write_tst_file(*other, L".tst", 0));
  ASSERT_TRUE(write_sample_file(*other, 0, other->Average, 0));
  ASSERT_TRUE(write_tst_file(*record_, L".tst", 1));

  EXPECT_TRUE(delete_test_files(*record_, L".tst", 0));
  std::vector<std::wstring> left;
  for (const auto& e : std::filesystem::directory_iterator(card_ / "T240315_CFC7")) left.push_back(e.path().filename().wstring());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::wstring>{L"P01S02T0304A-AB12-00.spl", L"P01S02T0304A-AB12.s",
                                             L"P01S02T0304A-AB12.tst", L"P01S02T0304B-AB1.s",
                                             L"P01S02T0304B-AB1.tst"}));
  EXPECT_FALSE(delete_test_files(*record_, L".tst", 0)) << "nothing left to delete";
}

TEST_F(TestFiles, DeleteFileAppendsTheTestExtension) {
  write_card_file("T240315_CFC7/P01S02T0304A.TST", 1);
  write_card_file("T240315_CFC7/P01S02T0304A.spl", 1);
  EXPECT_TRUE(delete_file(L"Storage Card\\T240315_CFC7\\P01S02T0304A"));
  EXPECT_TRUE(delete_file(L"Storage Card\\T240315_CFC7\\P01S02T0304A.spl"));
  EXPECT_FALSE(delete_file(L"Storage Card\\T240315_CFC7\\P01S02T0304A"));
  EXPECT_NE(card_log_text().find("### DELETE [Storage Card\\\\T240315_CFC7\\\\P01S02T0304A.TST]"), std::string::npos);
}

TEST_F(TestFiles, StoreTestFillsTheRunFieldsAndRefusesAnEmptyAverage) {
  engine_message_capture capture;
  auto records = std::make_unique<testFileRecord[]>(2);
  fill_test_record(records[0], 1, 2, 3, 4, "0000000000");
  fill_test_record(records[1], 1, 2, 3, 4, "0000000000");
  records[1].Average.Divisor = 0.0;
  channels.eye_a = kEyeOS;
  const float filter = 0.5f;
  std::memcpy(&records[0].Config.Filter, &filter, sizeof filter);
  const fileTime when{3038383360u, 31094465u};
  ASSERT_TRUE(store_test(records.get(), 0, when, L"PHOTOPIC"));
  EXPECT_EQ(records[0].Eye, u'S');
  EXPECT_EQ(records[0].ProgramVersion, 3744);
  EXPECT_EQ(records[0].FilterValue, 0.5f);
  EXPECT_EQ(records[0].TestTime.HighDateTime, 31094465u);
  EXPECT_EQ(records[0].ProtocolName[0], u'P');
  EXPECT_TRUE(std::filesystem::exists(in_folder(L"P01S02T0304A-0000000000.tst")));

  EXPECT_FALSE(store_test(records.get(), 1, when, L"PHOTOPIC"));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].second, "*** NO SAMPLE DATA ACQUIRED ***");
  EXPECT_FALSE(std::filesystem::exists(in_folder(L"P01S02T0304B-0000000000.tst")));
}

// A power cut between the files must never leave a record whose sample
// files are missing: the sample files go first, the record last.
TEST_F(TestFiles, StoreTestWritesTheSampleFilesBeforeTheRecord) {
  auto records = std::make_unique<testFileRecord[]>(1);
  fill_test_record(records[0], 1, 2, 3, 4, "0000000000");
  auto samples = std::make_unique<samplesBlock[]>(3);
  const fileTime when{3038383360u, 31094465u};
  ASSERT_TRUE(store_test(records.get(), 0, when, L"PHOTOPIC", samples.get(), 3));
  const std::string log = card_log_text();
  const size_t record = log.find("STORE TEST");
  ASSERT_NE(record, std::string::npos) << log;
  for (const char* name : {"-0000000000-00.spl", "-0000000000-01.spl", "-0000000000-02.spl"}) {
    const size_t sample = log.find(name);
    ASSERT_NE(sample, std::string::npos) << name;
    EXPECT_LT(sample, record) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(in_folder(L"P01S02T0304A-0000000000-03.spl")));
}

// A full card or a power cut while the record is written leaves the
// sample files and no record, not even a part of one under its name; a
// full card is said once, and what a cut left beside the name goes when
// the test is next stored or read.
TEST_F(TestFiles, AStoreCutDuringTheRecordLeavesNoRecord) {
  engine_message_capture capture;
  auto records = std::make_unique<testFileRecord[]>(1);
  fill_test_record(records[0], 1, 2, 3, 4, "0000000000");
  auto samples = std::make_unique<samplesBlock[]>(2);
  const fileTime when{3038383360u, 31094465u};
  const std::filesystem::path record = in_folder(L"P01S02T0304A-0000000000.tst");
  for (wholeFileFault fault : {wholeFileFault::flush, wholeFileFault::close, wholeFileFault::killed}) {
    const size_t shown = capture.messages().size();
    set_whole_file_fault(fault);
    EXPECT_FALSE(store_test(records.get(), 0, when, L"PHOTOPIC", samples.get(), 2));
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_FALSE(std::filesystem::exists(record)) << static_cast<int>(fault);
    EXPECT_FALSE(test_stored.load());
    EXPECT_TRUE(std::filesystem::exists(in_folder(L"P01S02T0304A-0000000000-01.spl")));
    if (fault == wholeFileFault::killed) continue;
    EXPECT_FALSE(std::filesystem::exists(whole_file_temporary(record)));
    ASSERT_EQ(capture.messages().size(), shown + 1);
    EXPECT_EQ(capture.messages().back().second, "*** UNABLE TO STORE ***\n*** TEST DATA ***");
  }
  ASSERT_TRUE(std::filesystem::exists(whole_file_temporary(record)));
  ASSERT_TRUE(store_test(records.get(), 0, when, L"PHOTOPIC", samples.get(), 2));
  EXPECT_EQ(std::filesystem::file_size(record), kTestFileBytes);
  EXPECT_FALSE(std::filesystem::exists(whole_file_temporary(record)));
  write_card_file("T240315_CFC7/P01S02T0304A-0000000000.tst.new", 10);
  auto read = std::make_unique<testFileRecord>();
  EXPECT_TRUE(read_tst_file(*read, L"P01S02T0304A-0000000000.tst"));
  EXPECT_FALSE(std::filesystem::exists(whole_file_temporary(record)));
}

TEST_F(TestFiles, LoadProtocolTestTakesTheLastOfItsProtocol) {
  for (int S : {1, 3}) {
    fill_test_record(*record_, 2, S, 1, 1, "");
    ASSERT_TRUE(write_tst_file(*record_, L".tst", 0));
  }
  fill_test_record(*record_, 4, 9, 1, 1, "");
  ASSERT_TRUE(write_tst_file(*record_, L".tst", 0));
  auto read = std::make_unique<testFileRecord>();
  ASSERT_TRUE(load_protocol_test(2, *read));
  EXPECT_EQ(read->S, 3);
  EXPECT_FALSE(load_protocol_test(3, *read));
}

}  // namespace
