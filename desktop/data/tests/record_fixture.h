// Test records and sample files made by code, through the stored layouts'
// own initialiser and byte helpers.
#ifndef DESKTOP_DATA_TESTS_RECORD_FIXTURE_H
#define DESKTOP_DATA_TESTS_RECORD_FIXTURE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "handheld/engine/storage/stored_records.h"

// A fresh record as the unit initialises it, every other byte zero, with
// scale 1.0 and offset 0.0.
std::unique_ptr<testFileRecord> make_record();

// Sets a block's header and its first count raw values from values (the
// rest zero).
void fill_block(samplesBlock& block, const std::vector<int32_t>& values, double divisor, uint32_t total_time,
                uint32_t pretrigger);

// The bytes of a ".tst" file (flag byte, then the record) and of a ".spl"
// file.
std::vector<uint8_t> test_file_bytes(const testFileRecord& record);
std::vector<uint8_t> samples_file_bytes(const samplesBlock& block);

// Writes bytes to a file, created anew.
void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);

#endif
