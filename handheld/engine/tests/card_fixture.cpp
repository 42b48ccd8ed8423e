#include "handheld/engine/tests/card_fixture.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "handheld/engine/hardware/board_options.h"
#include "platform/ce/card_path.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_files.h"
#include "handheld/engine/storage/test_folders.h"

namespace {

folderDate pinned_date() { return folderDate{2024, 3, 15}; }

}  // namespace

std::filesystem::path set_up_test_card(const std::filesystem::path& folder) {
  const std::filesystem::path card = folder / "card";
  std::filesystem::create_directories(card);
  set_card_root(card.wstring().c_str());
  set_folder_date_source(pinned_date);
  copy_default_parameters();
  set_cfc_id("CFC7");
  erg_directory_index = 0;
  protocol_number = 1;
  session_number = 0;
  test_stored = false;
  test_flag_byte = 0;
  is_slave = 0;
  return card;
}

void tear_down_test_card() {
  set_card_root(nullptr);
  set_folder_date_source(nullptr);
  reset_cfc_id();
  copy_default_parameters();
  is_slave = 0;
}

void CardFixture::SetUp() {
  LogFixture::SetUp();
  card_ = set_up_test_card(folder_);
}

void CardFixture::TearDown() {
  tear_down_test_card();
  LogFixture::TearDown();
}

void CardFixture::write_card_file(const std::string& relative, size_t size) const {
  const std::filesystem::path path = card_ / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  for (size_t i = 0; i < size; ++i) out.put(static_cast<char>(i % 251));
}

std::string CardFixture::card_log_text() const {
  std::ifstream in(log_file_path(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void fill_test_record(testFileRecord& record, int P, int S, int T, int N, const char* test_id) {
  std::memset(&record, 0, sizeof record);
  init_test_record(record);
  record.P = P;
  record.S = S;
  record.T = T;
  record.N = N;
  std::memset(record.TestId, 0, sizeof record.TestId);
  for (size_t i = 0; test_id[i] != '\0' && i < 19; ++i) record.TestId[i] = static_cast<char16_t>(test_id[i]);
  record.Config.Scale = 0.5;
  record.Config.Offset = 1.0;
  record.Average.Divisor = 2.0;
  record.Average.PointCount = 4;
  for (int i = 0; i < 4; ++i) record.Average.Data[i] = 100 * (i + 1);
}
