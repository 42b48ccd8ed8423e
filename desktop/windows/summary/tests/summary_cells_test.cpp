#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "desktop/data/tests/record_fixture.h"
#include "desktop/windows/summary/summary_cells.h"

TEST(SummaryCells, IntensityTextsByVersionAndFilter) {
  struct Case {
    int32_t version;
    int32_t intensity;
    float factor;
    const char* shown;
    const char* log;
  } cases[] = {
      {2999, 3000, 0.5f, "3000", "0.0"},     // before 3.0: as stored, the factor ignored
      {2500, 30000, 0.0f, "30000", "1.0"},
      {3030, 3000, 0.5f, "6000", "0.3"},     // a factor of 0.5 doubles it
      {3030, 3000, 1.0f, "3000", "0.0"},
      {3030, 3000, 0.0f, "3000", "0.0"},     // no factor
      {3030, 300, 1.0f, "300", "-1.0"},
      {3030, 0, 1.0f, "0", "---"},           // no log of 0
      {3030, -5, 1.0f, "-5", "---"},         // nor of a negative intensity
      {2000, -5, 1.0f, "-5", "---"},
      {3030, 3000, std::numeric_limits<float>::quiet_NaN(), "nan", "---"},
  };
  for (const Case& c : cases) {
    auto record = make_record();
    record->ProgramVersion = c.version;
    record->Config.Intensity = c.intensity;
    record->FilterValue = c.factor;
    EXPECT_EQ(intensity_text(*record), c.shown) << c.version << " " << c.intensity << " " << c.factor;
    EXPECT_EQ(log_intensity_text(*record), c.log) << c.version << " " << c.intensity << " " << c.factor;
  }
}

TEST(SummaryCells, SecondsBetweenFileTimesKeepTenths) {
  const uint64_t day = 133000000000000000ull;
  EXPECT_DOUBLE_EQ(file_time_seconds_between(day, day + 600000000ull), 60.0);
  EXPECT_DOUBLE_EQ(file_time_seconds_between(day, day + 1000000ull), 0.1);
  EXPECT_DOUBLE_EQ(file_time_seconds_between(day + 1000000ull, day), -0.1);
  EXPECT_DOUBLE_EQ(file_time_seconds_between(day, day), 0.0);
}
