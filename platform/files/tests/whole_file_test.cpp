#include "platform/files/whole_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class WholeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("whole_file_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    target_ = folder_ / "state.sta";
  }
  void TearDown() override {
    set_whole_file_fault(wholeFileFault::none);
    std::error_code error;
    fs::remove_all(folder_, error);
  }
  static void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string bytes_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  fs::path folder_;
  fs::path target_;
};

TEST_F(WholeFileTest, ReplacesTheFileAndLeavesNoTemporary) {
  put(target_, "old contents, longer than the new");
  const std::string fresh = "new";
  ASSERT_TRUE(write_bytes_whole(target_, fresh.data(), fresh.size()));
  EXPECT_EQ(bytes_of(target_), fresh);
  EXPECT_FALSE(fs::exists(whole_file_temporary(target_)));
  // A file that was not there is made.
  const fs::path other = folder_ / "other.txt";
  ASSERT_TRUE(write_bytes_whole(other, fresh.data(), fresh.size()));
  EXPECT_EQ(bytes_of(other), fresh);
}

// Every failing step, a full disk's or a locked file's, keeps the old file
// byte for byte, leaves no part of the new one and says which step failed.
TEST_F(WholeFileTest, AFailedStepKeepsTheOldFileWhole) {
  const struct {
    wholeFileFault fault;
    wholeFileStep step;
  } cases[] = {
      {wholeFileFault::open, wholeFileStep::open},
      {wholeFileFault::flush, wholeFileStep::flush},
      {wholeFileFault::close, wholeFileStep::close},
      {wholeFileFault::rename, wholeFileStep::rename},
  };
  const std::string old_bytes("(TestState (notes \"user note 101\"))\r\n\0tail", 41);
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.step));
    put(target_, old_bytes);
    set_whole_file_fault(c.fault);
    wholeFileStep failed = wholeFileStep::none;
    const std::string fresh(5000, 'x');
    EXPECT_FALSE(write_bytes_whole(target_, fresh.data(), fresh.size(), &failed));
    set_whole_file_fault(wholeFileFault::none);
    EXPECT_EQ(failed, c.step);
    EXPECT_NE(std::string(whole_file_step_text(failed)), "");
    EXPECT_EQ(bytes_of(target_), old_bytes);
    EXPECT_FALSE(fs::exists(whole_file_temporary(target_)));
  }
}

TEST_F(WholeFileTest, AWriterThatFailsKeepsTheOldFile) {
  put(target_, "old");
  wholeFileStep failed = wholeFileStep::none;
  EXPECT_FALSE(write_file_whole(
      target_, "wb", [](std::FILE* file) { return std::fputs("part of", file) >= 0 && false; }, &failed));
  EXPECT_EQ(failed, wholeFileStep::write);
  EXPECT_EQ(bytes_of(target_), "old");
  EXPECT_FALSE(fs::exists(whole_file_temporary(target_)));
}

// A writer killed between the temporary file and the rename leaves the old
// file whole; what it left beside it goes the next time.
TEST_F(WholeFileTest, AKilledWriterLeavesTheOldFileAndItsTemporaryGoesNextTime) {
  put(target_, "old");
  set_whole_file_fault(wholeFileFault::killed);
  EXPECT_FALSE(write_bytes_whole(target_, "new", 3));
  set_whole_file_fault(wholeFileFault::none);
  EXPECT_EQ(bytes_of(target_), "old");
  ASSERT_TRUE(fs::exists(whole_file_temporary(target_)));
  remove_leftover_temporary(target_);
  EXPECT_FALSE(fs::exists(whole_file_temporary(target_)));
  EXPECT_EQ(bytes_of(target_), "old");

  put(whole_file_temporary(target_), "left by a kill, longer than the new");
  ASSERT_TRUE(write_bytes_whole(target_, "new", 3));
  EXPECT_EQ(bytes_of(target_), "new");
  EXPECT_FALSE(fs::exists(whole_file_temporary(target_)));
}

}  // namespace
