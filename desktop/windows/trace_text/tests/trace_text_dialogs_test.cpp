#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/winlib/files/file_dialog_ui.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/winlib/tests/temp_folder.h"
#include "desktop/windows/trace_text/trace_text_dialogs.h"

namespace {

// A person at the file dialogs: each call takes the next answer (an empty
// one cancels) and keeps what the dialog showed.
struct dialog_script {
  std::deque<std::string> answers;
  std::vector<std::string> presets, folders, titles, filters, extensions;
};
dialog_script script;

BOOL answer(OPENFILENAMEA* record) {
  script.presets.push_back(record->lpstrFile);
  script.folders.push_back(record->lpstrInitialDir ? record->lpstrInitialDir : "");
  script.titles.push_back(record->lpstrTitle ? record->lpstrTitle : "");
  script.extensions.push_back(record->lpstrDefExt ? record->lpstrDefExt : "");
  std::string filter;
  for (const char* f = record->lpstrFilter; f && *f; f += strlen(f) + 1) filter += std::string(f) + "|";
  script.filters.push_back(filter);
  if (script.answers.empty()) return FALSE;
  std::string chosen = script.answers.front();
  script.answers.pop_front();
  if (chosen.empty()) return FALSE;
  lstrcpynA(record->lpstrFile, chosen.c_str(), static_cast<int>(record->nMaxFile));
  return TRUE;
}
DWORD no_error() { return 0; }

class TraceTextDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    script = dialog_script{};
    previous_ = file_dialog_ui_install(file_dialog_calls{answer, answer, no_error});
  }
  void TearDown() override { file_dialog_ui_install(previous_); }

 private:
  file_dialog_calls previous_;
};

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void fill_two_points(traceClass& trace) {
  const double x[] = {1.0, 2.0};
  const double y[] = {3.0, 4.0};
  trace.set_data(3, x, y, 2);
  trace.set_label("eye: left");
}

}  // namespace

TEST_F(TraceTextDialogs, SaveProposesTheLabelAndWritesTheChosenForm) {
  message_capture capture;
  temp_folder folder;
  std::string path = folder.file("out.txt");
  script.answers = {path};
  traceClass trace;
  fill_two_points(trace);
  const char* written = save_trace_text_file(nullptr, &trace, "Save Trace 1 of 1", "C:\\data\\old.csv");
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written, path);
  // The dialog shows the proposal "C:\data\eye-_left.csv" as its name and
  // folder.
  EXPECT_EQ(script.presets.front(), "eye-_left");
  EXPECT_EQ(script.folders.front(), "C:\\data\\eye-_left.csv");
  EXPECT_EQ(script.titles.front(), "Save Trace 1 of 1");
  EXPECT_EQ(script.filters.front(), "CSV (*.csv)|*.csv|;XY (*.xy)|*.xy|;text-xy (*.txt)|*.txt|");
  EXPECT_EQ(script.extensions.front(), "csv");
  EXPECT_EQ(read_all(path), "  1.0 \t     3.00\n  2.0 \t     4.00\n");
  EXPECT_TRUE(capture.texts().empty());
}

TEST_F(TraceTextDialogs, RefusalsGoBackToTheDialogAndCancelWritesNothing) {
  message_capture capture;
  temp_folder folder;
  folder.write("kept.csv", "old\n");
  folder.write("kept.dat", "old\n");
  std::string kept = folder.file("kept.csv");
  std::string unknown = folder.file("kept.dat");
  std::string fresh = folder.file("fresh.csv");
  // An existing file not to be replaced, a name of no known form, then a
  // new file.
  script.answers = {kept, unknown, fresh};
  capture.answer(answer_no);
  traceClass trace;
  fill_two_points(trace);
  const char* written = save_trace_text_file(nullptr, &trace, "t", nullptr);
  ASSERT_NE(written, nullptr);
  EXPECT_EQ(written, fresh);
  EXPECT_EQ(read_all(kept), "old\n");
  EXPECT_EQ(read_all(unknown), "old\n");
  EXPECT_EQ(read_all(fresh), "  1.0,    3.00\n  2.0,    4.00\n");
  EXPECT_EQ(capture.captions(), (std::vector<std::string>{"File Exists", "*** ERROR ***"}));
  EXPECT_EQ(capture.texts(), (std::vector<std::string>{"Overwrite Existing File?\n[" + kept + "]",
                                                       "*** UNRECOGNIZED FILE EXTENSION [dat] ***"}));

  // Yes replaces; a cancelled dialog writes nothing.
  capture.clear();
  script.answers = {kept};
  capture.answer(answer_yes);
  EXPECT_NE(save_trace_text_file(nullptr, &trace, "t", nullptr), nullptr);
  EXPECT_EQ(read_all(kept), "  1.0,    3.00\n  2.0,    4.00\n");
  script.answers = {""};
  EXPECT_EQ(save_trace_text_file(nullptr, &trace, "t", nullptr), nullptr);
  EXPECT_EQ(save_trace_text_file(nullptr, nullptr, "t", nullptr), nullptr);
}

TEST_F(TraceTextDialogs, LoadReadsTheChosenFileAndKeepsItsPath) {
  message_capture capture;
  temp_folder folder;
  folder.write("in.csv", "1,2\n3,4\n");
  std::string path = folder.file("in.csv");
  script.answers = {path};
  std::unique_ptr<traceClass> trace(load_trace_text_file("C:\\start\\", true));
  ASSERT_NE(trace, nullptr);
  EXPECT_EQ(trace->get_count(), 2);
  EXPECT_EQ(script.titles.front(), "Select text data file");
  EXPECT_EQ(script.filters.front(), "CSV Files (*.csv)|*.csv|XY Files (*.xy)|*.xy|All Files|*.*|");
  EXPECT_STREQ(get_program_setting("last_text_file", true), path.c_str());

  // Without the dialog the argument is the file; a cancel gives nothing.
  trace.reset(load_trace_text_file(path.c_str(), false));
  ASSERT_NE(trace, nullptr);
  EXPECT_STREQ(trace->label(), "in(csv)");
  script.answers = {""};
  EXPECT_EQ(load_trace_text_file("C:\\start\\", true), nullptr);
  EXPECT_TRUE(capture.texts().empty());
}
