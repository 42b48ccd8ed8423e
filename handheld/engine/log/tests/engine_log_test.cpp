#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/tests/log_fixture.h"
#include "handheld/engine/protocols/program_error.h"

namespace {

std::string quote(const std::string& text, size_t limit = 508) {
  std::vector<char> out(limit + 8, '#');
  size_t n = quote_log_text(text.c_str(), out.data(), limit);
  EXPECT_EQ(n, std::string(out.data()).size());
  return std::string(out.data());
}

TEST(QuoteLogText, Table) {
  struct row {
    const char* text;
    const char* expected;
  };
  const row rows[] = {
      {"READY", "READY"},
      {"3.744", "3.744"},
      {"two words", "\"two words\""},
      {"say\"hi", "say\\\"hi"},  // escaped, not enclosed
      {"(OD)", "\"(OD)\""},
      {"a\\b", "\"a\\\\b\""},
      {"[x]", "\"[x]\""},
      {"tab\there", "\"tab\there\""},
      {"caf\xe9", "\"caf\xe9\""},
      {"  padded \r\n", "padded"},
      {"", ""},
      {"   ", ""},
      {"!'*Z^~", "!'*Z^~"},
  };
  for (const row& r : rows) EXPECT_EQ(quote(r.text), r.expected) << r.text;
}

TEST(QuoteLogText, CutsWithAtSignWithinLimit) {
  EXPECT_EQ(quote("abcdef", 10), "abcdef");      // exactly limit - 4: no cut
  EXPECT_EQ(quote("abcdefghij", 10), "abcdef@");
  EXPECT_EQ(quote("ab cdefgh", 10), "\"ab cde@\"");
  EXPECT_EQ(quote("abcde\"fg", 10), "abcde@");   // an escape pair does not fit
  EXPECT_EQ(quote("x", 3), "");
  char none[1] = {'#'};
  EXPECT_EQ(quote_log_text("abc", none, 0), 0u);
  EXPECT_EQ(none[0], '#');

  // Whatever the text and the limit, the result and its terminator fit.
  std::mt19937 random(7);
  const char pool[] = "ab \"\\()x\x01~";
  for (int trial = 0; trial < 2000; ++trial) {
    std::string text(random() % 40, 'a');
    for (char& c : text) c = pool[random() % (sizeof pool - 1)];
    const size_t limit = random() % 30;
    std::vector<char> out(limit + 16, '#');
    const size_t n = quote_log_text(text.c_str(), out.data(), limit);
    if (limit > 0) {
      ASSERT_LT(n, limit) << text;
      ASSERT_EQ(out[n], '\0');
    }
    ASSERT_EQ(out[limit], '#');
  }
}

using LogWriters = LogFixture;

TEST_F(LogWriters, MessageRecords) {
  log_mesg("READY");
  log_named_message("keypress", "%2d %s", 3, "Run");
  channels.b_on = 1;
  channels.eye_a = kEyeOD;
  channels.eye_b = kEyeOS;
  log_mesg("run protocol [%s]", "P1");
  channels.a_on = 0;
  channels.eye_a = kEyeNone;
  log_wide_message(L"wide %ls %d", L"text", 7);
  EXPECT_EQ(log_text(),
            "(log (time 10:15:30)(chan A)(mesg READY))\n"
            "(log (time 10:15:30)(chan A)(keypress \"3 Run\"))\n"
            "(log (time 10:15:30)(chan \"A(OD)B(OS)\")(mesg \"run protocol [P1]\"))\n"
            "(log (time 10:15:30)(chan \"B(OS)\")(mesg \"wide text 7\"))\n");
}

TEST_F(LogWriters, MessagesAreCutTo127AndFieldsTo255) {
  log_mesg("%s", std::string(200, 'x').c_str());
  log_field_line("v", "%s", std::string(600, 'y').c_str());
  const auto lines = log_lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "(log (time 10:15:30)(chan A)(mesg " + std::string(127, 'x') + "))");
  EXPECT_EQ(lines[1], "(v " + std::string(255, 'y') + ")");
}

