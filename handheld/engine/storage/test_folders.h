// The day's test folder on the storage card ("Storage Card\T240315_CFC7",
// or "...-2" for the folder index 2), the LOG folder beside it, and the
// helpers that count and list folders and tests.
#ifndef HANDHELD_ENGINE_STORAGE_TEST_FOLDERS_H
#define HANDHELD_ENGINE_STORAGE_TEST_FOLDERS_H

#include <atomic>
#include <string>

// Which of today's folders is in use (0: the one without a number).
extern std::atomic<int> erg_directory_index;

// The protocol and session counters that name the next test (P and S).
extern std::atomic<int> protocol_number;
extern std::atomic<int> session_number;

// The program's version (major x 1000 + minor is stored in every record)
// and the stimulator firmware's, for the boot record.
constexpr int kProgramMajor = 3;
constexpr int kProgramMinor = 744;
constexpr char kProgramRelease = ' ';
void set_stimulator_version(int major, int minor);

// A test folder holds at most this many entries before the next test
// moves on to the next folder.
constexpr int kFolderEntryLimit = 800;

// The local date the folder names use. Tests pin it; a null source
// restores the system's local date.
struct folderDate {
  int year;   // four digits
  int month;  // 1..12
  int day;    // 1..31
};
using folder_date_source = folderDate (*)();
void set_folder_date_source(folder_date_source source);

// "T" and the two-digit year, month and day; empty when the date is out of
// range.
std::wstring make_date_string();

// The current test folder's unit path; empty before set_ERG_directory.
std::wstring current_test_folder();

// Chooses and makes the test folder, makes the LOG folder and opens the
// log; unless keep_numbers, P and S continue from the folder's last test.
bool set_ERG_directory(bool keep_numbers);

// Today's folders of the cfc id: "Storage Card\T240315_CFC7" and its
// numbered "T240315_CFC7-n".
int count_ERG_directories();

// The entries in the current test folder.
int count_folder_entries();

// Above the entry limit: the folder index grows by 1, the next folder is
// made and "next ERG directory [%S]" logged; true when it moved.
bool next_ERG_directory_if_full();

// Test names hold P, S and T in two digits each.
constexpr int kMaxNameCounter = 99;

// For a test whose P, S or T would pass two digits, so that names keep
// their width and no test replaces another: the test goes to the next folder
// of the day, where P and S continue from that folder's last test and S moves
// on by one (a number no test there holds); a folder whose own numbers are
// used up is passed over. The caller starts T again. True when it moved.
bool next_ERG_directory_if_counters_pass(int T);

// P x 100 + S of the last test file in the current folder whose P and S
// are digits; -1 when none.
int last_test_numbers();

// Matches of "%s*.%s" (a unit path prefix and an extension).
int count_matches(const std::wstring& prefix, const std::wstring& extension);

// The name of the last match of a unit path pattern (in name order) and
// the number of matches; empty and 0 when none.
std::wstring find_last_file(const std::wstring& unit_pattern, int& count);

#endif
