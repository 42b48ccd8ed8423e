// The message text, its history, echo, error flag and log entry.
#include <gtest/gtest.h>

#include <stdarg.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/message_text.h"
#include "handheld/engine/protocols/program_error.h"
#include "handheld/engine/remote/remote_line_capture.h"

namespace {

void present(int kind, const char* format, ...) MESSAGE_FORMAT(2, 3);
void present(int kind, const char* format, ...) {
  va_list args;
  va_start(args, format);
  present_message(kind, format, args);
  va_end(args);
}

std::wstring buffer() {
  wchar_t text[MESSAGE_TEXT_CAPACITY];
  copy_message_text(text, MESSAGE_TEXT_CAPACITY);
  return text;
}

std::wstring slot(int i) {
  wchar_t text[MESSAGE_HISTORY_LENGTH];
  copy_message_history(i, text, MESSAGE_HISTORY_LENGTH);
  return text;
}

int count_of(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

logClockTime fixed_time() { return {10, 15, 30}; }

class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    while (pop_message_history() == 1) {
    }
    format_message_text("%s", "");
    program_error = false;
    log_path_ = std::filesystem::temp_directory_path() / ("erg_messages_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".log");
    std::filesystem::remove(log_path_);
    set_log_file_path(log_path_);
    set_logging_on(true);
    set_local_time_source(fixed_time);
  }
  void TearDown() override {
    reset_log_state();
    set_local_time_source(nullptr);
    std::filesystem::remove(log_path_);
    program_error = false;
  }
  std::string log_text() const {
    std::ifstream in(log_path_, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::filesystem::path log_path_;
};

TEST_F(Messages, HistoryKeepsTheFirstNineAndTheNewestInTheTenthSlot) {
  for (int i = 1; i <= 11; ++i) present(MESSAGE_WARNING, "MESSAGE %d", i);
  EXPECT_EQ(message_history_count(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(slot(i), L"MESSAGE " + std::to_wstring(i + 1));
  EXPECT_EQ(slot(9), L"MESSAGE 11");

  // Closing dialogs walks back from the count: slots 8, 7, ... 0.
  EXPECT_EQ(pop_message_history(), 1);
  EXPECT_EQ(buffer(), L"MESSAGE 9");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(pop_message_history(), 1);
  EXPECT_EQ(buffer(), L"MESSAGE 1");
  EXPECT_EQ(message_history_count(), 0);

  // With the history empty, closing changes nothing.
  EXPECT_EQ(pop_message_history(), 0);
  EXPECT_EQ(buffer(), L"MESSAGE 1");
  EXPECT_EQ(message_history_count(), 0);
}

TEST_F(Messages, WithoutAFormatTheBufferIsShownAgainAndNothingIsKept) {
  present(MESSAGE_WARNING, "*** %s ***", "FIRST");
  remote_line_capture line;
  present(MESSAGE_INTERNAL, nullptr);
  EXPECT_EQ(buffer(), L"*** FIRST ***");
  EXPECT_EQ(message_history_count(), 1);
  EXPECT_EQ(line.text(), "");
  EXPECT_EQ(message_layout().kind, MESSAGE_INTERNAL);
  EXPECT_TRUE(program_error);
  EXPECT_EQ(count_of(log_text(), "(mesg \"*** FIRST ***\")"), 2);  // logged when shown and again
}

TEST_F(Messages, KindsZeroAndFourRaiseTheErrorFlagAndKindTwoIsNotLogged) {
  struct Case {
    int kind;
    bool raises;
    bool logged;
  } cases[] = {{0, true, true}, {1, false, true}, {2, false, false},
               {4, true, true}, {5, false, true}, {17, false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    program_error = false;
    std::filesystem::remove(log_path_);
    remote_line_capture line;
    present(c.kind, "KIND%d", c.kind);
    EXPECT_EQ(program_error.load(), c.raises);
    std::string entry = "(mesg KIND" + std::to_string(c.kind) + ")";
    EXPECT_EQ(log_text().find(entry) != std::string::npos, c.logged) << log_text();
    EXPECT_EQ(line.text(), "[KIND" + std::to_string(c.kind) + "]\r\n");  // every kind is echoed
    messageLayout layout = message_layout();
    EXPECT_EQ(layout.kind, c.kind);
    EXPECT_EQ(layout.position, 3);
    EXPECT_EQ(layout.control, MESSAGE_TEXT_CONTROL);
  }
}

TEST_F(Messages, FormattingIsBoundedEverywhere) {
  std::string long_text(2000, 'y');
  remote_line_capture line;
  present(MESSAGE_WARNING, "%s%ls", long_text.c_str(), L"END");
  EXPECT_EQ(buffer(), std::wstring(MESSAGE_TEXT_CAPACITY - 1, L'y'));
  EXPECT_EQ(slot(0), std::wstring(MESSAGE_HISTORY_LENGTH - 1, L'y'));
  ASSERT_EQ(line.writes().size(), 1u);
  EXPECT_EQ(line.writes()[0], "[" + std::string(254, 'y'));  // the line takes 255 a write
}

TEST_F(Messages, NarrowAndWideArgumentsAndTheEchoOfOtherCharacters) {
  remote_line_capture line;
  present(MESSAGE_WARNING, "###\n%s:\n %ls %d %5.2f\n###", "graph_title", L"W\u00e9", -3, 2.5);
  EXPECT_EQ(buffer(), L"###\ngraph_title:\n W\u00e9 -3  2.50\n###");
  EXPECT_EQ(line.text(), "[###\ngraph_title:\n W? -3  2.50\n###]\r\n");
}

TEST_F(Messages, FormatMessageTextOnlyFillsTheBuffer) {
  remote_line_capture line;
  format_message_text("*** %s ***", "NO PROTOCOL HAS BEEN SELECTED");
  EXPECT_EQ(buffer(), L"*** NO PROTOCOL HAS BEEN SELECTED ***");
  format_message_text(nullptr);
  EXPECT_EQ(buffer(), L"*** NO PROTOCOL HAS BEEN SELECTED ***");
  EXPECT_EQ(message_history_count(), 0);
  EXPECT_EQ(line.text(), "");
  EXPECT_FALSE(program_error);
  EXPECT_EQ(log_text(), "");
}

TEST_F(Messages, ThreadsShowingAtOnceKeepEveryMessageWhole) {
  remote_line_capture line;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 50; ++i) present(MESSAGE_WARNING, "THREAD %d MESSAGE %02d", t, i);
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(message_history_count(), 9);
  for (int i = 0; i < MESSAGE_HISTORY_SLOTS; ++i) {
    std::wstring s = slot(i);
    EXPECT_EQ(s.size(), 19u);
    EXPECT_EQ(s.compare(0, 7, L"THREAD "), 0);
  }
  std::vector<std::string> writes = line.writes();
  ASSERT_EQ(writes.size(), 200u);
  for (const std::string& w : writes) EXPECT_EQ(w.size(), 23u) << w;
}

}  // namespace
