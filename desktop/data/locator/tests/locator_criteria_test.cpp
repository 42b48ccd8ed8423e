#include <gtest/gtest.h>

#include <string>

#include "desktop/data/locator/locator_criteria.h"

TEST(LocatorCriteria, WildcardTable) {
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  } cases[] = {
      {nullptr, "anything", true},    {"", "", true},           {"*", nullptr, false},
      {"p*", "P12", true},            {"P?", "P12", false},     {"P??", "p12", true},
      {"\"*\"", "*", true},           {"\"*\"", "P12", false},  {"\"?\"12", "?12", true},
      {"  P12", "  P12  ", true},     {"P1", "P12", false},     {"*2", "P12", true},
      {"a*b*c", "aXXbYYc", true},     {"a*b*c", "aXXbYY", false}, {"*a*", "bab", true},
      {"J*ANE*", "jane doe", true},  {"J*X*", "jane doe", false},  {"*", "   ", true},
      {"x", "   ", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(wildcard_match(c.pattern, c.text), c.match)
        << (c.pattern ? c.pattern : "(null)") << " / " << (c.text ? c.text : "(null)");
  }
}

TEST(LocatorCriteria, ManyStarsAgainstALongTextStayLinear) {
  // Without care this pattern backtracks exponentially.
  std::string pattern;
  for (int i = 0; i < 30; ++i) pattern += "*a";
  pattern += "b";
  EXPECT_FALSE(wildcard_match(pattern.c_str(), std::string(5000, 'a').c_str()));
  EXPECT_TRUE(wildcard_match(pattern.c_str(), (std::string(5000, 'a') + "b").c_str()));
}

TEST(LocatorCriteria, EyeFromTheStoredName) {
  struct Case {
    const char* name;
    const char* eye;
    eyeCheck result;
  } cases[] = {
      {"P01S02T0304A.TST", "OD", eyeCheck::match},
      {"P01S02T0304A.TST", "od", eyeCheck::match},
      {"P01S02T0304A.TST", "OS", eyeCheck::no_match},
      {"P01S02T0304B.tst", "os", eyeCheck::match},
      {"P01S02T0304A0000000000.TST", "OD", eyeCheck::match},
      {"P01S02T0304B1234567890-SLAVE.TST", "OS", eyeCheck::match},
      {"P01S02T0304A12345.TST", "OS", eyeCheck::no_match},
      {"P01S02T0304A.TST", "X", eyeCheck::bad_eye},
      {"P01S02T0304A.TST", "", eyeCheck::bad_eye},
      {"short.TST", "OD", eyeCheck::bad_name},
      {".TST", "OD", eyeCheck::bad_name},
      {"T", "OD", eyeCheck::bad_name},
      {"", "OD", eyeCheck::bad_name},
      {"X01S02T0304A.TST", "OD", eyeCheck::bad_name},
      {"P01S02T0304A.SPL", "OD", eyeCheck::bad_name},
      {"P01S02T0304A12345678901.TST", "OD", eyeCheck::bad_name},
  };
  for (const Case& c : cases) EXPECT_EQ(check_eye(c.name, c.eye), c.result) << c.name << " " << c.eye;
  EXPECT_EQ(check_eye(nullptr, "OD"), eyeCheck::bad_name);
}

TEST(LocatorCriteria, ListTextCutsAtTheLastDot) {
  EXPECT_EQ(name_without_extension("P01S02T0304A.TST"), "P01S02T0304A");
  EXPECT_EQ(name_without_extension("a.b.TST"), "a.b");
  EXPECT_EQ(name_without_extension("plain"), "plain");
  EXPECT_EQ(name_without_extension(nullptr), "");
}
