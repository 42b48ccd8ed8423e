#include "handheld/engine/acquisition/unit_conversions.h"

#include <cmath>

namespace {

using conversion = int (*)(double x, double& out);

constexpr double kThird = 1.0 / 3.0;
constexpr double kThreeThousandth = 1.0 / 3000.0;
constexpr double kSixtieth = 1.0 / 60.0;
constexpr double kMilli = 0.001;

double reciprocal(double x) { return x > 0.0 ? 1.0 / x : 0.0; }

// A logarithm of a value at or below 0 does not convert.
int log10_of(double x, double& out) {
  if (!(x > 0.0)) return 0;
  out = std::log10(x);
  return 1;
}

int copy(double x, double& out) { out = x; return 1; }
int times_1000(double x, double& out) { out = x * 1000.0; return 1; }
int times_milli(double x, double& out) { out = x * kMilli; return 1; }
int over_3(double x, double& out) { out = x * kThird; return 1; }
int times_3(double x, double& out) { out = x * 3.0; return 1; }
int over_3000(double x, double& out) { out = x * kThreeThousandth; return 1; }
int times_3000(double x, double& out) { out = x * 3000.0; return 1; }
int over_60(double x, double& out) { out = x * kSixtieth; return 1; }
int times_60(double x, double& out) { out = x * 60.0; return 1; }
int times_60000(double x, double& out) { out = x * 60.0 * 1000.0; return 1; }
int log_over_3(double x, double& out) { return log10_of(x * kThird, out); }
int log_over_3000(double x, double& out) { return log10_of(x * kThreeThousandth, out); }
int log_plain(double x, double& out) { return log10_of(x, out); }
int power(double x, double& out) { out = std::pow(10.0, x); return 1; }
int three_power(double x, double& out) { out = 3.0 * std::pow(10.0, x); return 1; }
int ceil_3000_power(double x, double& out) { out = std::ceil(3000.0 * std::pow(10.0, x)); return 1; }
int recip(double x, double& out) { out = reciprocal(x); return 1; }
int milli_then_recip(double x, double& out) { out = reciprocal(x * kMilli); return 1; }
int milli_then_60th(double x, double& out) { out = (x * kMilli) * kSixtieth; return 1; }
int times_60_then_recip(double x, double& out) { out = reciprocal(x * 60.0); return 1; }
int recip_then_1000(double x, double& out) { out = reciprocal(x) * 1000.0; return 1; }
int recip_then_60th(double x, double& out) { out = reciprocal(x) * kSixtieth; return 1; }

struct pairEntry {
  int from;
  int to;
  conversion apply;
};

// The off-diagonal pairs that convert; every unit converts to itself.
constexpr pairEntry kPairs[] = {
    {kUnitCD, kUnitMCD, times_1000},         {kUnitMCD, kUnitCD, times_milli},
    {kUnitCDS, kUnitMCDS, times_1000},       {kUnitCDS, kUnitSF, over_3},
    {kUnitCDS, kUnitLSF, log_over_3},        {kUnitMCDS, kUnitCDS, times_milli},
    {kUnitMCDS, kUnitSF, over_3000},         {kUnitMCDS, kUnitLSF, log_over_3000},
    {kUnitSF, kUnitCDS, times_3},            {kUnitSF, kUnitMCDS, times_3000},
    {kUnitSF, kUnitLSF, log_plain},          {kUnitLSF, kUnitCDS, three_power},
    {kUnitLSF, kUnitMCDS, ceil_3000_power},  {kUnitLSF, kUnitSF, power},
    {kUnitSEC, kUnitMSEC, times_1000},       {kUnitSEC, kUnitMIN, over_60},
    {kUnitSEC, kUnitHZ, recip},              {kUnitMSEC, kUnitSEC, times_milli},
    {kUnitMSEC, kUnitMIN, milli_then_60th},  {kUnitMSEC, kUnitHZ, milli_then_recip},
    {kUnitMIN, kUnitSEC, times_60},          {kUnitMIN, kUnitMSEC, times_60000},
    {kUnitMIN, kUnitHZ, times_60_then_recip}, {kUnitHZ, kUnitSEC, recip},
    {kUnitHZ, kUnitMSEC, recip_then_1000},   {kUnitHZ, kUnitMIN, recip_then_60th},
    {kUnitOPD, kUnitDIV, power},             {kUnitDIV, kUnitOPD, log_plain},
};

constexpr int kUnits = 12;

// The 12 x 12 matrix, indexed by (from - 1) * 12 + (to - 1); null entries do
// not convert.
struct conversionMatrix {
  conversion entry[kUnits * kUnits] = {};
  conversionMatrix() {
    for (int u = 0; u < kUnits; ++u) entry[u * kUnits + u] = copy;
    for (const pairEntry& p : kPairs) entry[(p.from - 1) * kUnits + (p.to - 1)] = p.apply;
  }
};

const conversionMatrix kMatrix;

}  // namespace

int convert_unit(int from, int to, double value, double& out) {
  if (from < 1 || from > kUnits || to < 1 || to > kUnits) return 0;
  conversion apply = kMatrix.entry[(from - 1) * kUnits + (to - 1)];
  if (apply == nullptr) return 0;
  return apply(value, out);
}
