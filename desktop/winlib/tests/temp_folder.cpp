#include "desktop/winlib/tests/temp_folder.h"

#include <fstream>
#include <random>

temp_folder::temp_folder() {
  std::random_device seed;
  std::mt19937 random(seed());
  for (;;) {
    path_ = std::filesystem::temp_directory_path() / ("winlib_test_" + std::to_string(random()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

temp_folder::~temp_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string temp_folder::file(const std::string& name) const { return (path_ / name).string(); }

void temp_folder::write(const std::string& name, const std::string& text) const {
  std::filesystem::path p = path_ / name;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}
