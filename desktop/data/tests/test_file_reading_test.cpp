#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "block_text_file.h"
#include "file_dialog_ui.h"
#include "message_capture.h"
#include "record_fields.h"
#include "record_fixture.h"
#include "temp_folder.h"
#include "test_file_reading.h"
#include "whole_file.h"

namespace {

// Sets a file's last-write time (UTC) and returns it as local time, as the
// reader hands it over.
fileTime stamp(const std::string& path, uint32_t low, uint32_t high) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME utc{low, high};
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &utc));
  CloseHandle(h);
  FILETIME local{};
  FileTimeToLocalFileTime(&utc, &local);
  return fileTime{local.dwLowDateTime, local.dwHighDateTime};
}

std::vector<uint8_t> sized(std::vector<uint8_t> bytes, size_t size) {
  bytes.resize(size, 0x5a);
  return bytes;
}

TEST(TestFiles, ATestFileIsReadAfterItsFlagByteWithItsTime) {
  temp_folder folder;
  auto record = make_record();
  record->TestId[0] = u'7';
  record->ProgramVersion = 3010;
  record->TestTime = fileTime{1, 2};
  fill_block(record->Average, {5, 6, 7}, 1.0, 3, 0);
  std::string path = folder.file("P01S01T0101A.tst");
  std::vector<uint8_t> bytes = test_file_bytes(*record);
  write_bytes(path, bytes);
  fileTime local = stamp(path, 0x12345678, 0x01d00000);

  message_capture capture;
  fileTime file_time{0, 0};
  std::unique_ptr<testFileRecord> read(read_test_file(path.c_str(), test_source_pc, &file_time));
  ASSERT_TRUE(read);
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_EQ(std::memcmp(read.get(), bytes.data() + 1, sizeof(testFileRecord)), 0);
  EXPECT_EQ(file_time.LowDateTime, local.LowDateTime);
  EXPECT_EQ(file_time.HighDateTime, local.HighDateTime);
  // Below version 3024 the test's time is the file's; from 3024 on the record's.
  EXPECT_EQ(record_test_time(*read, file_time).LowDateTime, local.LowDateTime);
  read->ProgramVersion = 3024;
  EXPECT_EQ(record_test_time(*read, file_time).LowDateTime, 1u);
}

TEST(TestFiles, FilesOfTheWrongSizeAreRefusedAfterTheirTimeIsGiven) {
  temp_folder folder;
  auto record = make_record();
  const std::vector<uint8_t> test = test_file_bytes(*record);
  const std::vector<uint8_t> block = samples_file_bytes(record->LastSweep);
  struct row {
    const char* name;
    std::vector<uint8_t> bytes;
    bool samples;
  } rows[] = {
      {"short.tst", sized(test, 96680), false},  {"long.tst", sized(test, 96682), false},
      {"empty.tst", {}, false},                  {"long.spl", sized(block, 48049), true},
      {"short.spl", sized(block, 48047), true},  {"test_as_samples.spl", test, true},
  };
  for (const row& r : rows) {
    std::string path = folder.file(r.name);
    write_bytes(path, r.bytes);
    fileTime local = stamp(path, 0x10000000, 0x01d10000);
    message_capture capture;
    fileTime file_time{0, 0};
    if (r.samples) {
      EXPECT_EQ(read_samples_file(path.c_str(), test_source_pc, &file_time), nullptr) << r.name;
    } else {
      EXPECT_EQ(read_test_file(path.c_str(), test_source_pc, &file_time), nullptr) << r.name;
    }
    std::string expected = "*** File [" + path + "] is the wrong size for a " + (r.samples ? "samples" : "test") +
                           " file ***";
    EXPECT_EQ(capture.texts(), (std::vector<std::string>{expected})) << r.name;
    EXPECT_EQ(capture.captions(), (std::vector<std::string>{"*** ERROR ***"}));
    EXPECT_EQ(file_time.LowDateTime, local.LowDateTime) << r.name;
  }
}

TEST(TestFiles, ASampleFileIsReturnedByteForByte) {
  temp_folder folder;
  auto record = make_record();
  fill_block(record->LastSweep, {-1, 2, -3, 4}, 1.0, 4, 1);
  std::string path = folder.file("P01S01T0101A-00.spl");
  std::vector<uint8_t> bytes = samples_file_bytes(record->LastSweep);
  write_bytes(path, bytes);
  message_capture capture;
  std::unique_ptr<samplesBlock> block(read_samples_file(path.c_str(), test_source_pc, nullptr));
  ASSERT_TRUE(block);
  EXPECT_EQ(std::memcmp(block.get(), bytes.data(), bytes.size()), 0);
  EXPECT_TRUE(capture.texts().empty());
}

