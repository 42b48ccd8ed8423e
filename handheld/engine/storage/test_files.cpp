#include "handheld/engine/storage/test_files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/engine/storage/test_folders.h"
#include "platform/ce/unit_clock.h"
#include "handheld/engine/storage/unit_time.h"
#include "platform/files/whole_file.h"

std::atomic<bool> test_stored{false};
std::atomic<uint8_t> test_flag_byte{0};
std::atomic<uint32_t> run_start_tick{0};

namespace {

const size_t kTestIdInName = 11;
const size_t kProtocolNameCharacters = 62;

uint64_t file_time_value(const fileTime& t) { return (static_cast<uint64_t>(t.HighDateTime) << 32) | t.LowDateTime; }

// Gives a file just written the unit's time as its last write time, as the
// unit's own file system would. Files keep universal time: the unit's local
// time goes back through the host's zone, so that a reader showing the file
// time in local time shows the unit's.
void stamp_with_unit_time(const std::wstring& unit_path) {
  const std::filesystem::path path = card_file_path(unit_path);
  if (path.empty()) return;
  const auto system_now = std::chrono::system_clock::now();
  const std::time_t now = std::chrono::system_clock::to_time_t(system_now);
  std::tm local{};
  std::tm utc{};
#ifdef _WIN32
  localtime_s(&local, &now);
  gmtime_s(&utc, &now);
#else
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
#endif
  const auto file_time = [](const std::tm& t) {
    return unit_time_to_filetime(
        unitTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, 0, 0});
  };
  const int64_t zone = static_cast<int64_t>(file_time(local)) - static_cast<int64_t>(file_time(utc));
  using fileTicks = std::chrono::duration<int64_t, std::ratio<1, 10000000>>;
  const int64_t utc_now =
      std::chrono::duration_cast<fileTicks>(system_now.time_since_epoch()).count() + 116444736000000000LL;
  const int64_t ticks_from_now = static_cast<int64_t>(unit_time_filetime()) - zone - utc_now;
  const auto when = std::filesystem::file_time_type::clock::now() +
                    std::chrono::duration_cast<std::filesystem::file_time_type::duration>(fileTicks(ticks_from_now));
  std::error_code error;
  std::filesystem::last_write_time(path, when, error);
}

uint8_t lastFlagByte = 0;
std::filesystem::file_time_type lastFileTime{};

// Text of a UTF-16 field up to its NUL or its end.
std::string field_text(const char16_t* field, size_t units) {
  std::string text;
  for (size_t i = 0; i < units && field[i] != u'\0'; ++i) {
    text += field[i] < 128 ? static_cast<char>(field[i]) : '?';
  }
  return text;
}

bool file_name_character(wchar_t c) {
  return c >= L' ' && c != 127 && std::wcschr(L"?\\/:*\"<>|", c) == nullptr;
}

bool has_three_letter_extension(const std::wstring& name) {
  return name.size() >= 5 && name[name.size() - 4] == L'.';
}

std::wstring with_test_extension(const std::wstring& name) {
  return name.size() >= 5 && !has_three_letter_extension(name) ? name + L".TST" : name;
}

// The current test folder, set up first (numbers kept) when none has been
// yet; empty when it cannot be. A file is never written outside it.
std::wstring test_folder_for_writing() {
  if (current_test_folder().empty()) set_ERG_directory(true);
  return current_test_folder();
}

// After a file could not be created in the test folder: the folder made
// again (numbers kept), true when the file is worth trying once more. Only
// a folder that went away is worth making again; one that is there refuses
// the file for another reason, which making it again would not mend (it
// would only add messages).
bool test_folder_made_again(const std::wstring& folder) {
  return !card_is_directory(folder) && set_ERG_directory(true);
}

// Creates a file in the current test folder, made again when it went away.
FILE* create_in_test_folder(const std::wstring& file_name) {
  const std::wstring folder = test_folder_for_writing();
  if (folder.empty()) return nullptr;
  FILE* file = open_card_file(folder + L"\\" + file_name, "wb");
  if (file == nullptr && test_folder_made_again(folder)) {
    file = open_card_file(current_test_folder() + L"\\" + file_name, "wb");
  }
  return file;
}

