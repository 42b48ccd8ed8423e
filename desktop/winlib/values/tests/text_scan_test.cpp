#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "desktop/winlib/tests/message_capture.h"
#include "desktop/winlib/values/text_scan.h"

TEST(TextScan, ByteNames) {
  struct {
    unsigned char byte;
    const char* name;
    const char* hex_name;
  } cases[] = {
      {6, "[ACK]", "[06]"}, {10, "[NL]", "[0a]"},  {13, "[CR]", "[0d]"},  {17, "[DC1]", "[11]"},
      {20, "[DC4]", "[14]"}, {21, "[NAK]", "[15]"}, {0, "[00]", "[00]"},   {31, "[1f]", "[1f]"},
      {'A', "A", "A"},       {' ', " ", " "},       {127, "[DEL]", "\x7f"}, {200, "[c8]", "[c8]"},
  };
  for (const auto& c : cases) {
    EXPECT_STREQ(char_name(c.byte), c.name) << int(c.byte);
    EXPECT_STREQ(char_hex_name(c.byte), c.hex_name) << int(c.byte);
  }
  EXPECT_STREQ(text_name("a\r\nb"), "a[CR][NL]b");
  EXPECT_STREQ(bytes_hex_name("a\0\x7f", 3), "a[00]\x7f");
  EXPECT_STREQ(text_name(nullptr), "");
}

TEST(TextScan, LongTextNamesStopBeforeTheBufferEnd) {
  std::string ones(200, '\x01');  // "[01]" each: 4 bytes
  std::string name = bytes_name(ones.data(), static_cast<int>(ones.size()));
  EXPECT_EQ(name.size(), 508u);  // the next piece would bring 508 + 4 + 1 above 510
  std::string letters(600, 'x');
  EXPECT_EQ(strlen(text_name(letters.c_str())), 509u);
}

TEST(TextScan, HexDigits) {
  EXPECT_EQ(hex_value('0'), 0);
  EXPECT_EQ(hex_value('9'), 9);
  EXPECT_EQ(hex_value('a'), 10);
  EXPECT_EQ(hex_value('F'), 15);
  EXPECT_EQ(hex_value('g'), 'g' - '0');
  EXPECT_EQ(hex_byte('7', 'f'), 127);
  EXPECT_EQ(hex_byte('F', 'F'), 255);
  EXPECT_EQ(hex_digit(9), '9');
  EXPECT_EQ(hex_digit(11), 'B');
  char two[3] = {0, 0, 'z'};
  byte_to_hex(0xA7, two);
  EXPECT_EQ(std::string(two, 3), "A7z");
}

TEST(TextScan, TokenSplit) {
  struct {
    const char* text;
    int result;
    const char* output;
  } cases[] = {
      {"a\\b", 1, "a"}, {"\\b", -1, ""}, {"abc", 0, "abc"}, {"", 0, ""}, {"data\\x\\y", 4, "data"},
  };
  for (const auto& c : cases) {
    char out[16];
    memset(out, 'Q', sizeof out);
    EXPECT_EQ(token_split(c.text, "\\", out, sizeof out), c.result) << c.text;
    EXPECT_STREQ(out, c.output) << c.text;
  }
}

TEST(TextScan, TokenSplitNeverWritesPastItsOutput) {
  message_capture capture;
  char out[8];
  out[5] = 'Q';
  out[6] = 'R';
  // A token longer than the output is cut to fit and reported; the length
  // returned is the token's, so the caller still steps over it.
  EXPECT_EQ(token_split("abcdefghij\\k", "\\", out, 6), 10);
  EXPECT_STREQ(out, "abcde");
  EXPECT_EQ(out[6], 'R');
  ASSERT_EQ(capture.texts().size(), 1u);
  EXPECT_EQ(capture.texts()[0], "*** token_split: TOKEN OF 10 CHARACTERS CUT TO 5 ***");
}

TEST(TextScan, UpperCopyIsBounded) {
  char out[8];
  memset(out, 'Q', sizeof out);
  EXPECT_TRUE(upper_copy("c:\\x.ts", out, sizeof out));
  EXPECT_STREQ(out, "C:\\X.TS");
  memset(out, 'Q', sizeof out);
  EXPECT_FALSE(upper_copy("abcdefghij", out, 5));
  EXPECT_STREQ(out, "ABCD");
  EXPECT_EQ(out[5], 'Q');
  EXPECT_TRUE(upper_copy("\xe4z1", out, sizeof out));
  EXPECT_STREQ(out, "\xe4Z1");  // only a to z change
}

