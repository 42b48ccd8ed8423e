#include <gtest/gtest.h>

#include <windows.h>

#include <cderr.h>

#include <cstring>
#include <string>
#include <vector>

#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/tests/message_capture.h"

namespace {

// A scripted person at the dialog: it answers with a chosen text (a path,
// or a folder and names separated by NULs) or fails with an error code,
// and keeps what the dialog was asked to show.
struct dialog_script {
  std::string answer;  // empty: the dialog fails
  DWORD error = 0;     // 0: cancelled
  int calls = 0;
  bool was_save = false;
  DWORD struct_size = 0, flags = 0, max_file = 0, filter_index = 0;
  std::string preset, initial_folder, title, extension, filter;
  HWND owner = nullptr;
};
dialog_script script;

BOOL answer(OPENFILENAMEA* record, bool save) {
  script.calls++;
  script.was_save = save;
  script.struct_size = record->lStructSize;
  script.flags = record->Flags;
  script.max_file = record->nMaxFile;
  script.filter_index = record->nFilterIndex;
  script.preset = record->lpstrFile;
  script.initial_folder = record->lpstrInitialDir ? record->lpstrInitialDir : "";
  script.title = record->lpstrTitle ? record->lpstrTitle : "";
  script.extension = record->lpstrDefExt ? record->lpstrDefExt : "";
  script.filter.clear();
  for (const char* f = record->lpstrFilter; f && *f; f += strlen(f) + 1) script.filter += std::string(f) + "|";
  script.owner = record->hwndOwner;
  if (script.answer.empty()) return FALSE;
  memcpy(record->lpstrFile, script.answer.data(), script.answer.size());
  record->lpstrFile[script.answer.size()] = 0;
  return TRUE;
}
BOOL scripted_open(OPENFILENAMEA* record) { return answer(record, false); }
BOOL scripted_save(OPENFILENAMEA* record) { return answer(record, true); }
DWORD scripted_error() { return script.error; }

class FileDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    script = dialog_script{};
    previous_ = file_dialog_ui_install(file_dialog_calls{scripted_open, scripted_save, scripted_error});
  }
  void TearDown() override { file_dialog_ui_install(previous_); }

 private:
  file_dialog_calls previous_;
};

const char filter[] = "CSV Files (*.csv)\0*.csv\0All Files\0*.*\0";

}  // namespace

TEST_F(FileDialogs, OpenFillsTheRecordAndCopiesTheChoice) {
  message_capture capture;
  script.answer = "C:\\data\\chosen.csv";
  char result[64] = "old";
  const char* chosen = file_name_dialog(nullptr, "Select text data file", "C:\\data\\start.csv", filter, "csv",
                                        result, sizeof result, false, false, OFN_NOCHANGEDIR);
  ASSERT_NE(chosen, nullptr);
  EXPECT_STREQ(chosen, "C:\\data\\chosen.csv");
  EXPECT_STREQ(result, "C:\\data\\chosen.csv");
  EXPECT_FALSE(script.was_save);
  EXPECT_EQ(script.struct_size, sizeof(OPENFILENAMEA));
  EXPECT_EQ(script.flags,
            static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_LONGNAMES | OFN_FORCESHOWHIDDEN |
                               OFN_NOCHANGEDIR));
  EXPECT_EQ(script.max_file, static_cast<DWORD>(file_dialog_buffer_size));
  EXPECT_EQ(script.filter_index, 1u);
  EXPECT_EQ(script.preset, "start");
  EXPECT_EQ(script.initial_folder, "C:\\data\\start.csv");
  EXPECT_EQ(script.title, "Select text data file");
  EXPECT_EQ(script.extension, "csv");
  EXPECT_EQ(script.filter, "CSV Files (*.csv)|*.csv|All Files|*.*|");
  EXPECT_TRUE(capture.texts().empty());

  // Without a result buffer the shared one holds the choice.
  script.answer = "C:\\b.csv";
  EXPECT_STREQ(file_name_dialog(nullptr, "t", "", filter, "csv", nullptr, 0, false, true, 0), "C:\\b.csv");
}