uint32_t record_number(const void* record) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(record));
}

// Deletes a file by its unit path as it is.
bool remove_card_file(const std::wstring& unit_path) {
  log_mesg("### DELETE [%s]", narrow(unit_path).c_str());
  return remove_card_path(unit_path);
}

void append_format(std::string& text, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
void append_format(std::string& text, const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n > 0) text.append(buffer, std::min(static_cast<size_t>(n), sizeof buffer - 1));
}

bool block_in_range(const samplesBlock& block) {
  return block.PointCount >= 0 && block.PointCount <= kSamplesPerBlock && std::isfinite(block.Divisor);
}

}  // namespace

std::wstring make_test_name(const testFileRecord& record, int channel) {
  wchar_t name[64];
  std::swprintf(name, 64, L"P%0.2iS%0.2iT%0.2i%0.2i", record.P, record.S, record.T, record.N);
  return std::wstring(name) + (channel == 0 ? L'A' : L'B');
}

std::wstring make_full_test_name(const testFileRecord& record, int channel) {
  std::wstring name = make_test_name(record, channel);
  std::string id = field_text(record.TestId, 20);
  if (id.size() > kTestIdInName) id.resize(kTestIdInName);
  while (!id.empty() && id.back() == ' ') id.pop_back();
  if (!id.empty()) {
    name += L"-";
    for (char c : id) {
      const wchar_t w = static_cast<wchar_t>(static_cast<unsigned char>(c));
      name += file_name_character(w) ? w : L'_';
    }
  }
  if (is_slave.load() != 0) name += L"-SLAVE";
  return name;
}

bool is_channel_b_name(const std::wstring& name) { return name.size() > 11 && name[11] == L'B'; }

bool write_tst_file(const testFileRecord& record, const wchar_t* extension, int channel) {
  const std::wstring name = make_full_test_name(record, channel);
  write_dataset_text(record, name);
  const std::wstring file_name = name + extension;
  std::vector<uint8_t> bytes(sizeof(testFileRecord));
  test_record_to_bytes(record, bytes.data(), bytes.size());
  const uint8_t flag = test_flag_byte.load();
  bool said = false;
  const auto write = [&](FILE* file) {
    if (std::fwrite(&flag, 1, 1, file) != 1) {
      engine_show_message(0, "*** UNABLE TO STORE ***\n*** FLAG DATA ***");
    } else if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      engine_show_message(0, "*** UNABLE TO STORE ***\n*** TEST DATA ***");
    } else {
      return true;
    }
    said = true;
    return false;
  };
  // The record is what makes the sample files a test: it takes its name
  // only once it is whole on the card, so that a cut leaves no part of one.
  const std::wstring folder = test_folder_for_writing();
  wholeFileStep failed = wholeFileStep::open;
  bool written = !folder.empty() && write_card_file_whole(folder + L"\\" + file_name, "wb", write, &failed);
  if (!written && !folder.empty() && failed == wholeFileStep::open && test_folder_made_again(folder)) {
    written = write_card_file_whole(current_test_folder() + L"\\" + file_name, "wb", write, &failed);
  }
  if (!written) {
    if (failed == wholeFileStep::open) {
      engine_show_message(0, "*** UNABLE TO OPEN ***\n*** TEST DATA FILE ***");
    } else if (!said) {
      engine_show_message(0, "*** UNABLE TO STORE ***\n*** TEST DATA ***");
    }
    return false;
  }
  stamp_with_unit_time(current_test_folder() + L"\\" + file_name);
  log_mesg("STORE TEST #%8.8x [%s] %d", record_number(&record),
           narrow(current_test_folder() + L"\\" + file_name).c_str(), static_cast<int>(sizeof(testFileRecord)));
  test_stored = true;
  return true;
}

