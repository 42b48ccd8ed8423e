#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/session_writer.h"
#include "handheld/engine/storage/stored_records.h"
#include "desktop/winlib/tests/temp_folder.h"

namespace {

uint64_t stored_test_time(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  fileTime time{};
  const size_t at = 1 + offsetof(testFileRecord, TestTime);  // the record starts at byte 1
  EXPECT_GE(bytes.size(), at + sizeof time) << path;
  if (bytes.size() >= at + sizeof time) std::memcpy(&time, bytes.data() + at, sizeof time);
  return (uint64_t{time.HighDateTime} << 32) | time.LowDateTime;
}

// The tests of a generated session follow one another a minute apart, past
// the point where a minute's count no longer fits the time's low word.
TEST(SessionWriter, TestsAreAMinuteApartInOrder) {
  temp_folder folder;
  sessionShape shape;
  shape.tests = 12;
  shape.samples = 1;
  shape.points = 100;
  const std::vector<std::string> paths = write_session(folder.path().string(), shape);
  ASSERT_EQ(paths.size(), 12u);
  constexpr uint64_t minute = 600000000u;  // in 100-nanosecond steps
  for (size_t i = 1; i < paths.size(); i++) {
    EXPECT_EQ(stored_test_time(paths[i]) - stored_test_time(paths[i - 1]), minute) << paths[i];
  }
}

}  // namespace
