#include "handheld/engine/storage/test_folders.h"

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/storage/system_parameters.h"

std::atomic<int> erg_directory_index{0};
std::atomic<int> protocol_number{1};
std::atomic<int> session_number{0};

namespace {

folder_date_source dateSource = nullptr;
std::mutex folderLock;
std::wstring testFolder;  // under folderLock: set by the user interface and the test thread

const wchar_t kCard[] = L"Storage Card";

folderDate system_local_date() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return folderDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// Makes a folder; an error other than already-exists is shown and false.
bool make_folder(const std::wstring& unit_path) {
  const std::filesystem::path path = card_file_path(unit_path);
  std::error_code error;
  if (!path.empty()) {
    if (!card_read_only()) std::filesystem::create_directory(path, error);
    if (!error && std::filesystem::is_directory(path, error)) return true;
  }
  engine_show_message(2, "### set_ERG_directory ###\nfile: %s\n[error %d]", narrow(unit_path).c_str(),
                      error.value());
  return false;
}

std::wstring folder_for_index(const std::wstring& date, int index) {
  std::wstring folder = std::wstring(kCard) + L"\\" + date + L"_" + widen(cfc_id());
  if (index != 0) folder += L"-" + std::to_wstring(index);
  return folder;
}

std::atomic<int> stimulatorMajor{0};
std::atomic<int> stimulatorMinor{0};

}  // namespace

void set_stimulator_version(int major, int minor) {
  stimulatorMajor = major;
  stimulatorMinor = minor;
}

void set_folder_date_source(folder_date_source source) { dateSource = source; }

std::wstring make_date_string() {
  const folderDate date = dateSource != nullptr ? dateSource() : system_local_date();
  if (date.year < 1900 || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return {};
  wchar_t text[16];
  std::swprintf(text, 16, L"T%02d%02d%02d", date.year % 100, date.month, date.day);
  return text;
}

std::wstring current_test_folder() {
  std::lock_guard<std::mutex> hold(folderLock);
  return testFolder;
}

bool set_ERG_directory(bool keep_numbers) {
  const std::wstring date = make_date_string();
  if (date.empty()) return false;
  const std::wstring folder = folder_for_index(date, erg_directory_index.load());
  if (!make_folder(folder)) return false;
  {
    std::lock_guard<std::mutex> hold(folderLock);
    testFolder = folder;
  }
  if (!keep_numbers) {
    const int numbers = last_test_numbers();
    protocol_number = numbers < 0 ? 1 : numbers / 100;
    session_number = numbers < 0 ? 0 : numbers % 100;
  }
  const std::wstring log_folder = std::wstring(kCard) + L"\\LOG";
  if (!make_folder(log_folder)) return false;
  const std::wstring log_file = log_folder + L"\\" + date + L"_" + widen(cfc_id()) + L".txt";
  set_log_file_path(card_file_path(log_file));
  FILE* log = open_card_file(log_file, "a");
  if (log == nullptr) {
    engine_show_message(0, "*** CANNOT ***\nOPEN LOG FILE\n %s", narrow(log_file).c_str());
  } else {
    std::fclose(log);
    set_logging_on(true);
    const std::string serial = unit_serial();
    const std::string cfc = cfc_id();
    const bootRecordInfo info{serial.c_str(),   cfc.c_str(),           kProgramMajor,
                              kProgramMinor,    kProgramRelease,       stimulatorMajor.load(),
                              stimulatorMinor.load(), folder.c_str()};
    log_boot_record(info);  // once per program run
    log_mesg("set_ERG_directory, g_ERG_directory_index = %d", erg_directory_index.load());
    count_ERG_directories();
  }
  return true;
}

int count_ERG_directories() {
  const std::wstring date = make_date_string();
  if (date.empty()) return 0;
  const std::wstring base = date + L"_" + widen(cfc_id());
  // Only the folders this cfc id's tests go to: the base name, or it with
  // "-" and a number (not another cfc id that begins with this one).
  int count = 0;
  for (const std::wstring& name : card_matches(std::wstring(kCard) + L"\\" + base + L"*")) {
    const std::wstring suffix = name.substr(base.size());
    const bool numbered = suffix.size() > 1 && suffix[0] == L'-' &&
                          suffix.find_first_not_of(L"0123456789", 1) == std::wstring::npos;
    if ((suffix.empty() || numbered) && card_is_directory(std::wstring(kCard) + L"\\" + name)) ++count;
  }
  return count;
}

int count_folder_entries() {
  const std::wstring folder = current_test_folder();
  if (folder.empty()) return 0;
  return static_cast<int>(card_matches(folder + L"\\*").size());
}

bool next_ERG_directory_if_full() {
  if (count_folder_entries() <= kFolderEntryLimit) return false;
  erg_directory_index = erg_directory_index.load() + 1;
  if (!set_ERG_directory(true)) return false;
  log_mesg("next ERG directory [%s]", narrow(current_test_folder()).c_str());
  return true;
}

bool next_ERG_directory_if_counters_pass(int T) {
  if (T <= kMaxNameCounter && protocol_number.load() <= kMaxNameCounter &&
      session_number.load() <= kMaxNameCounter) {
    return false;
  }
  // Folders whose numbers are used up are passed over, a bounded few.
  constexpr int kFoldersTried = 100;
  for (int tried = 0; tried < kFoldersTried; ++tried) {
    erg_directory_index = erg_directory_index.load() + 1;
    if (!set_ERG_directory(false)) return false;
    if (protocol_number.load() <= kMaxNameCounter && session_number.load() < kMaxNameCounter) {
      session_number = session_number.load() + 1;
      log_mesg("next ERG directory [%s]", narrow(current_test_folder()).c_str());
      return true;
    }
  }
  return false;
}

int last_test_numbers() {
  const std::vector<std::wstring> names = card_matches(current_test_folder() + L"\\P??S??T??*.TST");
  // The last name with digits for P and S ("P01S03...": P in characters
  // 1-2, S in 4-5); an odd name after it does not hide the tests' numbers.
  for (auto name = names.rbegin(); name != names.rend(); ++name) {
    const auto digit = [&](size_t i) { return static_cast<int>((*name)[i]) - static_cast<int>(L'0'); };
    bool digits = name->size() >= 6;
    for (size_t i : {1u, 2u, 4u, 5u}) digits = digits && digit(i) >= 0 && digit(i) <= 9;
    if (digits) return (digit(1) * 10 + digit(2)) * 100 + digit(4) * 10 + digit(5);
  }
  return -1;
}

int count_matches(const std::wstring& prefix, const std::wstring& extension) {
  return static_cast<int>(card_matches(prefix + L"*." + extension).size());
}

std::wstring find_last_file(const std::wstring& unit_pattern, int& count) {
  const std::vector<std::wstring> names = card_matches(unit_pattern);
  count = static_cast<int>(names.size());
  return names.empty() ? std::wstring() : names.back();
}