bool read_tst_file(testFileRecord& record, const std::wstring& name, const std::wstring& folder) {
  const std::wstring in = folder.empty() ? current_test_folder() : folder;
  const std::wstring path = in + L"\\" + with_test_extension(name);
  remove_leftover_temporary(card_file_path(path));
  FILE* file = open_card_file(path, "rb");
  if (file == nullptr) {
    engine_show_message(0, "*** UNABLE TO OPEN \n[%s] ***", narrow(path).c_str());
    return false;
  }
  std::vector<uint8_t> bytes(kTestFileBytes);
  const size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  const int record_bytes = got > 0 ? static_cast<int>(got - 1) : 0;
  testFileRecord read{};
  if (got < kTestFileBytes) {
    engine_show_message(0, "*** FILE \n%s\n%s\nis not a valid test file ***\n(size = %d\nnot %d).",
                        narrow(in).c_str(), narrow(name).c_str(), record_bytes,
                        static_cast<int>(sizeof(testFileRecord)));
    return false;
  }
  test_record_from_bytes(bytes.data() + 1, sizeof(testFileRecord), read);
  if (!block_in_range(read.LastSweep) || !block_in_range(read.Average)) {
    engine_show_message(0, "*** FILE \n%s\n%s\nis not a valid test file ***\n(point count out of range).",
                        narrow(in).c_str(), narrow(name).c_str());
    return false;
  }
  std::memcpy(&record, &read, sizeof record);
  lastFlagByte = bytes[0];
  std::error_code error;
  lastFileTime = std::filesystem::last_write_time(card_file_path(path), error);
  return true;
}

uint8_t last_read_flag_byte() { return lastFlagByte; }
std::filesystem::file_time_type last_read_file_time() { return lastFileTime; }

bool write_sample_file(const testFileRecord& record, int channel, const samplesBlock& block, int number) {
  wchar_t suffix[16];
  std::swprintf(suffix, 16, L"-%2.2i.spl", number);
  const std::wstring file_name = make_full_test_name(record, channel) + suffix;
  FILE* file = create_in_test_folder(file_name);
  if (file == nullptr) {
    engine_show_message(0, "*** UNABLE TO OPEN ***\n*** FILE FOR SAMPLE %d ***", number);
    return false;
  }
  std::vector<uint8_t> bytes(sizeof(samplesBlock));
  samples_block_to_bytes(block, bytes.data(), bytes.size());
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
  written = std::fclose(file) == 0 && written;
  if (!written) {
    remove_card_path(current_test_folder() + L"\\" + file_name);
    engine_show_message(0, "*** UNABLE TO WRITE ***\n*** SAMPLE %d ***", number);
    return false;
  }
  stamp_with_unit_time(current_test_folder() + L"\\" + file_name);
  log_mesg("STORE SAMPLE #%8.8x [%s] %d", record_number(&block),
           narrow(current_test_folder() + L"\\" + file_name).c_str(), static_cast<int>(sizeof(samplesBlock)));
  return true;
}

std::string dataset_text(const testFileRecord& record, const std::wstring& name) {
  std::string text = "(erg ";
  const unitTime t = filetime_to_unit_time(file_time_value(record.TestTime));
  append_format(text, "(testtime \"%d/%2.2i/%4d %02d:%02d:%02d\") ", t.month, t.day, t.year, t.hour, t.minute,
                t.second);
  append_format(text, "(testid \"%s\") ", field_text(record.TestId, 20).c_str());
  const std::string unit = field_text(record.UnitId, 7);
  append_format(text, "(unit \"%s\") ", unit.empty() ? "-unavailable-" : unit.c_str());
  const std::string cfc = field_text(record.CfcId, 11);
  append_format(text, "(cfc %s) ", cfc.empty() ? "-unavailable-" : cfc.c_str());
  append_format(text, "(vanduversion %d) ", record.ProgramVersion);
  append_format(text, "(filter %g) ", static_cast<double>(record.FilterValue));
  append_format(text, "(side %s) ", record.Eye == u'D' ? "OD" : record.Eye == u'S' ? "OS" : "N/A");
  std::string dataset = narrow(current_test_folder()) + "$" + narrow(name);
  for (char& c : dataset) {
    if (c == '\\') c = '$';
    if (c == ' ') c = '_';
  }
  append_format(text, "\n(dataset \"%s\" ", dataset.c_str());
  const samplesBlock& average = record.Average;
  int count = average.PointCount;
  if (count < 0) count = 0;
  if (count > kSamplesPerBlock) count = kSamplesPerBlock;
  append_format(text, "(count %d)\n", count);
  text += "(x (name time) (units mS)\n";
  const double span = static_cast<double>(record.Config.PreTime) + record.Config.PostTime;
  for (int i = 0; i < count; ++i) append_format(text, "%lg ", i * span / count);
  text += ")\n(y (name voltage) (units mV)\n";
  const double divisor = average.Divisor > 0 ? average.Divisor : 1.0;
  for (int i = 0; i < count; ++i) {
    append_format(text, "%lg ", average.Data[i] / divisor * record.Config.Scale + record.Config.Offset);
  }
  text += ")\n))";
  return text;
}

