// Setting a file's last-write time in the tests of the file readers.
#ifndef DESKTOP_DATA_TESTS_FILE_STAMP_H
#define DESKTOP_DATA_TESTS_FILE_STAMP_H

#include <cstdint>
#include <string>

#include "handheld/engine/storage/stored_records.h"

// Sets the file's last-write time to the file time (UTC) low, high and
// returns it in local time, as the readers hand it over.
fileTime stamp(const std::string& path, uint32_t low, uint32_t high);

#endif
