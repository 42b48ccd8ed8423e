#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/data/test_document.h"
#include "desktop/data/test_file_reading.h"

namespace {

// File times as calendar times, without the zone: the platform's own
// conversion under Wine, the portable one natively, the same table.
TEST(ReadableTime, FileTimesReadAsDatesAndJunkIsClamped) {
  struct row {
    uint32_t high, low;
    SYSTEMTIME expected;
  } rows[] = {
      {0x00000000, 0x00000000, {1601, 1, 1, 1, 0, 0, 0, 0}},
      {0x01d10000, 0x10000000, {2015, 10, 2, 6, 6, 27, 23, 889}},
      // The last time a calendar time holds (2^63 - 1).
      {0x7FFFFFFF, 0xFFFFFFFF, {30828, 9, 4, 14, 2, 48, 5, 477}},
      // From 2^63 on: clamped to 0x7FFFFFFF00000000.
      {0x80000000, 0x00000000, {30828, 9, 4, 14, 2, 40, 55, 980}},
      {0xFFFFFFFF, 0xFFFFFFFF, {30828, 9, 4, 14, 2, 40, 55, 980}},
  };
  for (const row& r : rows) {
    SYSTEMTIME t = readable_local_time(FILETIME{r.low, r.high}, false);
    const SYSTEMTIME& e = r.expected;
    EXPECT_EQ(std::vector<int>({t.wYear, t.wMonth, t.wDayOfWeek, t.wDay, t.wHour, t.wMinute, t.wSecond,
                                t.wMilliseconds}),
              std::vector<int>({e.wYear, e.wMonth, e.wDayOfWeek, e.wDay, e.wHour, e.wMinute, e.wSecond,
                                e.wMilliseconds}))
        << std::hex << r.high << ":" << r.low;
  }
}

// A document loads headless: its record, its time from the record, and the
// sample files it finds beside it (here one of the two the average was made
// of: an incomplete test).
TEST(Document, LoadsHeadlessAndCountsItsSampleFiles) {
  temp_folder folder;
  auto record = make_record();
  record->ProgramVersion = 3024;
  record->TestTime = fileTime{0x10000000, 0x01d10000};
  fill_block(record->Average, {5, 6, 7, 8}, 3.0, 8, 0);
  fill_block(record->LastSweep, {1, 2, 3, 4}, 1.0, 8, 0);
  std::string path = folder.file("P01S01T0101A.tst");
  write_bytes(path, test_file_bytes(*record));
  write_bytes(folder.file("P01S01T0101A-00.spl"), samples_file_bytes(record->LastSweep));
  folder.write("P01S01T0101A-01.spl.old", "not a sample file");

  message_capture capture;
  testDocument document;
  document.set_print_only();
  ASSERT_TRUE(document.load(path.c_str(), test_source_pc, 1.0));
  EXPECT_TRUE(document.loaded());
  EXPECT_TRUE(document.incomplete());
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** TEST [" + path +
                                                      "] IS INCOMPLETE ***\n1 of 2 sample files: the stored average "
                                                      "is shown."});
  EXPECT_EQ(document.file_time().dwHighDateTime, 0x01d10000u);
  EXPECT_EQ(std::string(document.info().lines[2]), "[P01S01T0101A]   6Oct 2015 06:27:23");
}

}  // namespace