TEST_F(LogWriters, GroupsFieldsTimeAndChannels) {
  log_open_record("erg %d", 2);
  log_field(0, "eye", "%s", "OD");
  log_field(1, "name", "%s", "two words");
  log_time_field(1);
  log_time();
  log_channels(0);
  log_close_record(0, "%s", "end");
  log_close_record(1, "%s", "  ");
  EXPECT_EQ(log_text(),
            "(erg 2 (eye OD)(name \"two words\")\n"
            "(time 10:15:30)\n"
            "(time 10:15:30)(chan A)end))\n");
}

TEST_F(LogWriters, NothingButErrorLinesWhileLoggingIsOff) {
  set_logging_on(false);
  log_mesg("lost");
  log_field_line("a", "b");
  log_open_record("x");
  channels.b_on = 1;
  log_error_line("### %s ###", "kept");
  EXPECT_EQ(log_text(), "10:15:30 *** AB - ### kept ###\n");
  EXPECT_TRUE(program_error);
  EXPECT_FALSE(logging_on());
}

TEST_F(LogWriters, ErrorLineDumpsTheKeyLogFirstAndRaisesTheErrorFlag) {
  static int dumps;
  dumps = 0;
  set_key_log_dump_hook([] {
    ++dumps;
    log_named_message("keypress", "%s", "Run");
  });
  log_error_line("uV: %d", 5);
  EXPECT_EQ(dumps, 1);
  EXPECT_TRUE(program_error);
  EXPECT_EQ(log_text(),
            "(log (time 10:15:30)(chan A)(keypress Run))\n"
            "10:15:30 *** A  - uV: 5\n");
}

TEST_F(LogWriters, WithoutAFileNothingIsWrittenAndNothingFails) {
  set_log_file_path(folder_ / "missing" / "log.txt");
  log_mesg("lost");
  log_error_line("lost too");
  EXPECT_TRUE(program_error);
  EXPECT_TRUE(logging_on());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
  set_log_file_path(std::filesystem::path());
  log_error_line("no path");
  EXPECT_EQ(log_text(), "");
}

TEST_F(LogWriters, BootRecordOncePerRun) {
  const bootRecordInfo info{"123456", "CFC7", 3, 744, 'a', 1, 23, L"Storage Card\\T240315_CFC7"};
  set_logging_on(false);
  EXPECT_FALSE(log_boot_record(info));  // stays due until logging is on
  set_logging_on(true);
  EXPECT_TRUE(log_boot_record(info));
  EXPECT_FALSE(log_boot_record(info));
  log_mesg("set_ERG_directory, g_ERG_directory_index = %d", 0);
  EXPECT_EQ(log_text(),
            "(Sadrin (bootup (unit 123456)(disk CFC7)(Sadrin_version 3.744a)(8051_version 1.023)\n"
            "(time 10:15:30)(test_folder \"Storage Card\\\\T240315_CFC7\"))\n"
            "(log (time 10:15:30)(chan A)(mesg \"set_ERG_directory, g_ERG_directory_index = 0\"))\n");
  reset_log_state();
  set_log_file_path(log_path_);
  set_logging_on(true);
  EXPECT_TRUE(log_boot_record(info));
}

TEST_F(LogWriters, RecordsOfSeveralThreadsStayWhole) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 50; ++i) log_mesg("thread%d-%d", t, i);
    });
  }
  for (auto& thread : threads) thread.join();
  const auto lines = log_lines();
  ASSERT_EQ(lines.size(), 200u);
  const std::regex record(R"(\(log \(time 10:15:30\)\(chan A\)\(mesg thread\d-\d+\)\))");
  for (const auto& line : lines) EXPECT_TRUE(std::regex_match(line, record)) << line;
}

}  // namespace
