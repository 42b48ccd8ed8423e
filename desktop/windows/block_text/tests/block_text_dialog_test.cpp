#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/windows/block_text/block_text_dialog.h"
#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/data/tests/record_fixture.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "platform/files/whole_file.h"

namespace {

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
