#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/tests/message_capture.h"

namespace {

std::string content(const byteObjectClass& b) { return std::string(b.text(), static_cast<size_t>(b.length())); }

}  // namespace

TEST(ByteObject, GrowthOfSetAndAppend) {
  byteObjectClass b;
  EXPECT_EQ(b.length(), 0);
  EXPECT_EQ(b.capacity(), 8);
  EXPECT_STREQ(b.text(), "");
  b.append("abc");
  EXPECT_EQ(b.capacity(), 8);
  b.append("defgh");
  EXPECT_EQ(b.capacity(), 3 + 5 + 9);
  EXPECT_STREQ(b.text(), "abcdefgh");
  b.set_bytes("0123456789abcdefghij", 20);
  EXPECT_EQ(b.capacity(), 21);
  EXPECT_EQ(b.length(), 20);
  b.set("short");  // never shrinks
  EXPECT_EQ(b.capacity(), 21);
  EXPECT_STREQ(b.text(), "short");
  EXPECT_EQ(b.text()[b.length()], 0);
}

TEST(ByteObject, SettersOnNullAndEmptySources) {
  byteObjectClass b("keep");
  b.append(nullptr);
  b.append("");
  b.append_bytes(nullptr, 4);
  b.append_bytes("xy", 0);
  EXPECT_STREQ(b.text(), "keep");
  b.copy_string(nullptr);
  EXPECT_STREQ(b.text(), "");
  b.set("again");
  b.set(nullptr);
  EXPECT_EQ(b.length(), 0);
  b.set_bytes("abc", -1);
  EXPECT_EQ(b.length(), 0);
  byteObjectClass from_null(static_cast<const char*>(nullptr));
  EXPECT_STREQ(from_null.text(), "");
  EXPECT_EQ(from_null.capacity(), 8);
}

TEST(ByteObject, BytesWithNulsAndObjectForms) {
  const char raw[] = {'a', 'b', 0, 'x'};
  byteObjectClass four(raw, 4);
  byteObjectClass ab("ab");
  EXPECT_EQ(four.length(), 4);
  EXPECT_FALSE(ab.equals(four));
  EXPECT_TRUE(four.equals("ab"));  // as a text it ends at the NUL
  byteObjectClass copy;
  copy.assign(four);
  EXPECT_TRUE(copy.equals(four));
  copy.append_object(ab);
  EXPECT_EQ(content(copy), std::string("ab\0xab", 6));
  copy.append_char('!');
  EXPECT_EQ(copy.last_char(), '!');
  byteObjectClass built(ab);
  built = four;
  EXPECT_TRUE(built.equals(four));
}

TEST(ByteObject, SelfCopiesAreSafe) {
  byteObjectClass b("abcdef");
  b.append(b.text());  // grows: the old block is read before it goes
  EXPECT_STREQ(b.text(), "abcdefabcdef");
  b.append_object(b);
  EXPECT_STREQ(b.text(), "abcdefabcdefabcdefabcdef");
  b.set(b.text() + 18);
  EXPECT_STREQ(b.text(), "abcdef");
  b.set_substring(b.text(), 2, 4);
  EXPECT_STREQ(b.text(), "cde");
  b.set_substring(b, 1, -1);
  EXPECT_STREQ(b.text(), "de");
  b.assign(b);
  b.copy_string(b.text());
  EXPECT_STREQ(b.text(), "de");
}

TEST(ByteObject, Substrings) {
  const struct {
    const char* source;
    int first, last;
    const char* expected;
  } cases[] = {
      {"ABCDEFGHIJ", 0, 6, "ABCDEFG"},
      {"ABCDEFGHIJ", -1, 2, "ABC"},
      {"ABCDEFGHIJ", 7, -1, "HIJ"},
      {"ABCDEFGHIJ", -1, -1, "ABCDEFGHIJ"},
      {"ABCDEFGHIJ", 8, 50, "IJ"},   // a last index past the source
      {"ABCDEFGHIJ", 12, 15, ""},    // nothing of the source
      {"ABCDEFGHIJ", 5, 4, ""},      // first after last
      {"ABCDEFGHIJ", 3, 3, "D"},
      {"ABCDEFGHIJ", 2, -5, ""},
      {"", -1, -1, ""},
      {nullptr, -1, -1, ""},
      {nullptr, 0, 5, ""},
  };
  for (const auto& c : cases) {
    byteObjectClass b("previous");
    b.set_substring(c.source, c.first, c.last);
    EXPECT_STREQ(b.text(), c.expected) << (c.source ? c.source : "null") << " " << c.first << ".." << c.last;
    EXPECT_EQ(b.length(), static_cast<int>(std::strlen(c.expected)));
    byteObjectClass source(c.source ? c.source : "");
    byteObjectClass from_object("previous");
    from_object.set_substring(source, c.first, c.last);
    EXPECT_STREQ(from_object.text(), c.expected);
  }
}

