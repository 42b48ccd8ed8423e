#include "tools/protocol_recorder.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>

#include "handheld/engine/acquisition/calibration_table.h"
#include "platform/ce/card_path.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/storage/ini_file.h"
#include "handheld/engine/protocols/interpreter_screen.h"
#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/engine/protocols/program_calls.h"
#include "handheld/engine/storage/program_files.h"
#include "handheld/engine/protocols/protocol_interpreter.h"
#include "handheld/engine/protocols/protocol_program.h"
#include "handheld/engine/stimulator/serial_port.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/offdevice/simulated_hardware.h"
#include "handheld/engine/offdevice/simulated_stimulator_port.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/stimulator/stimulator_reader.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_folders.h"
#include "platform/ce/unit_clock.h"
#include "handheld/engine/storage/unit_time.h"

namespace {

// The longest a recording may take in wall time before it is given up.
const auto kRunLimit = std::chrono::minutes(30);

// The longest the start-up exchange (version, table, clock) may take in
// real time before the stimulator counts as silent.
const auto kExchangeLimit = std::chrono::seconds(3);

// What the main dialog would learn from the stimulator and the test thread:
// the stimulator's bytes and complete messages, queued in posting order and
// taken on the recording's own thread (as the main dialog takes them on
// its), and the run's end (command 1004 with 21, posted by the test thread).
struct unitNotices {
  std::mutex lock;
  std::condition_variable changed;
  std::deque<std::pair<uintptr_t, intptr_t>> stimulator;  // WM_USER kind and value
  bool ended = false;
};

bool take_post(void* context, int target, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  if (target != NOTICE_MAIN_DIALOG) return true;
  unitNotices* notices = static_cast<unitNotices*>(context);
  {
    std::lock_guard<std::mutex> hold(notices->lock);
    if (message == MAIN_DIALOG_NOTICE &&
        (wparam == NOTICE_STIMULATOR_BYTE || wparam == NOTICE_STIMULATOR_MESSAGE)) {
      notices->stimulator.emplace_back(wparam, lparam);
    } else if (message == NOTICE_WM_COMMAND && wparam == RUN_ENDED_COMMAND && lparam == 21) {
      notices->ended = true;
    } else {
      return true;
    }
  }
  notices->changed.notify_all();
  return true;
}

// One notice of the stimulator, handled as the main dialog handles it
// during the start-up exchange: message bytes assembled, the version, table
// and clock replies taken (clock_taken set by the last). Key presses mean
// nothing to a recording.
void take_stimulator_notice(uintptr_t kind, intptr_t value, bool& clock_taken) {
  if (kind == NOTICE_STIMULATOR_BYTE) {
    const uint8_t byte = static_cast<uint8_t>(value);
    if (stimulator_message.message_mode) {
      take_8051_message_byte(byte);
    } else if (byte == STIMULATOR_MESSAGE_START) {
      begin_8051_message();
    }
    return;
  }
  switch (static_cast<uint8_t>(value)) {
    case MESSAGE_VERSION:
      take_version_reply();
      break;
    case MESSAGE_TABLE:
      take_table_reply();
      break;
    case MESSAGE_CLOCK:
      take_clock_reply();
      clock_taken = true;
      break;
    default:
      break;
  }
}

// The start-up exchange the unit makes with its stimulator: the version
// request, then (from the replies) the table request and the clock
// request. Over when the version and a table came and, when the table was
// the stimulator's own, the clock. True when the version and a table (the
// stimulator's or, when it holds none, the defaults) came; otherwise the
// default table is loaded.
bool start_up_exchange(unitNotices& notices) {
  version_received = 0;
  calibration_received = 0;
  flash_8051_mode = FLASH_MODE_IDLE;
  reset_calibration_table();
  set_unit_serial("0123456");
  send_8051_byte(COMMAND_VERSION);
  const auto end = std::chrono::steady_clock::now() + kExchangeLimit;
  bool clock_taken = false;
  const auto over = [&clock_taken] {
    return version_received.load() != 0 && flash_8051_mode.load() == FLASH_MODE_IDLE &&
           (calibration_received.load() == 0 || clock_taken);
  };
  while (!over()) {
    std::pair<uintptr_t, intptr_t> notice;
    {
      std::unique_lock<std::mutex> hold(notices.lock);
      if (!notices.changed.wait_until(hold, end, [&notices] { return !notices.stimulator.empty(); })) break;
      notice = notices.stimulator.front();
      notices.stimulator.pop_front();
    }
    take_stimulator_notice(notice.first, notice.second, clock_taken);
  }
  end_8051_message();
  if (version_received.load() != 0 && flash_8051_mode.load() == FLASH_MODE_IDLE) return true;
  flash_8051_mode = FLASH_MODE_IDLE;
  load_default_calibration();
  return false;
}

// The messages shown during a recording.
std::mutex g_messages_lock;
std::vector<std::string>* g_messages = nullptr;

void keep_message(int kind, const char* text) {
  std::lock_guard<std::mutex> hold(g_messages_lock);
  if (g_messages != nullptr) g_messages->push_back(text);
  std::fprintf(stderr, "unit message (kind %d): %s\n", kind, text);
}

// The files of a folder, sorted by name.
std::vector<std::wstring> folder_files(const std::filesystem::path& folder) {
  std::vector<std::wstring> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file(error)) names.push_back(it->path().filename().wstring());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Why a recording could not start: kept with the messages and false.
bool cannot_record(recordingResult& result, const char* why) {
  result.messages.push_back(why);
  std::fprintf(stderr, "cannot record: %s\n", why);
  return false;
}

// The simulated stimulator on "COM2:" with its reader, as the program
// opens it at start-up.
bool open_stimulator() {
  use_simulated_stimulator_port();
  if (open_8051_uart() == nullptr) return false;
  end_8051_message();
  return start_stimulator_reader();
}

void close_stimulator() {
  stop_stimulator_reader();
  close_8051_uart();
  register_serial_endpoint(L"COM2:", nullptr);
}

}  // namespace

