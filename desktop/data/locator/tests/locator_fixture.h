// Stored tests for the locator's tests and benchmark: whole test files with
// an ERG-like average, and a tree of them.
#ifndef DESKTOP_DATA_LOCATOR_TESTS_LOCATOR_FIXTURE_H
#define DESKTOP_DATA_LOCATOR_TESTS_LOCATOR_FIXTURE_H

#include <string>

// Writes a whole ".TST" file: test id, patient number and an average whose
// b-wave peaks near amplitude microvolts.
void write_locator_test(const std::string& path, const char* test_id, int patient, double amplitude);

// Files in each folder of the tree.
constexpr int tree_folder_files = 100;
// Sub-folders "s1" ... "s9" below the root, each with tree_folder_files.
constexpr int tree_subfolders = 9;

// Writes tree_folder_files tests into root (ending in a separator) and into
// each of its sub-folders: folder k holds "P<k+1>S01T<t>01<A|B>.TST".
void write_locator_tree(const std::string& root);

#endif