TEST(ByteObject, CharactersAtTheEdges) {
  byteObjectClass empty;
  EXPECT_EQ(empty.last_char(), 0);
  EXPECT_EQ(empty.char_at(1), 0);
  EXPECT_EQ(empty.pop_char(), 0);
  byteObjectClass ab("ab");
  EXPECT_EQ(ab.last_char(), 'b');
  EXPECT_EQ(ab.char_at(1), 'a');
  EXPECT_EQ(ab.char_at(2), 'b');
  EXPECT_EQ(ab.char_at(3), 0);
  EXPECT_EQ(ab.char_at(0), 0);
  EXPECT_EQ(ab.char_at(-4), 0);
  EXPECT_EQ(ab.pop_char(), 'b');
  EXPECT_STREQ(ab.text(), "a");
  EXPECT_EQ(ab.length(), 1);
  byteObjectClass released("x");
  released.release_block();
  EXPECT_EQ(released.last_char(), 0);
  EXPECT_EQ(released.capacity(), 0);
  EXPECT_STREQ(released.text(), "");
  released.append("back");
  EXPECT_STREQ(released.text(), "back");
}

TEST(ByteObject, Trimming) {
  const struct {
    const char* text;
    int length;
    const char* right;  // after trim_right
    const char* both;   // after trim
  } cases[] = {
      {" ", 1, " ", " "},
      {"ab \t", 4, "ab", "ab"},
      {"  ab  ", 6, "  ab", "ab"},
      {"   ", 3, " ", " "},
      {"a", 1, "a", "a"},
      {"\t x y \t", 7, "\t x y", "x y"},
  };
  for (const auto& c : cases) {
    byteObjectClass right(c.text, c.length);
    right.trim_right();
    EXPECT_EQ(content(right), c.right) << '[' << c.text << ']';
    byteObjectClass both(c.text, c.length);
    both.trim();
    EXPECT_EQ(content(both), c.both) << '[' << c.text << ']';
  }
  const char with_nuls[] = {'a', ' ', 0, '\t', 0};
  byteObjectClass nuls(with_nuls, 5);
  nuls.trim_right();
  EXPECT_EQ(nuls.length(), 1);
  byteObjectClass empty;
  empty.trim();
  EXPECT_EQ(empty.length(), 0);
}

TEST(ByteObject, NumbersCaseAndComparison) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"42", 42}, {"-17xyz", -17}, {"  8", 8}, {"", 0}, {"abc", 0}, {"99999999999", 2147483647}};
  for (const auto& c : cases) EXPECT_EQ(byteObjectClass(c.text).to_int(), c.value) << c.text;
  byteObjectClass n;
  n.set_int(-2048);
  EXPECT_STREQ(n.text(), "-2048");
  byteObjectClass ext("tSt");
  EXPECT_TRUE(ext.equals_nocase("TST"));
  EXPECT_FALSE(ext.equals_nocase("TS"));
  EXPECT_FALSE(ext.equals_nocase(nullptr));
  EXPECT_FALSE(ext.equals("TST"));
  EXPECT_FALSE(ext.equals(nullptr));
  ext.to_upper();
  EXPECT_TRUE(ext.equals("TST"));
}

TEST(ByteObject, Printable) {
  const char raw[] = {0x41, 0x0a, 0x7f, static_cast<char>(0xff), 0};
  byteObjectClass b(raw, 5);
  EXPECT_STREQ(b.printable(), "A[0a]\x7f[ff][00]");
  const byteObjectClass& through_base = b;
  EXPECT_STREQ(through_base.printable(), "A[0a]\x7f[ff][00]");
}
