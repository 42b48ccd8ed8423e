#include <gtest/gtest.h>

#include <string>

#include "intro_rules.h"

TEST(IntroRules, StartUpFileFromTheCommandLine) {
  struct Case {
    const char* line;
    const char* file;
  } cases[] = {
      {"\"C:\\tests\\P01S01T0101A.TST\"", "C:\\tests\\P01S01T0101A.TST"},
      {"C:\\te\"sts\\a.tst \t ", "C:\\tests\\a.tst"},
      {"C:\\s\\visit.S_F", "C:\\s\\visit.S_F"},
      {"C:\\s\\notes.txt", ""},
      {"", ""},
      {"C:\\a.b\\noextension", ""},
      {nullptr, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(start_up_file(c.line), c.file) << (c.line ? c.line : "(null)");
  EXPECT_EQ(start_up_file((std::string(300, 'x') + ".tst").c_str()), "");
}

TEST(IntroRules, ProgramFontSettingRoundTrip) {
  fontSetting font;
  ASSERT_TRUE(parse_font_setting("-13 0 0 0 400 0 0 0 0 3 2 1 34 Times New Roman\n", font));
  EXPECT_EQ(font.height, -13);
  EXPECT_EQ(font.weight, 400);
  EXPECT_EQ(font.pitch_and_family, 34);
  EXPECT_EQ(font.face, "Times New Roman");
  EXPECT_EQ(format_font_setting(font), "-13 0 0 0 400 0 0 0 0 3 2 1 34 Times New Roman\n");

  fontSetting again;
  ASSERT_TRUE(parse_font_setting(format_font_setting(font).c_str(), again));
  EXPECT_EQ(format_font_setting(again), format_font_setting(font));

  // At most three words of the face; values beyond a byte held to its range.
  ASSERT_TRUE(parse_font_setting("10 5 0 0 700 1 999 0 0 0 0 0 0 A B C D", font));
  EXPECT_EQ(font.face, "A B C");
  EXPECT_EQ(font.underline, 255);
  ASSERT_TRUE(parse_font_setting(("10 5 0 0 700 1 0 0 0 0 0 0 0 " + std::string(80, 'F')).c_str(), font));
  EXPECT_EQ(font.face.size(), 31u);

  fontSetting kept;
  kept.face = "kept";
  EXPECT_FALSE(parse_font_setting("10 5 0", kept));
  EXPECT_FALSE(parse_font_setting(nullptr, kept));
  EXPECT_EQ(kept.face, "kept");
}

TEST(IntroRules, DropKinds) {
  EXPECT_EQ(classify_drop("CSV"), dropKind::trace_text);
  EXPECT_EQ(classify_drop("xy"), dropKind::trace_text);
  EXPECT_EQ(classify_drop("Txt"), dropKind::trace_text);
  EXPECT_EQ(classify_drop("st_"), dropKind::state_file);
  EXPECT_EQ(classify_drop("SPL"), dropKind::sample_file);
  EXPECT_EQ(classify_drop("tst"), dropKind::session);
  EXPECT_EQ(classify_drop("S_F"), dropKind::session);
  EXPECT_EQ(classify_drop("bmp"), dropKind::unknown);
  EXPECT_EQ(classify_drop(""), dropKind::unknown);
}

TEST(IntroRules, FirstLayoutWidths) {
  struct Case {
    double logo, banner, row, width;
    bool centred;
  } cases[] = {
      {100, 80, 90, 125, true},    // the framed logo is widest
      {100, 80, 150, 155, false},  // the row is wider than the logo's box
      {60, 120, 100, 135, true},   // the banner is widest
      {60, 120, 130, 135, false},  // the row is wider than the banner
      {110, 120, 120, 135, true},  // box == banner: the banner decides
  };
  for (const Case& c : cases) {
    introLayout l = first_layout(c.logo, c.banner, c.row);
    EXPECT_DOUBLE_EQ(l.width, c.width) << c.logo << " " << c.banner << " " << c.row;
    EXPECT_EQ(l.centred, c.centred) << c.logo << " " << c.banner << " " << c.row;
  }
}
