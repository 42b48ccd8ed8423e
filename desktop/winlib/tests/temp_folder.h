// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends.
#ifndef DESKTOP_WINLIB_TESTS_TEMP_FOLDER_H
#define DESKTOP_WINLIB_TESTS_TEMP_FOLDER_H

#include <filesystem>
#include <string>

class temp_folder {
 public:
  temp_folder();
  ~temp_folder();
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of name inside the folder, as narrow text.
  std::string file(const std::string& name) const;
  // Creates a file holding text (and the folders above it).
  void write(const std::string& name, const std::string& text) const;

 private:
  std::filesystem::path path_;
};

#endif
