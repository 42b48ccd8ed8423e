#include <gtest/gtest.h>

#include "desktop/windows/trace_panels/separation_rules.h"

TEST(SeparationRules, TextsAndTheOffsetsTheyStandFor) {
  struct {
    const char* text;
    double value;
  } cases[] = {
      {"12", 12.0}, {"-2.5", -2.5}, {" 4e1", 40.0}, {"7mS", 7.0}, {"", 0.0},
      {"abc", 0.0}, {"nan", 0.0},   {"inf", 0.0},   {"-inf", 0.0}, {nullptr, 0.0},
  };
  for (const auto& c : cases) EXPECT_EQ(separation_value(c.text), c.value) << (c.text ? c.text : "(null)");
}