TEST_F(FileDialogs, SaveRefusesAPathThatDoesNotFit) {
  message_capture capture;
  script.answer = "C:\\data\\a long file name.bmp";
  char result[16];
  memset(result, 'Q', sizeof result);
  EXPECT_EQ(file_name_dialog(nullptr, "Save Image to", "image.bmp", filter, ".bmp", result, 10, true, true, 0),
            nullptr);
  EXPECT_TRUE(script.was_save);
  EXPECT_STREQ(result, "");
  EXPECT_EQ(result[1], 'Q');
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** THE FILE NAME CHOSEN IS TOO LONG (28 CHARACTERS, ROOM FOR "
                                                      "9) ***\n[C:\\data\\a long file name.bmp]"});

  capture.clear();
  EXPECT_STREQ(file_name_dialog(nullptr, "Save Image to", "image.bmp", filter, ".bmp", result, 16, false, true, 0),
               nullptr);
  EXPECT_EQ(capture.texts().size(), 1u);  // the Open dialog likewise
  capture.clear();
  script.answer = "C:\\x.bmp";
  EXPECT_STREQ(file_name_dialog(nullptr, "Save Image to", "image.bmp", filter, ".bmp", result, 9, true, true, 0),
               "C:\\x.bmp");
  EXPECT_STREQ(result, "C:\\x.bmp");
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(FileDialogs, FailuresAreReportedUnlessQuiet) {
  message_capture capture;
  struct {
    DWORD error;
    bool save;
    bool quiet;
    const char* message;
  } cases[] = {
      {0, false, false, "*** GetOpenfileName failed ***\n*** UNKNOWN ERROR ***"},
      {FNERR_BUFFERTOOSMALL, false, false, "*** GetOpenfileName failed ***\n*** FNERR_BUFFERTOOSMALL ***"},
      {CDERR_STRUCTSIZE, false, false, "*** GetOpenfileName failed ***\n*** CDERR_STRUCTSIZE ***"},
      {CDERR_DIALOGFAILURE, false, false, "*** GetOpenfileName failed ***\n*** CDERR_DIALOGFAILURE ***"},
      {0x1234, false, false, "*** GetOpenfileName failed ***\n*** UNKNOWN ERROR ***"},
      {0, true, false, "*** GetSavefileName failed***"},
      {0, false, true, nullptr},
      {CDERR_INITIALIZATION, true, true, nullptr},
  };
  for (const auto& c : cases) {
    capture.clear();
    script.error = c.error;
    char result[8] = "keep";
    EXPECT_EQ(file_name_dialog(nullptr, "t", "", filter, "", result, sizeof result, c.save, c.quiet, 0), nullptr);
    EXPECT_STREQ(result, "keep");
    EXPECT_EQ(capture.texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
  }
  EXPECT_STREQ(file_dialog_error_name(CDERR_REGISTERMSGFAIL), "CDERR_REGISTERMSGFAIL");
  EXPECT_STREQ(file_dialog_error_name(FNERR_SUBCLASSFAILURE), "FNERR_SUBCLASSFAILURE");
}

TEST_F(FileDialogs, SeveralFiles) {
  message_capture capture;
  script.answer = std::string("C:\\dir\0a.tst\0b.tst\0", 19);
  r_list<byteObjectClass>* paths = open_files_dialog(nullptr, "t", "", filter, "tst", nullptr, 0, false, true, 0);
  ASSERT_NE(paths, nullptr);
  EXPECT_STREQ(paths->name(), "nameless");
  ASSERT_EQ(paths->count(), 2);
  EXPECT_STREQ(paths->get(0)->text(), "C:\\dir\\a.tst");
  EXPECT_STREQ(paths->get(1)->text(), "C:\\dir\\b.tst");
  EXPECT_EQ(script.flags & (OFN_ALLOWMULTISELECT | OFN_EXPLORER),
            static_cast<DWORD>(OFN_ALLOWMULTISELECT | OFN_EXPLORER));
  delete_all(paths);

  script.answer = std::string("C:\\\0a.tst\0", 10);  // a drive's root ends in its separator
  paths = open_files_dialog(nullptr, "t", "", filter, "tst", nullptr, 0, false, true, 0);
  ASSERT_EQ(paths->count(), 1);
  EXPECT_STREQ(paths->get(0)->text(), "C:\\a.tst");
  delete_all(paths);

  script.answer = "C:\\dir\\only.tst";
  paths = open_files_dialog(nullptr, "t", "", filter, "tst", nullptr, 0, false, true, 0);
  ASSERT_EQ(paths->count(), 1);
  EXPECT_STREQ(paths->get(0)->text(), "C:\\dir\\only.tst");
  delete_all(paths);

  script.answer.clear();
  EXPECT_EQ(open_files_dialog(nullptr, "t", "", filter, "tst", nullptr, 0, false, true, 0), nullptr);
  EXPECT_TRUE(capture.texts().empty());
}
