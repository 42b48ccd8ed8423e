// Program files: exactly one record, read back as written.
#include <gtest/gtest.h>

#include <cstring>

#include "card_fixture.h"
#include "engine_message_capture.h"
#include "program_files.h"

namespace {

using ProgramFiles = CardFixture;

TEST_F(ProgramFiles, RoundTripAndSizeChecks) {
  engine_message_capture capture;
  programRecord program{};
  program.StepCount = 3;
  program.Steps[2].Value = 0x12345678;
  std::strcpy(program.Texts[0], "PHOTOPIC");
  ASSERT_TRUE(write_program_file(L"Storage Card\\TESTS\\X.tes", program) == false) << "no folder";
  EXPECT_EQ(capture.messages().back().second, "*** UNABLE TO CREATE PROGRAM FILE ***");
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

TEST_F(ProgramFiles, FailedWriteLeavesNoPartFile) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a device that is always full";
#else
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  engine_message_capture capture;
  std::filesystem::create_symlink("/dev/full", card_ / "X.tes");
  programRecord program{};
  EXPECT_FALSE(write_program_file(L"Storage Card\\X.tes", program));
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(card_ / "X.tes")));
  ASSERT_EQ(capture.messages().size(), 1u);
  EXPECT_EQ(capture.messages()[0].second, "*** UNABLE TO STORE PROGRAM FILE ***");
#endif
}

}  // namespace