bool record_protocol(const std::wstring& card_folder, const std::wstring& program_file, const wchar_t* test_id,
                     recordingResult& result) {
  result = recordingResult();
  {
    std::lock_guard<std::mutex> hold(g_messages_lock);
    g_messages = &result.messages;
  }
  const show_message_handler previous = set_show_message_handler(keep_message);
  struct restore {
    show_message_handler handler;
    ~restore() {
      set_show_message_handler(handler);
      std::lock_guard<std::mutex> hold(g_messages_lock);
      g_messages = nullptr;
    }
  } restore_messages{previous};

  std::error_code error;
  if (!std::filesystem::is_directory(card_folder, error)) {
    return cannot_record(result, "the card folder does not exist");
  }
  set_card_root(card_folder.c_str());
  // The log and the test folders follow the unit's clock, as the program's
  // start-up sets them.
  use_unit_time_for_log_and_folders();
  // A recording is one run of the unit's program: its log starts afresh.
  reset_log_state();
  copy_default_parameters();
  read_ini_file();  // a card without one records with the defaults
  set_entered_test_id(test_id);

  auto program = std::make_unique<programRecord>();
  if (!read_program_file(L"Storage Card\\" + program_file, *program)) {
    return cannot_record(result, "the program file cannot be read from the card");
  }
  const std::wstring stem = program_file.substr(0, program_file.rfind(L'.'));
  set_selected_protocol_name(stem.c_str());
  if (!scan_program(*program)) {
    return cannot_record(result, "the program is not valid");
  }

  if (!power_on_simulated_unit()) {
    return cannot_record(result, "the simulated hardware library did not attach");
  }
  for (uint32_t input : {0u, 1u}) {
    sim_signal signal;
    sim_signal_defaults(input, &signal);
    sim_signal_set(input, &signal);
  }
  unitNotices notices;
  const mainDialogPoster previous_poster = set_main_dialog_poster(mainDialogPoster{take_post, &notices});
  if (!open_stimulator()) {
    set_main_dialog_poster(previous_poster);
    power_off_simulated_unit();
    return cannot_record(result, "the simulated stimulator did not open");
  }
  if (!start_up_exchange(notices)) {
    result.messages.push_back(
        "the stimulator did not answer the start-up exchange: recording with the default calibration table");
    std::fprintf(stderr, "%s\n", result.messages.back().c_str());
  }
  if (!set_ERG_directory(false)) {
    close_stimulator();
    set_main_dialog_poster(previous_poster);
    power_off_simulated_unit();
    return cannot_record(result, "the test folder cannot be made on the card");
  }
  wchar_t folder[1024];
  resolve_card_path(current_test_folder().c_str(), folder, sizeof folder / sizeof folder[0]);
  result.test_folder = folder;
  const std::vector<std::wstring> before = folder_files(result.test_folder);

  const uint64_t start_ns = sim_now_ns();
  set_loaded_program(*program);
  start_test_thread();
  signal_run_set();
  bool ended;
  {
    std::unique_lock<std::mutex> hold(notices.lock);
    ended = notices.changed.wait_for(hold, kRunLimit, [&notices] { return notices.ended; });
  }
  if (!ended) {
    result.messages.push_back("the run did not end within 30 minutes: stopped");
    std::fprintf(stderr, "%s\n", result.messages.back().c_str());
  }
  stop_test_thread();
  result.ran = ended && last_run_result();
  result.unit_ms = (sim_now_ns() - start_ns) / 1000000;

  standby_converters();
  close_stimulator();
  set_main_dialog_poster(previous_poster);
  power_off_simulated_unit();

  for (const std::wstring& name : folder_files(result.test_folder)) {
    if (!std::binary_search(before.begin(), before.end(), name)) result.stored.push_back(name);
  }
  return true;
}
