// The texts of a session summary's cells that come from a test's record:
// its flash intensity as stored and as a log against 3000, and the time
// between two tests. Portable.
#ifndef DESKTOP_WINDOWS_SUMMARY_SUMMARY_CELLS_H
#define DESKTOP_WINDOWS_SUMMARY_SUMMARY_CELLS_H

#include <cstdint>
#include <string>

#include "handheld/engine/storage/stored_records.h"

// The flash intensity: as stored before program version 3.0; from then on
// divided by the record's neutral-density factor unless that is 0 or 1.
double summary_intensity(const testFileRecord& record);
// "%d" of the stored intensity before version 3.0, else "%lg" of
// summary_intensity.
std::string intensity_text(const testFileRecord& record);
// "%3.1lf" of log10(intensity) - log10(3000.0); "---" for an intensity at or
// below 0 or one that is not a number.
std::string log_intensity_text(const testFileRecord& record);

// Seconds from reference to time, both in 100-ns file-time units.
double file_time_seconds_between(uint64_t reference, uint64_t time);

#endif
