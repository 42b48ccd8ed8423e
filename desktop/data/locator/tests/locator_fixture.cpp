#include "desktop/data/locator/tests/locator_fixture.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "desktop/data/tests/record_fixture.h"

void write_locator_test(const std::string& path, const char* test_id, int patient, double amplitude) {
  std::unique_ptr<testFileRecord> record = make_record();
  for (int i = 0; i < 19 && test_id[i] != '\0'; i++) record->TestId[i] = static_cast<char16_t>(test_id[i]);
  record->P = patient;
  // 250 ms at 4 points a millisecond, the flash 20 ms in: an a-wave trough
  // near 35 ms, a b-wave peak near 70 ms.
  const int points = 1000;
  std::vector<int32_t> values(points);
  for (int i = 0; i < points; i++) {
    const double t = i / 4.0 - 20.0;
    double v = 0.0;
    if (t > 0) {
      v = -0.4 * amplitude * std::exp(-std::pow((t - 15.0) / 7.0, 2.0)) +
          amplitude * std::exp(-std::pow((t - 50.0) / 18.0, 2.0));
    }
    values[static_cast<size_t>(i)] = static_cast<int32_t>(std::lround(v));
  }
  fill_block(record->Average, values, 1.0, 250, 20);
  fill_block(record->LastSweep, values, 1.0, 250, 20);
  write_bytes(path, test_file_bytes(*record));
}

void write_locator_tree(const std::string& root) {
  for (int k = 0; k <= tree_subfolders; k++) {
    std::string folder = root;
    if (k > 0) {
      folder += "s" + std::to_string(k) + "\\";
      std::filesystem::create_directories(folder);
    }
    for (int i = 0; i < tree_folder_files; i++) {
      char name[64];
      std::snprintf(name, sizeof name, "P%.2dS01T%.2d01%c.TST", k + 1, i / 2, i % 2 == 0 ? 'A' : 'B');
      char id[16];
      std::snprintf(id, sizeof id, "T%d-%d", k, i);
      write_locator_test(folder + name, id, k + 1, 40.0 + i);
    }
  }
}
