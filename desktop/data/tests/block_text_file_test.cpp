#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/data/block_text_file.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/record_fields.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "platform/files/whole_file.h"

namespace {

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class BlockText : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = make_record();
    record_->Config.Scale = 0.5;
    record_->Config.Offset = 10.0;
    fill_block(record_->Average, {100, -8, 0, 2}, 4.0, 8, 2);
    ASSERT_TRUE(read_block_fields(record_->Average, fields_));
  }

  std::unique_ptr<testFileRecord> record_;
  blockFields fields_{};
  temp_folder folder_;
};

TEST_F(BlockText, TimeWithoutThePretriggerShiftAndMicrovolts) {
  std::string path = folder_.file("XY_test.txt");
  folder_.write("XY_test.txt", "replaced");
  message_capture capture;
  EXPECT_TRUE(write_block_text(path.c_str(), *record_, record_->Average, fields_));
  EXPECT_EQ(file_text(path), "  0.0 \t    22.50\n  2.0 \t     9.00\n  4.0 \t    10.00\n  6.0 \t    10.25\n");
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(BlockText, AFileThatCannotBeCreatedIsReported) {
  std::string path = folder_.file("no such folder") + "/XY_test.txt";
  message_capture capture;
  EXPECT_FALSE(write_block_text(path.c_str(), *record_, record_->Average, fields_));
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_EQ(capture.texts()[0].rfind("*** UNABLE TO CREATE FILE [" + path + "] ***", 0), 0u);
}

// A full disk keeps the file saved before, byte for byte, and names it.
TEST_F(BlockText, AFailedWriteKeepsTheOldFile) {
  std::string path = folder_.file("XY_test.txt");
  folder_.write("XY_test.txt", "kept");
  message_capture capture;
  set_whole_file_fault(wholeFileFault::flush);
  EXPECT_FALSE(write_block_text(path.c_str(), *record_, record_->Average, fields_));
  set_whole_file_fault(wholeFileFault::none);
  EXPECT_EQ(file_text(path), "kept");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** WRITE TO [" + path +
                                                      "] FAILED ***\ncould not be flushed to the disk (is the disk full?)"});
}

}  // namespace
