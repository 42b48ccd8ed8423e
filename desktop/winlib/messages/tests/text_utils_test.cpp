#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

#include "desktop/winlib/messages/date_time_text.h"
#include "desktop/winlib/values/double_check.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/messages/system_text.h"

namespace {

int measured(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = text_length(format, args);
  va_end(args);
  return n;
}

int bounded(char* buffer, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = format_bounded(buffer, size, format, args);
  va_end(args);
  return n;
}

void pin_time_zone() {
#if defined(_WIN32)
  _putenv("TZ=UTC");
  _tzset();
#else
  setenv("TZ", "UTC", 1);
  tzset();
#endif
}

}  // namespace

TEST(Fmt, RingKeepsFourteenResultsAndReplacesTheFifteenthOlder) {
  const char* results[16];
  for (int i = 0; i < 16; ++i) results[i] = fmt("result %d", i);
  // The sixteenth call took the slot of the first; the others are intact.
  for (int i = 1; i < 16; ++i) EXPECT_EQ(std::string(results[i]), "result " + std::to_string(i));
  const char* empty = fmt("%s", "");
  ASSERT_NE(empty, nullptr);
  EXPECT_STREQ(empty, "");
}

TEST(Fmt, LengthsAreRealAlsoWhenTheTextIsCut) {
  char small[8];
  EXPECT_EQ(bounded(small, sizeof small, "%s-%d", "abcdefghij", 12345), 16);
  EXPECT_STREQ(small, "abcdefg");
  EXPECT_EQ(bounded(nullptr, 0, "%05d", 42), 5);
  EXPECT_EQ(measured("%s %d", "ab", 7), 4);
  EXPECT_EQ(measured(""), 0);
  std::string long_text(5000, 'q');
  EXPECT_EQ(std::strlen(fmt("<%s>", long_text.c_str())), 5002u);
}

TEST(Fmt, TextFormatRefusesABufferThatIsTooSmall) {
  message_capture capture;
  char buffer[6] = "xxxxx";
  EXPECT_EQ(text_format(buffer, 6, "%d", 12345), 5);
  EXPECT_STREQ(buffer, "12345");
  std::strcpy(buffer, "keep");
  EXPECT_EQ(text_format(buffer, 6, "%d", 123456), -1);
  EXPECT_STREQ(buffer, "keep");
  EXPECT_EQ(capture.texts(),
            std::vector<std::string>{"### text_format : insufficient buffer size (6) need 7 ###"});
}

TEST(Fmt, DuplicateText) {
  int length = -1;
  char* copy = duplicate_text(&length, "abc");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "abc");
  EXPECT_EQ(length, 3);
  free_text(copy);
  EXPECT_EQ(duplicate_text(&length, nullptr), nullptr);
  EXPECT_EQ(length, 0);
  free_text(nullptr);
}

TEST(DateTimeText, MonthNames) {
  const struct {
    int month;
    const char* name;
  } cases[] = {{0, "???"}, {1, "Jan"}, {2, "Feb"}, {6, "Jun"}, {12, "Dec"}, {13, "???"}, {-1, "???"}};
  for (const auto& c : cases) EXPECT_STREQ(month_name(c.month), c.name) << c.month;
}

TEST(DateTimeText, DayOfYear) {
  const struct {
    int year, month, day, expected;
  } cases[] = {{2000, 3, 1, 61}, {1900, 3, 1, 61}, {2001, 3, 1, 60},
               {2023, 1, 1, 1},  {2024, 12, 31, 366}, {2023, 12, 31, 365}};
  for (const auto& c : cases) EXPECT_EQ(day_of_year(c.year, c.month, c.day), c.expected) << c.year << "-" << c.month;
  message_capture capture;
  EXPECT_EQ(day_of_year(2000, 13, 1), -1);
  EXPECT_EQ(day_of_year(2000, 0, 1), -1);
  EXPECT_EQ(capture.texts().size(), 2u);
  EXPECT_EQ(capture.texts()[0], "*** day_of_year: MONTH 13 OUT OF RANGE ***");
}

TEST(DateTimeText, ElapsedTime) {
  const struct {
    double seconds;
    int resolution;
    const char* text;
  } cases[] = {
      {86400 + 3600 + 60 + 1.25, 1, "01|01:01:01.2"},
      {0, 1, "00|00:00:00.0"},
      {59.99, 1, "00|00:00:59.9"},
      {3 * 86400 + 23 * 3600 + 59 * 60 + 59.95, 1, "03|23:59:59.9"},
      {12.34, 10, "00|00:00:12.3"},
      {-161.15, 1, "-00|00:02:41.1"},
      {-(2 * 86400 + 3 * 3600 + 5.0), 1, "-02|03:00:05.0"},
      {-0.04, 1, "00|00:00:00.0"},
  };
  for (const auto& c : cases) EXPECT_STREQ(format_elapsed_time(c.seconds, c.resolution), c.text) << c.seconds;
  message_capture capture;
  EXPECT_STREQ(format_elapsed_time(61.0, 0), "00|00:01:01.0");
  EXPECT_EQ(capture.texts(), std::vector<std::string>{"*** format_elapsed_time: RESOLUTION 0 IS NOT POSITIVE ***"});
}

TEST(DateTimeText, FileTimeTexts) {
  pin_time_zone();
  // 2024-03-05 07:08:09 UTC as a file time.
  const file_time t = (1709622489ULL + 11644473600ULL) * 10000000ULL;
  char buffer[64];
  EXPECT_STREQ(file_time_text(t, buffer, sizeof buffer), "3/05/2024  7:08:09");
  EXPECT_STREQ(file_time_text_long(t, buffer, sizeof buffer), " 5Mar 2024 07:08:09");
  char small[6];
  EXPECT_STREQ(file_time_text(t, small, sizeof small), "3/05/");
  EXPECT_STREQ(file_time_text(0, buffer, sizeof buffer), "");
}

TEST(DateTimeText, SecondsOfWeek) {
  local_time_stamp now = current_local_time();
  double of_day = seconds_of_week(nullptr);
  EXPECT_GE(of_day, 0.0);
  EXPECT_LT(of_day, 86400.0);
  local_time_stamp yesterday = now;
  yesterday.day_of_week = (now.day_of_week + 6) % 7;
  double week = seconds_of_week(&yesterday);
  EXPECT_GE(week, 86400.0);
  EXPECT_LT(week, 2 * 86400.0);
}

TEST(DoubleCheck, FiniteNumbersOnly) {
  EXPECT_TRUE(is_valid_double(0.0));
  EXPECT_TRUE(is_valid_double(DBL_MAX));
  EXPECT_TRUE(is_valid_double(-DBL_MAX));
  EXPECT_FALSE(is_valid_double(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(is_valid_double(-std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(is_valid_double(std::nan("")));
}

TEST(SystemText, ErrorTextIsOneLine) {
  const char* text = last_error_text(2);  // no such file on both systems
  EXPECT_GT(std::strlen(text), 0u);
  EXPECT_LT(std::strlen(text), 256u);
  EXPECT_EQ(std::strpbrk(text, "\r\n"), nullptr);
}
