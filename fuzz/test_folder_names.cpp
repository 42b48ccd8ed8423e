// The recovery of P and S from the names in a test folder: the result is
// that of the last name, in name order, of the form "P??S??T??*.TST" (letters
// in either case) whose P and S are digits, or -1 when there is none.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

bool upper_equal(char a, char b) {
  return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

bool digit(char c) { return c >= '0' && c <= '9'; }

// "P??S??T??" at the start and ".TST" at the end, with P and S digits.
int numbers_of(const std::string& name) {
  if (name.size() < 13 || !upper_equal(name[0], 'P') || !upper_equal(name[3], 'S') || !upper_equal(name[6], 'T'))
    return -1;
  const std::string end = name.substr(name.size() - 4);
  if (!upper_equal(end[0], '.') || !upper_equal(end[1], 'T') || !upper_equal(end[2], 'S') ||
      !upper_equal(end[3], 'T'))
    return -1;
  if (!digit(name[1]) || !digit(name[2]) || !digit(name[4]) || !digit(name[5])) return -1;
  return ((name[1] - '0') * 10 + name[2] - '0') * 100 + (name[4] - '0') * 10 + name[5] - '0';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path folder = fuzz_card() / "T240315_CFC7";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  // Names of the input's lines, in characters a file name can hold.
  std::vector<std::string> names;
  std::string name;
  for (size_t i = 0; i <= size && names.size() < 24; ++i) {
    if (i == size || data[i] == '\n') {
      if (!name.empty() && name != "." && name != ".." && name.size() <= 40 &&
          std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(name);
      }
      name.clear();
    } else if (std::isalnum(data[i]) || data[i] == '.' || data[i] == '-' || data[i] == '_') {
      name.push_back(static_cast<char>(data[i]));
    }
  }
  for (const std::string& n : names) fuzz_write("T240315_CFC7/" + n, std::string());
  std::sort(names.begin(), names.end());
  int expected = -1;
  for (const std::string& n : names) {
    if (numbers_of(n) >= 0) expected = numbers_of(n);
  }
  erg_directory_index = 0;
  FUZZ_CHECK(set_ERG_directory(true));
  FUZZ_CHECK(last_test_numbers() == expected);
  return 0;
}
