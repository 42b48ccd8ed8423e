// The remote-control line's text buffer and printable.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "handheld/engine/remote/text_buffer.h"

namespace {

TEST(TextBuffer, GrowsByItsRules) {
  textBuffer t;
  EXPECT_STREQ("", t.text());
  t.assign(nullptr, 0);  // empty: 8 bytes, empty text
  EXPECT_EQ(8, t.capacity());
  EXPECT_EQ(0, t.length());
  t.assign("abcdefghij", 10);  // exactly n + 1
  EXPECT_EQ(11, t.capacity());
  EXPECT_STREQ("abcdefghij", t.text());
  t.assign("xyz", 3);  // fits: no new array
  EXPECT_EQ(11, t.capacity());
  EXPECT_STREQ("xyz", t.text());
  t.append("1234567", 7);  // 11 < 3 + 7 + 2: grows to 3 + 7 + 9
  EXPECT_EQ(19, t.capacity());
  EXPECT_STREQ("xyz1234567", t.text());
  t.append("89", 2);  // 19 >= 10 + 2 + 2
  EXPECT_EQ(19, t.capacity());
  EXPECT_EQ(12, t.length());
  t.append(nullptr, 5);
  t.append("q", 0);
  t.append_text("");
  t.append_text(nullptr);
  EXPECT_STREQ("xyz123456789", t.text());
  t.assign_text(nullptr);
  EXPECT_STREQ("", t.text());
  t.append_text("after");  // appending to an empty text assigns
  EXPECT_STREQ("after", t.text());
}

// Its own text, or part of it, as the source: the bytes are copied before
// the old array is freed.
TEST(TextBuffer, TakesItsOwnText) {
  textBuffer t;
  t.assign_text("abcdef");
  t.append(t.text(), t.length());
  EXPECT_STREQ("abcdefabcdef", t.text());
  t.append_text(t.text() + 6);
  EXPECT_STREQ("abcdefabcdefabcdef", t.text());
  t.assign(t.text() + 3, 4);
  EXPECT_STREQ("defa", t.text());
}

TEST(TextBuffer, NumbersAndTheLastCharacter) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"", 0}, {"42", 42}, {"-7x", -7}, {"abc", 0}, {" 12", 12}};
  for (const Case& c : cases) {
    textBuffer t;
    t.assign_text(c.text);
    EXPECT_EQ(c.value, t.to_int()) << c.text;
  }
  textBuffer t;
  EXPECT_EQ(0, t.pop_last());
  t.assign_text("ab");
  EXPECT_EQ('b', t.pop_last());
  EXPECT_EQ('a', t.pop_last());
  EXPECT_EQ(0, t.pop_last());
  EXPECT_STREQ("", t.text());
}

TEST(Printable, ShowsControlAndHighBytesAsHex) {
  const unsigned char bytes[] = {65, 10, 200, 31, 32, 127, 128, 0};
  EXPECT_STREQ("A[0a][c8][1f] \x7f[80][00]", printable(bytes, sizeof bytes));
  EXPECT_STREQ("", printable(nullptr, 3));
}

TEST(Printable, EachThreadKeepsItsOwnText) {
  const unsigned char mine[] = {'m', 1};
  const char* kept = printable(mine, sizeof mine);
  std::string theirs;
  std::thread other([&] {
    const unsigned char bytes[] = {'t', 2, 3};
    for (int i = 0; i < 1000; ++i) theirs = printable(bytes, sizeof bytes);
  });
  for (int i = 0; i < 1000; ++i) ASSERT_STREQ("m[01]", printable(mine, sizeof mine));
  other.join();
  EXPECT_STREQ("m[01]", kept);
  EXPECT_EQ("t[02][03]", theirs);
}

}  // namespace
