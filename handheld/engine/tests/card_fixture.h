// A fresh storage card folder with the log fixture's log, the date pinned at
// 15 March 2024, the cfc id "CFC7", default parameters and the first folder
// index.
#ifndef HANDHELD_ENGINE_TESTS_CARD_FIXTURE_H
#define HANDHELD_ENGINE_TESTS_CARD_FIXTURE_H

#include <filesystem>
#include <string>

#include "handheld/engine/tests/log_fixture.h"
#include "handheld/engine/storage/stored_records.h"

class CardFixture : public LogFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes a file of the given size (bytes i % 251) into the card.
  void write_card_file(const std::string& relative, size_t size) const;
  // The log file set_ERG_directory opened.
  std::string card_log_text() const;
  std::filesystem::path card_;
};

// The card set-up of CardFixture for fixtures built on another base: the
// folder "card" below folder made and used as the card, and the rest as
// above. Returns the card folder; the tear-down puts the defaults back.
std::filesystem::path set_up_test_card(const std::filesystem::path& folder);
void tear_down_test_card();

// A record with counters, test id and an average of point values.
void fill_test_record(testFileRecord& record, int P, int S, int T, int N, const char* test_id);

#endif
