// Session lists (".s_f" files): the lines are the file's non-empty lines in order
// (LF, CR, CR LF or a zero byte end one), up to a byte 255 or a line too
// long; each line's series pattern is the line itself or its folder and
// test prefix with "*.tst".
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "desktop/data/session/session_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> expected;
  std::string line;
  bool ended = false;
  for (size_t i = 0; i < size && !ended; ++i) {
    const uint8_t c = data[i];
    if (c == 255) {
      ended = true;
    } else if (c == '\n' || c == '\r' || c == 0) {
      if (!line.empty()) expected.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(c));
      if (line.size() >= special_session_line_limit) {
        line.clear();
        ended = true;
      }
    }
  }
  if (!ended && !line.empty()) expected.push_back(line);
  const std::vector<std::string> lines = special_session_lines(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(lines == expected);
  for (const std::string& l : lines) {
    const std::string pattern = make_series_pattern(l);
    FUZZ_CHECK(pattern == l || pattern == path_folder(l) + path_base_name(l).substr(0, 6) + "*.tst");
  }
  return 0;
}
