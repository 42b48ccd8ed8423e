#include "handheld/engine/log/engine_log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <mutex>
#include <string>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/protocols/program_error.h"

namespace {

// Guards the path and serialises the writes.
std::mutex g_lock;
std::filesystem::path g_path;
std::atomic<bool> g_logging{false};
std::atomic<bool> g_boot_due{true};
std::atomic<local_time_source> g_time_source{nullptr};
std::atomic<key_log_dump_hook> g_key_dump{nullptr};

constexpr size_t kValueChars = 256;   // a formatted value, terminator included
constexpr size_t kQuoteLimit = 508;   // a quoted value, terminator included
constexpr size_t kNameChars = 508;
constexpr size_t kMessageChars = 127;

std::FILE* open_for_append(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.c_str(), L"ab");
#else
  return std::fopen(path.c_str(), "ab");
#endif
}

// One open-append-close. Gated writes do nothing while logging is off.
void append(const std::string& text, bool gated) {
  if (gated && !g_logging.load()) return;
  std::lock_guard<std::mutex> hold(g_lock);
  if (g_path.empty()) return;
  std::FILE* file = open_for_append(g_path);
  if (file == nullptr) return;
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

std::string vformat(size_t size, const char* format, va_list args) {
  std::string out(size, '\0');
  int n = std::vsnprintf(&out[0], size, format, args);
  if (n < 0) return std::string();
  out.resize(static_cast<size_t>(n) < size ? static_cast<size_t>(n) : size - 1);
  return out;
}

std::string format_text(size_t size, const char* format, ...) ERG_PRINTF(2, 3);
std::string format_text(size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string out = vformat(size, format, args);
  va_end(args);
  return out;
}

std::string quoted(const std::string& value) {
  char buffer[kQuoteLimit];
  size_t n = quote_log_text(value.c_str(), buffer, sizeof buffer);
  return std::string(buffer, n);
}

// "(" name " " value ")", the value quoted.
std::string field_text(const char* name, const std::string& value) {
  std::string text = "(";
  text += std::string(name).substr(0, kNameChars);
  text += ' ';
  text += quoted(value);
  text += ')';
  return text;
}

std::string clock_text() {
  logClockTime now = log_local_time();
  return format_text(16, "%.2d:%.2d:%.2d", now.hour, now.minute, now.second);
}

const char* eye_text(int32_t eye) {
  if (eye == kEyeOD) return "(OD)";
  if (eye == kEyeOS) return "(OS)";
  return "";
}

std::string channels_text() {
  return format_text(16, "%c%s%c%s", channels.a_on.load() ? 'A' : ' ',
                eye_text(channels.eye_a.load()), channels.b_on.load() ? 'B' : ' ',
                eye_text(channels.eye_b.load()));
}

// A message record: (log (time ...)(chan ...)(name text)) and a line end.
std::string message_record(const char* name, const std::string& text) {
  std::string record = "(log ";
  record += field_text("time", clock_text());
  record += field_text("chan", channels_text());
  record += field_text(name, text.substr(0, kMessageChars));
  record += ")\n";
  return record;
}

}  // namespace

void set_log_file_path(const std::filesystem::path& path) {
  std::lock_guard<std::mutex> hold(g_lock);
  g_path = path;
}

std::filesystem::path log_file_path() {
  std::lock_guard<std::mutex> hold(g_lock);
  return g_path;
}

void set_logging_on(bool on) { g_logging.store(on); }

bool logging_on() { return g_logging.load(); }

void reset_log_state() {
  set_log_file_path(std::filesystem::path());
  g_logging.store(false);
  g_boot_due.store(true);
}

void set_local_time_source(local_time_source source) { g_time_source.store(source); }

logClockTime log_local_time() {
  local_time_source source = g_time_source.load();
  if (source != nullptr) return source();
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  // The runtime keeps this buffer per thread.
  const std::tm* p = std::localtime(&now);
  if (p != nullptr) local = *p;
#else
  localtime_r(&now, &local);
#endif
  return logClockTime{local.tm_hour, local.tm_min, local.tm_sec};
}

