// The entries of one folder as the folder trees list them: names that do not
// begin with ".", sorted by name (the platform returns them in no fixed
// order).
#ifndef DESKTOP_WINLIB_PANELS_FOLDER_ENTRIES_H
#define DESKTOP_WINLIB_PANELS_FOLDER_ENTRIES_H

#include <string>
#include <vector>

struct folderEntry {
  std::string name;
  bool is_folder;
};

// The entries of folder (a path ending in "\"): its sub-folders, and its
// files too when with_files is true. Empty for a folder that cannot be read.
std::vector<folderEntry> folder_entries(const char* folder, bool with_files);

#endif
