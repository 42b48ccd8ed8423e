#include "handheld/engine/tests/log_fixture.h"

#include <fstream>
#include <random>
#include <sstream>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/protocols/program_error.h"

namespace {

logClockTime pinned_time() { return logClockTime{10, 15, 30}; }

}  // namespace

void LogFixture::SetUp() {
  std::random_device random;
  folder_ = std::filesystem::temp_directory_path() /
            ("erg-engine-" + std::to_string(random()) + "-" + std::to_string(random()));
  std::filesystem::create_directories(folder_);
  log_path_ = folder_ / "T240315_CFC7.txt";
  reset_log_state();
  set_local_time_source(pinned_time);
  set_log_file_path(log_path_);
  set_logging_on(true);
  set_key_log_dump_hook(nullptr);
  set_show_message_handler(nullptr);
  program_error = false;
  channels.a_on = 1;
  channels.b_on = 0;
  channels.current = 0;
  channels.eye_a = kEyeNone;
  channels.eye_b = kEyeNone;
}

void LogFixture::TearDown() {
  reset_log_state();
  set_local_time_source(nullptr);
  set_key_log_dump_hook(nullptr);
  set_show_message_handler(nullptr);
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string LogFixture::log_text() const {
  std::ifstream in(log_path_, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> LogFixture::log_lines() const {
  std::vector<std::string> lines;
  std::istringstream in(log_text());
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}
