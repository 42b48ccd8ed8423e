// The files of a stored test in the current test folder: the test file
// (".tst": a flag byte and the record) of each recording channel, a sample
// file (".spl") per sweep, and the dataset text (".s").
#ifndef HANDHELD_ENGINE_STORAGE_TEST_FILES_H
#define HANDHELD_ENGINE_STORAGE_TEST_FILES_H

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

#include "handheld/engine/storage/stored_records.h"

constexpr size_t kTestFileBytes = 1 + sizeof(testFileRecord);

// Set by every test file written (the main dialog counts runs with it).
extern std::atomic<bool> test_stored;
// The flag byte written before each record: the test information page's
// check box.
extern std::atomic<uint8_t> test_flag_byte;
// The unit tick at the start of the run; a stored record holds the
// milliseconds from it.
extern std::atomic<uint32_t> run_start_tick;

// "P01S02T0304A": the record's counters and the channel letter (channel 0
// is A, 1 is B).
std::wstring make_test_name(const testFileRecord& record, int channel);

// The test name, then "-" and the test id (its first 11 characters without
// trailing blanks) unless the id is blank, then "-SLAVE" in slave mode. A
// character that a file name cannot hold ('?', '\', '/', ':', '*', '"',
// '<', '>', '|', control characters) becomes '_': the record keeps its id.
std::wstring make_full_test_name(const testFileRecord& record, int channel);

// The name's twelfth character is 'B'.
bool is_channel_b_name(const std::wstring& name);

// Writes the dataset text (when [DATASET] is on), then the test file
// "folder\full name" + extension. A file that cannot be created makes the
// test folder again and is tried once more. The test file and the dataset
// text are written whole or not at all (whole_file.h): a full card or a cut
// leaves no part of either under its name.
bool write_tst_file(const testFileRecord& record, const wchar_t* extension, int channel);

// Reads a test file into the record: "folder\name", with ".TST" appended to
// a name of 5 or more characters without a three-letter extension. Folder
// empty: the current test folder. A file shorter than a test file, or one
// whose blocks' point counts are out of range, is refused and the record
// is left unchanged. A temporary file a cut store left beside it is
// removed.
bool read_tst_file(testFileRecord& record, const std::wstring& name, const std::wstring& folder = {});

// The file's flag byte and last write time of the last successful read.
uint8_t last_read_flag_byte();
std::filesystem::file_time_type last_read_file_time();

// "folder\full name-NN.spl" with one block; one that could not be written
// whole is deleted.
bool write_sample_file(const testFileRecord& record, int channel, const samplesBlock& block, int number);

// "folder\name.s", when [DATASET] is on (true and nothing written when
// off). The values are the average's points divided by its divisor; the
// record is not changed.
bool write_dataset_text(const testFileRecord& record, const std::wstring& name);
// The dataset text itself.
std::string dataset_text(const testFileRecord& record, const std::wstring& name);

// Deletes the test's files in the current folder: its test file (name +
// extension), its dataset text and its "-NN.spl" sample files, and no
// other. False when none was found or one could not be deleted.
bool delete_test_files(const testFileRecord& record, const wchar_t* extension, int channel);

// The same for a test named in a given folder (the directory dialog's).
bool delete_named_test_files(const std::wstring& folder, const std::wstring& full_name, const wchar_t* extension);

// Deletes one file (a unit path); ".TST" is appended to a path of 5 or
// more characters without a three-letter extension.
bool delete_file(const std::wstring& unit_path);

// Fills the record's run fields (milliseconds since the run's start, the
// protocol name, eye, program version, filter, test time), writes the
// sample_count blocks of samples as its sample files (numbered from 0) and
// then the record: a run cut in between, or a sample file the card refuses
// (its message said), leaves no record, only sample files that no test names.
// A record without any averaged sweep is not stored:
// "*** NO SAMPLE DATA ACQUIRED ***".
bool store_test(testFileRecord* records, int channel, const fileTime& test_time,
                const wchar_t* protocol_name, const samplesBlock* samples = nullptr, int sample_count = 0);

// Reads the last test of protocol number P in the current folder.
bool load_protocol_test(int P, testFileRecord& record);

#endif
