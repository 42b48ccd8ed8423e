#include "tools/session_writer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>

#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/storage/stored_records.h"

namespace {

constexpr double raw_per_microvolt = 100.0;  // the record's scale is its inverse

// One sweep in microvolts at time t (mS from the flash): a-wave trough and
// b-wave peak, mains hum, noise, and now and then a spike.
double sweep_value(double t, double hum_phase, std::mt19937& random) {
  const double pi = std::acos(-1.0);
  double value = 2.0;
  if (t > 0.0) {
    value += -35.0 * std::exp(-std::pow((t - 18.0) / 6.0, 2.0));
    value += 90.0 * std::exp(-std::pow((t - 48.0) / 14.0, 2.0));
  }
  value += 12.0 * std::sin(2.0 * pi * 60.0 * t / 1000.0 + hum_phase);
  std::normal_distribution<double> noise(0.0, 4.0);
  value += noise(random);
  if (random() % 4000 == 0) value += 150.0;
  return value;
}

bool write_file(const std::string& path, const uint8_t* bytes, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_session: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

void fill_sweep(samplesBlock& block, const sessionShape& shape, std::mt19937& random) {
  init_samples_block(block);
  block.PointCount = shape.points;
  block.Time = static_cast<uint32_t>(shape.total_ms);
  block.CollectionTime = static_cast<uint32_t>(shape.pre_ms);
  std::uniform_real_distribution<double> phase(0.0, 6.283);
  double hum_phase = phase(random);
  double step = static_cast<double>(shape.total_ms) / shape.points;
  for (int i = 0; i < shape.points; i++) {
    double t = i * step - shape.pre_ms;
    block.Data[i] = static_cast<int32_t>(std::lround(sweep_value(t, hum_phase, random) * raw_per_microvolt));
  }
}

}  // namespace

std::vector<std::string> write_session(const std::string& folder, const sessionShape& shape) {
  std::vector<std::string> tests;
  if (shape.points < 1 || shape.points > kSamplesPerBlock || shape.samples < 0 || shape.tests < 0) {
    std::fprintf(stderr, "make_session: a block holds 1 to %d points\n", kSamplesPerBlock);
    return tests;
  }
  std::mt19937 random(20241210);
  std::unique_ptr<testFileRecord> record(new testFileRecord());
  std::vector<uint8_t> test_bytes(1 + sizeof(testFileRecord));
  std::vector<uint8_t> block_bytes(sizeof(samplesBlock));
  for (int n = 0; n < shape.tests; n++) {
    *record = testFileRecord();
    init_test_record(*record);
    const char16_t id[] = u"0000001234";
    std::copy(id, id + 11, record->TestId);
    record->ProgramVersion = 3024;
    // A minute apart, counted in 64 bits: a minute is 600000000 file time
    // units, so the low word alone overflows within a few tests.
    const uint64_t time = (uint64_t{0x01db0000u} << 32) + static_cast<uint64_t>(n) * 600000000u;
    record->TestTime = fileTime{static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32)};
    record->FilterValue = 1.0f;
    record->Eye = u'D';
    record->FlickerMark = u'N';
    record->P = 1;
    record->S = 1;
    record->T = n / 10 + 1;
    record->N = n % 10 + 1;
    record->Config.Scale = 1.0 / raw_per_microvolt;
    record->Config.Offset = 0.0;
    record->Config.PreTime = shape.pre_ms;
    record->Config.PostTime = shape.total_ms - shape.pre_ms;

    char base[64];
    std::snprintf(base, sizeof base, "P%.2dS%.2dT%.2d%.2dA", static_cast<int>(record->P),
                  static_cast<int>(record->S), static_cast<int>(record->T), static_cast<int>(record->N));
    std::string stem = folder + "\\" + base;

    samplesBlock& sum = record->Average;
    init_samples_block(sum);
    sum.PointCount = shape.points;
    sum.Time = static_cast<uint32_t>(shape.total_ms);
    sum.CollectionTime = static_cast<uint32_t>(shape.pre_ms);
    // As the unit stores them: every sweep but the last as a sample file,
    // the last in the record only.
    int sweeps = shape.samples > 0 ? shape.samples : 1;
    sum.Divisor = sweeps;
    for (int s = 0; s < sweeps; s++) {
      fill_sweep(record->LastSweep, shape, random);
      for (int i = 0; i < shape.points; i++) sum.Data[i] += record->LastSweep.Data[i];
      if (s == sweeps - 1) continue;
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, "-%02d.spl", s);
      samples_block_to_bytes(record->LastSweep, block_bytes.data(), block_bytes.size());
      if (!write_file(stem + suffix, block_bytes.data(), block_bytes.size())) return {};
    }
    test_bytes[0] = 0;
    test_record_to_bytes(*record, test_bytes.data() + 1, sizeof(testFileRecord));
    if (!write_file(stem + ".TST", test_bytes.data(), test_bytes.size())) return {};
    tests.push_back(stem + ".TST");
  }
  return tests;
}
