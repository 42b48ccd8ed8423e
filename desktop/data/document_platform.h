// What a test document asks of the platform: a file time as a readable
// calendar time, and the file names of a folder. Each platform has its own
// file (document_platform_win.cpp, document_platform_host.cpp).
#ifndef DESKTOP_DATA_DOCUMENT_PLATFORM_H
#define DESKTOP_DATA_DOCUMENT_PLATFORM_H

#include <string>
#include <vector>

#include "desktop/winlib/platform_types.h"

// A FILETIME as local SYSTEMTIME; a time that cannot be converted is clamped
// to the nearest one that can, so that a junk time still reads as a date.
SYSTEMTIME readable_local_time(const FILETIME& time, bool convert_to_local);

// The names of the files (not the folders) of a folder ("" for the current
// one), through the system's folder search.
std::vector<std::string> folder_file_names(const std::string& folder);

#endif