void set_key_log_dump_hook(key_log_dump_hook hook) { g_key_dump.store(hook); }

void log_open_record(const char* name_format, ...) {
  va_list args;
  va_start(args, name_format);
  std::string name = vformat(kNameChars + 1, name_format, args);
  va_end(args);
  append("(" + name + " ", true);
}

void log_close_record(int line_end, const char* text_format, ...) {
  va_list args;
  va_start(args, text_format);
  std::string text = quoted(vformat(kValueChars, text_format, args));
  va_end(args);
  text += ')';
  if (line_end == 1) text += '\n';
  append(text, true);
}

void log_field(int line_end, const char* name, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string value = vformat(kValueChars, format, args);
  va_end(args);
  std::string text = field_text(name, value);
  if (line_end == 1) text += '\n';
  append(text, true);
}

void log_field_line(const char* name, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string value = vformat(kValueChars, format, args);
  va_end(args);
  append(field_text(name, value) + "\n", true);
}

void log_time_field(int line_end) {
  std::string text = field_text("time", clock_text());
  if (line_end == 1) text += '\n';
  append(text, true);
}

void log_time() { log_time_field(0); }

void log_channels(int line_end) {
  std::string text = field_text("chan", channels_text());
  if (line_end == 1) text += '\n';
  append(text, true);
}

void log_mesg(const char* format, ...) {
  if (!g_logging.load()) return;
  va_list args;
  va_start(args, format);
  std::string text = vformat(kValueChars, format, args);
  va_end(args);
  append(message_record("mesg", text), true);
}

void log_wide_message(const wchar_t* format, ...) {
  if (!g_logging.load()) return;
  wchar_t wide[kValueChars];
  wide[0] = L'\0';
  va_list args;
  va_start(args, format);
  std::vswprintf(wide, kValueChars, format, args);
  va_end(args);
  wide[kValueChars - 1] = L'\0';
  log_mesg("%s", narrow(std::wstring(wide).substr(0, kMessageChars)).c_str());
}

void log_named_message(const char* name, const char* format, ...) {
  if (!g_logging.load()) return;
  va_list args;
  va_start(args, format);
  std::string text = vformat(kValueChars, format, args);
  va_end(args);
  append(message_record(name, text), true);
}

void log_error_line(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformat(kValueChars, format, args);
  va_end(args);
  program_error.store(true);
  key_log_dump_hook dump = g_key_dump.load();
  if (dump != nullptr) dump();
  logClockTime now = log_local_time();
  std::string line = format_text(kValueChars + 32, "%.2d:%.2d:%.2d *** %c%c - %s\n", now.hour,
                            now.minute, now.second, channels.a_on.load() ? 'A' : ' ',
                            channels.b_on.load() ? 'B' : ' ', text.c_str());
  append(line, false);
}

bool log_boot_record(const bootRecordInfo& info) {
  if (!g_logging.load()) return false;
  if (!g_boot_due.exchange(false)) return false;
  std::string record = "(Sadrin (bootup ";
  record += field_text("unit", format_text(kValueChars, "%s", info.unit_serial ? info.unit_serial : ""));
  record += field_text("disk", format_text(kValueChars, "%s", info.cfc_id ? info.cfc_id : ""));
  record += field_text("Sadrin_version", format_text(kValueChars, "%2i.%3.3i%c", info.program_major,
                                                info.program_minor, info.program_release));
  record += field_text("8051_version",
                       format_text(kValueChars, "%2i.%3.3i", info.stimulator_major, info.stimulator_minor));
  record += '\n';
  record += field_text("time", clock_text());
  const std::wstring folder = info.test_folder != nullptr ? info.test_folder : L"";
  record += field_text("test_folder", narrow(folder.substr(0, kValueChars - 1)));
  record += ")\n";
  append(record, true);
  return true;
}
