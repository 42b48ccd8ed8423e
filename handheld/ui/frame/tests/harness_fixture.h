// Vandu started in the test's process on a fresh card (with an ini file of
// the default parameters), from the test executable's own folder, and
// stopped after the test.
#ifndef HANDHELD_UI_FRAME_TESTS_HARNESS_FIXTURE_H
#define HANDHELD_UI_FRAME_TESTS_HARNESS_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/ui/harness/vandu_harness.h"

class VanduTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Override before SetUp runs (in the derived fixture's constructor).
  harnessOptions options_;
  bool writeIni_ = true;
  std::filesystem::path card_;
  // The card's log file ("" when none).
  std::string log_text() const;
};

// The count that reads as this voltage on the battery's input.
int32_t battery_counts(double volts);

#endif
