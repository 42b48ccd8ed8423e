#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "desktop/data/tests/file_stamp.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/record_fields.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/test_file_reading.h"

namespace {

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

}  // namespace