bool write_dataset_text(const testFileRecord& record, const std::wstring& name) {
  if (system_parameter(PARAM_DATASET) == 0) return true;
  const std::wstring folder = test_folder_for_writing();
  if (folder.empty()) return false;
  const std::string text = dataset_text(record, name);
  const std::wstring path = folder + L"\\" + name + L".s";
  // Flushed and closed before it is named: a full card leaves no part of it.
  if (!write_bytes_whole(card_file_path(path), text.data(), text.size())) {
    engine_show_message(0, "*** UNABLE TO STORE ***\n%s", narrow(path).c_str());
    return false;
  }
  stamp_with_unit_time(path);
  return true;
}

bool delete_test_files(const testFileRecord& record, const wchar_t* extension, int channel) {
  return delete_named_test_files(current_test_folder(), make_full_test_name(record, channel), extension);
}

bool delete_named_test_files(const std::wstring& folder, const std::wstring& name, const wchar_t* extension) {
  bool found = false;
  bool deleted = true;
  for (const std::wstring& match : card_matches(folder + L"\\" + name + L"*.*")) {
    const bool ours = wildcard_match(name + extension, match) || wildcard_match(name + L".s", match) ||
                      (wildcard_match(name + L"-??.spl", match) && std::iswdigit(match[name.size() + 1]) &&
                       std::iswdigit(match[name.size() + 2]));
    if (!ours) continue;
    found = true;
    if (!remove_card_file(folder + L"\\" + match)) deleted = false;
  }
  return found && deleted;
}

bool delete_file(const std::wstring& unit_path) { return remove_card_file(with_test_extension(unit_path)); }

bool store_test(testFileRecord* records, int channel, const fileTime& test_time, const wchar_t* protocol_name,
                const samplesBlock* samples, int sample_count) {
  testFileRecord& record = records[channel];
  if (!(record.Average.Divisor > 0)) {
    engine_show_message(0, "*** NO SAMPLE DATA ACQUIRED ***");
    return false;
  }
  record.RunMilliseconds = unit_tick_ms() - run_start_tick.load();
  std::memset(record.ProtocolName, 0, sizeof record.ProtocolName);
  for (size_t i = 0; protocol_name != nullptr && protocol_name[i] != L'\0' && i < kProtocolNameCharacters; ++i) {
    record.ProtocolName[i] = static_cast<char16_t>(protocol_name[i]);
  }
  const int eye = channel == 0 ? channels.eye_a.load() : channels.eye_b.load();
  record.Eye = eye == kEyeNone ? u'N' : eye == kEyeOD ? u'D' : u'S';
  record.ProgramVersion = kProgramMajor * 1000 + kProgramMinor;
  float filter = 1.0f;
  if (record.Config.Filter != 0) std::memcpy(&filter, &record.Config.Filter, sizeof filter);
  record.FilterValue = filter;
  record.TestTime = test_time;
  // The sample files first, the record last: a card that refuses a file
  // ends the test there, with that file's one message and no record.
  for (int i = 0; samples != nullptr && i < sample_count; ++i) {
    if (!write_sample_file(record, channel, samples[i], i)) return false;
  }
  return write_tst_file(record, L".tst", channel);
}

bool load_protocol_test(int P, testFileRecord& record) {
  wchar_t pattern[32];
  std::swprintf(pattern, 32, L"\\P%2.2dS??T??*.TST", P);
  int count = 0;
  const std::wstring name = find_last_file(current_test_folder() + pattern, count);
  return count > 0 && read_tst_file(record, name);
}
