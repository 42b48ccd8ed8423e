#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/data/session/session_files.h"

namespace {

std::vector<std::string> lines_of(const std::string& bytes) { return special_session_lines(bytes.data(), bytes.size()); }

}  // namespace

TEST(SessionFiles, SpecialSessionLineTable) {
  using L = std::vector<std::string>;
  struct Case {
    std::string bytes;
    L lines;
  } cases[] = {
      {"a.tst\nb.tst\n", {"a.tst", "b.tst"}},
      {"a.tst\r\nb.tst\r\n", {"a.tst", "b.tst"}},
      {"a.tst\rb.tst", {"a.tst", "b.tst"}},
      {"\n\r\n\na.tst\n\n\nb.tst", {"a.tst", "b.tst"}},
      {std::string("a.tst\0b.tst", 11), {"a.tst", "b.tst"}},
      {"a.tst\n\xff" "b.tst\n", {"a.tst"}},
      {"", {}},
      {"a.tst\n" + std::string(259, 'x') + "\nb.tst\n", {"a.tst"}},
      {"a.tst\n" + std::string(258, 'x') + "\nb.tst\n", {"a.tst", std::string(258, 'x'), "b.tst"}},
  };
  for (const Case& c : cases) EXPECT_EQ(lines_of(c.bytes), c.lines) << c.bytes.substr(0, 20);
}

TEST(SessionFiles, SeriesPatterns) {
  struct Case {
    const char* path;
    const char* pattern;
  } cases[] = {
      {"C:\\d\\P01S02T0301.tst", "C:\\d\\P01S02*.tst"},
      {"C:\\d\\P01S02T0301A0000000000.TST", "C:\\d\\P01S02*.tst"},
      {"C:\\d\\test1.tst", "C:\\d\\test1.tst"},
      {"C:\\d\\P01S02T0301.s_f", "C:\\d\\P01S02T0301.s_f"},
      {"P01S02T.tst", "P01S02*.tst"},
      {"C:\\d.x\\P01", "C:\\d.x\\P01"},
      {"p01s02t0301.tst", "p01s02t0301.tst"},
  };
  for (const Case& c : cases) EXPECT_EQ(make_series_pattern(c.path), c.pattern) << c.path;
  EXPECT_EQ(path_folder("C:\\a.b\\c"), "C:\\a.b\\");
  EXPECT_EQ(path_base_name("C:\\a.b\\c"), "c");
  EXPECT_EQ(path_extension("C:\\a.b\\c"), "");
  EXPECT_EQ(path_extension("C:\\a\\x.S_F"), "S_F");
}