TEST(TextScan, Contains) {
  EXPECT_TRUE(contains(nullptr, "abc"));
  EXPECT_TRUE(contains("", "abc"));
  EXPECT_FALSE(contains("a", nullptr));
  EXPECT_FALSE(contains("a", ""));
  EXPECT_FALSE(contains("abcd", "abc"));
  EXPECT_TRUE(contains("bc", "abcd"));
  EXPECT_FALSE(contains("BC", "abcd"));
}

TEST(TextScan, Words) {
  const char* text = "one \"two words\"\tthree";
  struct {
    int index;
    const char* word;
  } cases[] = {{0, "one"}, {1, "two words"}, {2, "three"}, {3, ""}};
  for (const auto& c : cases) {
    char out[32];
    EXPECT_EQ(nth_word(text, c.index, out, sizeof out), static_cast<int>(strlen(c.word)));
    EXPECT_STREQ(out, c.word);
  }
  char small[4];
  EXPECT_EQ(nth_word(text, 1, small, sizeof small), 3);
  EXPECT_STREQ(small, "two");
  EXPECT_EQ(word_count("  ab\tcd"), 2);
  EXPECT_EQ(word_count(nullptr), 0);
  EXPECT_EQ(word_count("\"a b\""), 2);  // no quote handling
}

TEST(TextScan, Trimming) {
  char buffer[16] = " \t ab c";
  trim_leading(buffer, sizeof buffer);
  EXPECT_STREQ(buffer, "ab c");

  // Bytes after the text's end are not looked at: the text ends where its
  // NUL is, whatever the rest of the buffer holds.
  char fixed[16];
  memset(fixed, 'x', sizeof fixed);
  strcpy(fixed, "ab \t ");
  trim_trailing(fixed, sizeof fixed);
  EXPECT_STREQ(fixed, "ab");
  EXPECT_EQ(fixed[10], 'x');

  char blank[4] = " ";
  trim_trailing(blank, sizeof blank);
  EXPECT_STREQ(blank, " ");  // index 0 stays
}

TEST(TextScan, WildcardMatch) {
  struct {
    const char* pattern;
    const char* text;
    int case_flag;
    bool match;
  } cases[] = {
      {"*.TST", "a.tst", 0, true},
      {"*.TST", "a.tst", 1, false},
      {"", "anything", 1, true},
      {nullptr, "anything", 1, true},
      {"*", "", 0, false},
      {"*", nullptr, 0, false},
      {"a?c", "abc", 1, true},
      {"a?c", "ac", 1, false},
      {"a*", "a", 1, true},
      {"*b*", "abc", 1, true},
      {"a*c", "abcbd", 1, false},
      {"a*c*d", "abcbd", 1, true},
      {"abc", "abcd", 1, false},
      {"  abc", "  abc  ", 1, true},
      {"\"*\"", "*", 1, true},
      {"\"*\"", "x", 1, false},
      {"a\"?\"", "a?", 1, true},
      {"a\"?\"", "ab", 1, false},
      {"P*T??0*.tst", "P01S01T0101A0000000001.TST", 0, true},
      {"P*T??1*", "P01S01T0101A0000000001.TST", 0, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(wildcard_match(c.pattern, c.text, c.case_flag), c.match)
        << (c.pattern ? c.pattern : "(null)") << " / " << (c.text ? c.text : "(null)");
  }
  std::string long_text(1000, 'a');
  std::string long_pattern = std::string(300, 'a') + "*" + std::string(300, '?');
  EXPECT_TRUE(wildcard_match(long_pattern.c_str(), long_text.c_str(), 1));
  EXPECT_FALSE(wildcard_match((long_pattern + "b").c_str(), long_text.c_str(), 1));
}

TEST(TextScan, Tokenizer) {
  tokenizerClass t(",,one,two,,three,", ",");
  EXPECT_EQ(t.token_count(), 3);
  EXPECT_STREQ(t.first_token(), "one");
  EXPECT_EQ(t.first_token(), nullptr);  // one tokenization at a time
  EXPECT_EQ(t.token_count(), 3);        // does not move the position
  EXPECT_STREQ(t.next_token(), "two");
  EXPECT_STREQ(t.next_token(), "three");
  EXPECT_EQ(t.next_token(), nullptr);
  EXPECT_EQ(t.next_token(), nullptr);
  EXPECT_STREQ(t.first_token(), "one");  // ended: may start again
  t.stop();
  EXPECT_EQ(t.next_token(), nullptr);

  tokenizerClass none("a b", "");
  EXPECT_EQ(none.first_token(), nullptr);
  tokenizerClass empty(",,", ",");
  EXPECT_EQ(empty.first_token(), nullptr);
  EXPECT_EQ(empty.token_count(), 0);
  EXPECT_EQ(empty.next_token(), nullptr);
}
