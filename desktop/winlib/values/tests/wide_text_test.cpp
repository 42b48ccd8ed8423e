// UTF-8 and UTF-16 text both ways: every script a folder name may hold, text
// beyond the basic plane, and the text that is not well formed.
#include <gtest/gtest.h>

#include <string>

#include "desktop/winlib/values/wide_text.h"

TEST(WideText, NamesInEveryScriptGoBothWaysWhole) {
  const std::u16string names[] = {
      u"",
      u"plain ASCII \\ path.tst",
      u"P\u00e4ti\u00ebnt M\u00fcller \u65e5\u672c \u03a9\u03bc\u03ad\u03b3\u03b1 \u0142\u00f3d\u017a",
      u"clef \U0001D11E and \U0010FFFF",
  };
  for (const std::u16string& name : names) {
    std::string utf8 = utf8_text(name);
    EXPECT_EQ(utf16_text(utf8.c_str()), name) << utf8;
  }
  EXPECT_EQ(utf8_text(u"\u00e4\u65e5\U0001D11E"), "\xC3\xA4\xE6\x97\xA5\xF0\x9D\x84\x9E");
}

TEST(WideText, RecordTextEndsAtItsZeroOrItsRoom) {
  const char16_t field[6] = {u'A', u'\u00df', u'C', 0, u'D', u'E'};
  EXPECT_EQ(utf8_text(field, 6), "A\xC3\x9F" "C");
  EXPECT_EQ(utf8_text(field, 2), "A\xC3\x9F");
  const char16_t full[3] = {u'x', u'y', u'z'};  // no 0: the room ends it
  EXPECT_EQ(utf8_text(full, 3), "xyz");
  EXPECT_EQ(utf8_text(nullptr, 4), "");
  EXPECT_EQ(utf16_text(nullptr), u"");
  // A pair cut by the room is not read past it.
  const char16_t pair[2] = {0xD834, 0xDD1E};
  EXPECT_EQ(utf8_text(pair, 1), "\xEF\xBF\xBD");
}

TEST(WideText, TextNotWellFormedBecomesTheReplacementCharacter) {
  const struct {
    const char* utf8;
    std::u16string utf16;
  } cases[] = {
      {"a\xE4z", u"a\uFFFDz"},                 // a Latin-1 byte
      {"\xC3", u"\uFFFD"},                     // cut at the end
      {"\xE6\x97z", u"\uFFFD\uFFFDz"},         // cut in the middle
      {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\x80x", u"\uFFFDx"},                    // a stray continuation
  };
  for (const auto& c : cases) EXPECT_EQ(utf16_text(c.utf8), c.utf16) << c.utf8;
  const char16_t lone[] = {u'a', 0xDC00, u'b', 0xD800, 0};
  EXPECT_EQ(utf8_text(lone, 8), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
}
