// The calibration file on the storage card, "Storage Card\Cal%s.txt" named
// by the unit's serial number: one line per entry, entries 0 to 29, each
// value written whole ("%.17lg") and read back with "%lg".
#ifndef HANDHELD_ENGINE_STORAGE_CALIBRATION_FILE_H
#define HANDHELD_ENGINE_STORAGE_CALIBRATION_FILE_H

#include <stddef.h>

// The file's name on the unit for a serial number: at most 9 characters of
// it, cut at the first blank after its first character. False when it does
// not fit (out is then empty).
bool calibration_file_name(const char* serial, wchar_t* out, size_t capacity);

// Writes the table to the file named by the current serial number and shows
// "CALIBRATION SAVED..." or "*** cannot open file ***...". The file is
// replaced only by a whole table: a failed write keeps the one before. True
// when saved.
bool save_calibration_file();

// Reads the table from the file: all 30 values or nothing. With 30 values
// the current serial number is packed into entry 19 (in place of the
// file's), the whole table is sent to the stimulator, "CALIBRATION
// UPDATTED..." is shown and logged. A file that cannot be opened, or holds
// fewer than 30 values, is reported and changes nothing. True when loaded.
bool load_calibration_file();

#endif
