// A log file in a fresh temporary folder, logging on, the clock pinned at
// 10:15:30 and channel A alone selected.
#ifndef HANDHELD_ENGINE_TESTS_LOG_FIXTURE_H
#define HANDHELD_ENGINE_TESTS_LOG_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class LogFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The whole log file ("" when there is none).
  std::string log_text() const;
  // The log's lines, without their line ends.
  std::vector<std::string> log_lines() const;

  std::filesystem::path folder_;
  std::filesystem::path log_path_;
};

#endif
