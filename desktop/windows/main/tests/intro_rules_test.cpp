#include <gtest/gtest.h>

#include <string>

#include "desktop/windows/main/intro_rules.h"

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
