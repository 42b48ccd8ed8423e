#include "desktop/data/document_platform.h"

#include <windows.h>

#include "desktop/winlib/files/directory_scan.h"

SYSTEMTIME readable_local_time(const FILETIME& time, bool convert_to_local) {
  // FileTimeToSystemTime takes values below 2^63; anything above is clamped.
  FILETIME t = time;
  if (t.dwHighDateTime > 0x7FFFFFFFu) {
    t.dwHighDateTime = 0x7FFFFFFFu;
    t.dwLowDateTime = 0;
  }
  FILETIME local = t;
  if (convert_to_local && !FileTimeToLocalFileTime(&t, &local)) local = t;
  SYSTEMTIME out{};
  // Past the last year a SYSTEMTIME holds: step back until it converts.
  while (!FileTimeToSystemTime(&local, &out)) {
    if (local.dwHighDateTime == 0) {
      out = SYSTEMTIME{1601, 1, 1, 1, 0, 0, 0, 0};
      break;
    }
    local.dwHighDateTime >>= 1;
  }
  return out;
}

std::vector<std::string> folder_file_names(const std::string& folder) {
  std::vector<std::string> names;
  directoryScanClass scan(folder.empty() ? "." : folder.c_str());
  for (const char* found = scan.get_first_file("*"); found; found = scan.next_file("*")) {
    if (!scan.is_directory()) names.emplace_back(found);
  }
  return names;
}
