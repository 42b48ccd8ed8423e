#include <gtest/gtest.h>

#include <string>

#include "desktop/windows/trace_panels/plot_attributes_rules.h"

TEST(PlotAttributesRules, FillAndWidthEntries) {
  struct {
    int32_t points_only, dash;
    int entry;
  } fills[] = {{1, 0, 0}, {1, 5, 0}, {0, 0, 1}, {0, 2, 2}, {0, 5, 3}, {0, 10, 4}, {0, 3, -1}, {2, 2, 2}};
  for (const auto& f : fills) EXPECT_EQ(fill_entry(f.points_only, f.dash), f.entry) << f.points_only << f.dash;

  fillStyle expected[] = {{1, 0}, {0, 0}, {0, 2}, {0, 5}, {0, 10}};
  for (int i = 0; i < 5; i++) {
    fillStyle style{-7, -7};
    ASSERT_TRUE(fill_style(i, &style));
    EXPECT_EQ(style.points_only, expected[i].points_only) << i;
    EXPECT_EQ(style.dash_period, expected[i].dash_period) << i;
    EXPECT_EQ(fill_entry(style.points_only, style.dash_period), i);
  }
  fillStyle kept{-7, -7};
  EXPECT_FALSE(fill_style(5, &kept));
  EXPECT_FALSE(fill_style(-1, &kept));
  EXPECT_EQ(kept.points_only, -7);

  EXPECT_EQ(width_entry(1), 0);
  EXPECT_EQ(width_entry(5), 4);
  EXPECT_EQ(width_entry(0), -1);
  EXPECT_EQ(width_entry(6), -1);
  EXPECT_EQ(line_colour_values[7], 9);
}

TEST(PlotAttributesRules, LowpassEntries) {
  struct {
    const char* typed;
    lowpassEntry kind;
    double frequency;
    const char* text;
  } cases[] = {
      {"150", lowpassEntry::not_committed, 0.0, "150"},
      {"1000;", lowpassEntry::accepted, 1000.0, "1000"},
      {"3;", lowpassEntry::accepted, 3.0, "3"},
      {"1;50;", lowpassEntry::accepted, 150.0, "150"},
      {"2.5e2;", lowpassEntry::accepted, 250.0, "2.5e2"},
      {"1000.5;", lowpassEntry::refused, 0.0, "1000.5"},
      {"2;", lowpassEntry::refused, 0.0, "2"},
      {"2.99;", lowpassEntry::refused, 0.0, "2.99"},
      {"abc;", lowpassEntry::refused, 0.0, "abc"},
      {" ;", lowpassEntry::refused, 0.0, " "},
      {"nan;", lowpassEntry::refused, 0.0, "nan"},
      {"inf;", lowpassEntry::refused, 0.0, "inf"},
      {";", lowpassEntry::empty, 0.0, ""},
      {";;", lowpassEntry::empty, 0.0, ""},
      {"", lowpassEntry::not_committed, 0.0, ""},
      {nullptr, lowpassEntry::not_committed, 0.0, ""},
  };
  for (const auto& c : cases) {
    lowpassEntryResult r = read_lowpass_entry(c.typed);
    const char* label = c.typed ? c.typed : "(null)";
    EXPECT_EQ(r.kind, c.kind) << label;
    EXPECT_EQ(r.frequency, c.frequency) << label;
    EXPECT_EQ(r.text, c.text) << label;
  }
  // Only the first 128 characters are read: a ";" beyond them commits
  // nothing.
  EXPECT_EQ(read_lowpass_entry((std::string(128, '5') + ";").c_str()).kind, lowpassEntry::not_committed);
}
