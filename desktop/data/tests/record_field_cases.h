// Every numeric field of a test record and of its two block headers set in
// turn to the values that break careless code: 0, 1, -1, the type's least
// and greatest values, and for floating fields NaN and both infinities.
#ifndef DESKTOP_DATA_TESTS_RECORD_FIELD_CASES_H
#define DESKTOP_DATA_TESTS_RECORD_FIELD_CASES_H

#include <string>
#include <vector>

#include "handheld/engine/storage/stored_records.h"

struct recordFieldCase {
  std::string name;  // "Config.RepeatInterval = -1"
  size_t offset;     // in the record
  std::vector<unsigned char> bytes;

  void apply(testFileRecord& record) const;
};

std::vector<recordFieldCase> record_field_cases();

#endif
