#include "desktop/winlib/panels/folder_entries.h"

#include <algorithm>

#include "desktop/winlib/files/directory_scan.h"

std::vector<folderEntry> folder_entries(const char* folder, bool with_files) {
  std::vector<folderEntry> entries;
  if (folder == nullptr || folder[0] == '\0') return entries;
  directoryScanClass scan;
  std::string pattern = std::string(folder) + "*";
  if (!scan.reset(pattern.c_str())) return entries;
  for (const char* name = scan.next_file(); name != nullptr; name = scan.next_file()) {
    if (name[0] == '.') continue;
    const bool is_folder = scan.is_directory();
    if (is_folder || with_files) entries.push_back({name, is_folder});
  }
  std::sort(entries.begin(), entries.end(),
            [](const folderEntry& a, const folderEntry& b) { return a.name < b.name; });
  return entries;
}
