// Program files: exactly one record, read back as written.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <fstream>
#include <iterator>
#include <string>

#include "handheld/engine/tests/card_fixture.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/storage/program_files.h"
#include "platform/files/whole_file.h"

namespace {

using ProgramFiles = CardFixture;

TEST_F(ProgramFiles, RoundTripAndSizeChecks) {
  engine_message_capture capture;
  programRecord program{};
  program.StepCount = 3;
  program.Steps[2].Value = 0x12345678;
  std::strcpy(program.Texts[0], "PHOTOPIC");
  ASSERT_TRUE(write_program_file(L"Storage Card\\TESTS\\X.tes", program) == false) << "no folder";
  EXPECT_EQ(capture.messages().back().second, "*** UNABLE TO CREATE PROGRAM FILE ***\nStorage Card\\TESTS\\X.tes");
  ASSERT_TRUE(write_program_file(L"Storage Card\\X.tes", program));
  EXPECT_EQ(std::filesystem::file_size(card_ / "X.tes"), 1292u);
  programRecord read{};
  ASSERT_TRUE(read_program_file(L"Storage Card\\X.tes", read));
  EXPECT_EQ(std::memcmp(&read, &program, sizeof program), 0);

  for (size_t size : {1291u, 1293u, 0u}) {
    write_card_file("Y.ses", size);
    read.StepCount = 9;
    EXPECT_FALSE(read_program_file(L"Storage Card\\Y.ses", read)) << size;
    EXPECT_EQ(read.StepCount, 9) << "unchanged";
    EXPECT_EQ(capture.messages().back().second, "*** PROGRAM FILE IS THE WRONG SIZE ***");
  }
  const size_t shown = capture.messages().size();
  EXPECT_FALSE(read_program_file(L"Storage Card\\missing.tes", read));
  EXPECT_EQ(capture.messages().size(), shown) << "a missing file is only a false";
}

// A full card or a program killed while replacing a user's program leaves
// the old file byte for byte, and a failure names the file.
TEST_F(ProgramFiles, AFailedOrKilledWriteKeepsTheOldFile) {
  engine_message_capture capture;
  programRecord program{};
  program.StepCount = 2;
  ASSERT_TRUE(write_program_file(L"Storage Card\\X.tes", program));
  const std::filesystem::path path = card_ / "X.tes";
  const auto bytes_of = [&path]() {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string old_bytes = bytes_of();
  program.StepCount = 7;
  for (wholeFileFault fault : {wholeFileFault::flush, wholeFileFault::close, wholeFileFault::killed}) {
    const size_t shown = capture.messages().size();
    set_whole_file_fault(fault);
    EXPECT_FALSE(write_program_file(L"Storage Card\\X.tes", program));
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_EQ(bytes_of(), old_bytes);
    if (fault == wholeFileFault::killed) continue;
    EXPECT_FALSE(std::filesystem::exists(whole_file_temporary(path)));
    ASSERT_EQ(capture.messages().size(), shown + 1);
    EXPECT_EQ(capture.messages().back().second, "*** UNABLE TO STORE PROGRAM FILE ***\nStorage Card\\X.tes");
  }
  // What the killed writer left goes when the program is next read.
  ASSERT_TRUE(std::filesystem::exists(whole_file_temporary(path)));
  programRecord read{};
  ASSERT_TRUE(read_program_file(L"Storage Card\\X.tes", read));
  EXPECT_EQ(read.StepCount, 2);
  EXPECT_FALSE(std::filesystem::exists(whole_file_temporary(path)));
}

}  // namespace
