// A stored ERG test written by code for the window tests: 400 points over
// 200 mS, 20 mS of them before the flash, a flash response with wavelets
// on its b-wave.
#ifndef DESKTOP_WINDOWS_FFT_GRAPHS_TESTS_ERG_TEST_FILE_H
#define DESKTOP_WINDOWS_FFT_GRAPHS_TESTS_ERG_TEST_FILE_H

#include <string>

#include "desktop/winlib/tests/temp_folder.h"

constexpr double erg_test_preflash_ms = 20.0;

// Writes the test as name in folder; returns its path.
std::string write_erg_test(const temp_folder& folder, const std::string& name);

#endif