TEST(TestFiles, MissingFilesAndFoldersAreReportedTwice) {
  temp_folder folder;
  std::string missing = folder.file("missing.tst");
  std::string a_folder = folder.path().string();
  message_capture capture;
  EXPECT_EQ(read_test_file(missing.c_str(), test_source_pc, nullptr), nullptr);
  EXPECT_EQ(read_samples_file(a_folder.c_str(), test_source_pc, nullptr), nullptr);
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{
                                 "*** CANNOT FIND FILE [" + missing + "] *** (fileInfoClass::get)",
                                 "*** CAN NOT OPEN FILE [" + missing + "] ***\nfrom PC.",
                                 "*** UNABLE TO OPEN FILE [" + a_folder + "] ***",
                                 "*** CAN NOT OPEN FILE [" + a_folder + "] ***\nfrom PC.",
                             }));
}

TEST(TestFiles, WithoutTheDeviceLinkTheUnitGivesNothingAtOnce) {
  temp_folder folder;
  auto record = make_record();
  std::string path = folder.file("P01S01T0101A.tst");
  write_bytes(path, test_file_bytes(*record));
  message_capture capture;
  fileTime file_time{9, 9};
  EXPECT_EQ(read_test_file(path.c_str(), test_source_unit, &file_time), nullptr);
  EXPECT_EQ(read_samples_file(path.c_str(), test_source_unit, &file_time), nullptr);
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_EQ(file_time.LowDateTime, 9u);
}

// The Save dialog answered by the test.
struct save_script {
  std::string answer;  // empty: cancelled
  std::string preset, initial, title, extension;
};
save_script script;

BOOL scripted_save(OPENFILENAMEA* record) {
  script.preset = record->lpstrFile;
  script.initial = record->lpstrInitialDir ? record->lpstrInitialDir : "";
  script.title = record->lpstrTitle ? record->lpstrTitle : "";
  script.extension = record->lpstrDefExt ? record->lpstrDefExt : "";
  if (script.answer.empty()) return FALSE;
  std::strcpy(record->lpstrFile, script.answer.c_str());
  return TRUE;
}
BOOL never_open(OPENFILENAMEA*) { return FALSE; }
DWORD no_error() { return 0; }

class SaveDataAsText : public ::testing::Test {
 protected:
  void SetUp() override {
    script = save_script{};
    previous_ = file_dialog_ui_install(file_dialog_calls{never_open, scripted_save, no_error});
    record_ = make_record();
    record_->Config.Scale = 0.5;
    record_->Config.Offset = 10.0;
    fill_block(record_->Average, {100, -8, 0, 2}, 4.0, 8, 2);
  }
  void TearDown() override { file_dialog_ui_install(previous_); }

  file_dialog_calls previous_{};
  std::unique_ptr<testFileRecord> record_;
  temp_folder folder_;
};

TEST_F(SaveDataAsText, WritesTimeWithoutThePretriggerShiftAndMicrovolts) {
  script.answer = folder_.file("XY_test.txt");
  std::string folder = folder_.file("P01S01T0101A.tst");
  message_capture capture;
  const char* chosen = save_data_as_text(nullptr, *record_, record_->Average, "test", folder.c_str());
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(std::string(chosen), script.answer);
  EXPECT_EQ(script.title, "Save text data");
  EXPECT_EQ(script.extension, ".txt");
  EXPECT_EQ(script.preset, "XY_test");
  EXPECT_EQ(script.initial, folder_.file("XY_test.txt"));
  std::ifstream in(script.answer, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "  0.0 \t    22.50\n  2.0 \t     9.00\n  4.0 \t    10.00\n  6.0 \t    10.25\n");
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(SaveDataAsText, ACancelWritesNothingAndGivesTheFolderBack) {
  std::string folder = folder_.path().string() + "\\";
  message_capture capture;
  EXPECT_EQ(save_data_as_text(nullptr, *record_, record_->Average, "test", folder.c_str()), folder.c_str());
  EXPECT_TRUE(capture.texts().empty());
  EXPECT_FALSE(std::ifstream(folder_.file("XY_test.txt")).good());
}

TEST_F(SaveDataAsText, AFileThatCannotBeCreatedIsReported) {
  script.answer = folder_.file("no such folder\\XY_test.txt");
  std::string folder = folder_.path().string() + "\\";
  message_capture capture;
  // The folder it was given comes back, as after a cancel.
  EXPECT_EQ(save_data_as_text(nullptr, *record_, record_->Average, "test", folder.c_str()), folder.c_str());
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_EQ(capture.texts()[0].rfind("*** UNABLE TO CREATE FILE [" + script.answer + "] ***", 0), 0u);
}

// A full disk keeps the file saved before, byte for byte, and names it.
TEST_F(SaveDataAsText, AFailedWriteKeepsTheOldFile) {
  script.answer = folder_.file("XY_test.txt");
  folder_.write("XY_test.txt", "kept");
  std::string folder = folder_.path().string() + "\\";
  message_capture capture;
  set_whole_file_fault(wholeFileFault::flush);
  EXPECT_EQ(save_data_as_text(nullptr, *record_, record_->Average, "test", folder.c_str()), folder.c_str());
  set_whole_file_fault(wholeFileFault::none);
  std::ifstream in(script.answer, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "kept");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** WRITE TO [" + script.answer +
                                                      "] FAILED ***\ncould not be flushed to the disk (is the disk full?)"});
}

}  // namespace
