// Reading the unit's stored files from the PC's disk: a test record file
// (".tst": one flag byte, then the record) and a sample file (".spl": one
// block of samples). Each file must have exactly its size; the bytes are
// taken as stored, without parsing.
#ifndef DESKTOP_DATA_TEST_FILE_READING_H
#define DESKTOP_DATA_TEST_FILE_READING_H

#include <cstdint>

#include "handheld/engine/storage/stored_records.h"

// Where a test is read from; the words "PC" and "UNIT" name them in messages.
constexpr int test_source_pc = 1;
constexpr int test_source_unit = 2;

constexpr uint32_t test_file_size = 1 + sizeof(testFileRecord);  // 96681
constexpr uint32_t samples_file_size = sizeof(samplesBlock);     // 48048

// The record of a test file, or null (reported) when the file cannot be
// opened, has another size or cannot be read whole. file_time_out, when
// given, receives the file's last-write time in local time as soon as the
// file is open, also when its size is then refused. The caller deletes the
// record. Tests are read from the unit only through the device link's
// reader; without one, the unit's files give null at once, unreported.
testFileRecord* read_test_file(const char* path, int source, fileTime* file_time_out);

// Reads a file of the docked unit: exactly size bytes into bytes, and its
// last-write time when file_time_out is given. False (reported) when the file
// cannot be opened, has another size or cannot be read whole.
using unitFileReader = bool (*)(const char* path, void* bytes, uint32_t size, fileTime* file_time_out);
// The device link installs its reader once a unit is connected; until then
// (and always in the build without the link) the unit's files read as none.
void install_unit_file_reader(unitFileReader reader);

// The same for a sample file; the caller deletes the block.
samplesBlock* read_samples_file(const char* path, int source, fileTime* file_time_out);

#endif
