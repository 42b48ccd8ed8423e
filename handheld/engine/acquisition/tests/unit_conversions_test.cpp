#include <gtest/gtest.h>

#include <cmath>

#include "handheld/engine/acquisition/unit_conversions.h"

namespace {

TEST(ConvertUnit, TableOfConversions) {
  struct row {
    int from, to;
    double in, expected;
  };
  const row rows[] = {
      {kUnitCD, kUnitMCD, 2.5, 2500},          {kUnitMCD, kUnitCD, 2500, 2500 * 0.001},
      {kUnitCDS, kUnitMCDS, 3, 3000},          {kUnitCDS, kUnitSF, 6, 6 * (1.0 / 3)},
      {kUnitCDS, kUnitLSF, 30, 1},             {kUnitMCDS, kUnitCDS, 3000, 3000 * 0.001},
      {kUnitMCDS, kUnitSF, 6000, 6000 * (1.0 / 3000)},
      {kUnitMCDS, kUnitLSF, 300, std::log10(300 * (1.0 / 3000))},
      {kUnitSF, kUnitCDS, 2, 6},               {kUnitSF, kUnitMCDS, 2, 6000},
      {kUnitSF, kUnitLSF, 100, 2},             {kUnitLSF, kUnitCDS, 1, 30},
      {kUnitLSF, kUnitMCDS, 0, 3000},          {kUnitLSF, kUnitMCDS, -0.5, 949},
      {kUnitLSF, kUnitSF, 2, 100},             {kUnitSEC, kUnitMSEC, 1.5, 1500},
      {kUnitSEC, kUnitMIN, 90, 90 * (1.0 / 60)}, {kUnitSEC, kUnitHZ, 0.5, 2},
      {kUnitSEC, kUnitHZ, 0, 0},               {kUnitMSEC, kUnitSEC, 250, 250 * 0.001},
      {kUnitMSEC, kUnitMIN, 90000, (90000 * 0.001) * (1.0 / 60)},
      {kUnitMSEC, kUnitHZ, 250, 1 / (250 * 0.001)}, {kUnitMSEC, kUnitHZ, -3, 0},
      {kUnitMIN, kUnitSEC, 2, 120},            {kUnitMIN, kUnitMSEC, 2, 120000},
      {kUnitMIN, kUnitHZ, 0.5, 1.0 / 30},      {kUnitMIN, kUnitHZ, 0, 0},
      {kUnitHZ, kUnitSEC, 4, 0.25},            {kUnitHZ, kUnitSEC, 0, 0},
      {kUnitHZ, kUnitMSEC, 4, 250},            {kUnitHZ, kUnitMSEC, -1, 0},
      {kUnitHZ, kUnitMIN, 0.5, 2 * (1.0 / 60)}, {kUnitOPD, kUnitDIV, 2, 100},
      {kUnitDIV, kUnitOPD, 1000, 3},
  };
  for (const row& r : rows) {
    double out = -1;
    EXPECT_EQ(convert_unit(r.from, r.to, r.in, out), 1) << r.from << "->" << r.to;
    EXPECT_DOUBLE_EQ(out, r.expected) << r.from << "->" << r.to << " of " << r.in;
  }
  for (int u = 1; u <= 12; ++u) {
    double out = 0;
    EXPECT_EQ(convert_unit(u, u, -7.25, out), 1);
    EXPECT_EQ(out, -7.25);
  }
}

TEST(ConvertUnit, OnlyTheTablesPairsConvert) {
  int converting = 0;
  for (int from = 1; from <= 12; ++from) {
    for (int to = 1; to <= 12; ++to) {
      double out = 0;
      converting += convert_unit(from, to, 2.0, out);
    }
  }
  EXPECT_EQ(converting, 12 + 28);
}

TEST(ConvertUnit, FailuresLeaveTheOutputUntouched) {
  struct row {
    int from, to;
    double in;
  };
  const row rows[] = {
      {kUnitCD, kUnitCDS, 1},  {kUnitSEC, kUnitCD, 1},  {0, kUnitCD, 1},      {kUnitCD, 0, 1},
      {13, kUnitHZ, 1},        {kUnitHZ, 13, 1},        {-1, -1, 1},          {1000000, 2, 1},
      {kUnitCDS, kUnitLSF, 0}, {kUnitCDS, kUnitLSF, -3}, {kUnitMCDS, kUnitLSF, 0},
      {kUnitSF, kUnitLSF, 0},  {kUnitSF, kUnitLSF, -1}, {kUnitDIV, kUnitOPD, 0},
      {kUnitDIV, kUnitOPD, -10}, {kUnitDIV, kUnitOPD, std::nan("")},
  };
  for (const row& r : rows) {
    double out = 12345.0;
    EXPECT_EQ(convert_unit(r.from, r.to, r.in, out), 0) << r.from << "->" << r.to << " " << r.in;
    EXPECT_EQ(out, 12345.0);
  }
}

}  // namespace
