#include "desktop/windows/fft_graphs/tests/erg_test_file.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "desktop/data/tests/record_fixture.h"

namespace {

constexpr int point_count = 400;
constexpr double total_ms = 200.0;
constexpr double pi = 3.14159265358979323846;

// Tenths of a microvolt.
std::vector<int32_t> raw_values() {
  std::vector<int32_t> v(point_count);
  for (int i = 0; i < point_count; i++) {
    double t = i * total_ms / point_count - erg_test_preflash_ms;
    double y = 0.0;
    if (t > 0)
      y = -60.0 * std::exp(-std::pow((t - 15.0) / 5.0, 2)) + 150.0 * std::exp(-std::pow((t - 40.0) / 12.0, 2)) +
          10.0 * std::sin(2 * pi * 140 * t / 1000.0) * std::exp(-std::pow((t - 30.0) / 10.0, 2));
    v[i] = static_cast<int32_t>(std::lround(y * 10.0));
  }
  return v;
}

}  // namespace

std::string write_erg_test(const temp_folder& folder, const std::string& name) {
  auto record = make_record();
  record->ProgramVersion = 3030;
  record->P = 1;
  record->S = 2;
  record->T = 3;
  record->N = 1;
  record->Eye = u'D';
  record->FlickerMark = u'N';
  record->Config.RepeatCount = 1;
  record->Config.RepeatInterval = 1000;
  record->Config.PreTime = static_cast<int32_t>(erg_test_preflash_ms);
  record->Config.PostTime = 180;
  const char16_t id[] = u"PATIENT01 ";
  for (int i = 0; i < 10; i++) record->TestId[i] = id[i];
  std::vector<int32_t> values = raw_values();
  fill_block(record->Average, values, 10.0, static_cast<uint32_t>(total_ms),
             static_cast<uint32_t>(erg_test_preflash_ms));
  fill_block(record->LastSweep, values, 10.0, static_cast<uint32_t>(total_ms),
             static_cast<uint32_t>(erg_test_preflash_ms));
  std::string path = folder.file(name);
  write_bytes(path, test_file_bytes(*record));
  return path;
}
