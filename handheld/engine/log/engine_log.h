// The unit's text log on the storage card: a nested parenthesised text where
// "(" name opens a group, "(" name " " value ")" is an entry and ")" closes a
// group. Every call composes its whole text first and writes it with one
// open-append-close, so a record survives a power loss and two threads'
// records never mix inside one call.
#ifndef HANDHELD_ENGINE_LOG_ENGINE_LOG_H
#define HANDHELD_ENGINE_LOG_ENGINE_LOG_H

#include <cstddef>
#include <filesystem>

#define ERG_PRINTF(f, a) __attribute__((format(gnu_printf, f, a)))

// ---- State ----

// The log file; set by the test-folder code once it has made the LOG folder.
// An empty path means no log file yet.
void set_log_file_path(const std::filesystem::path& path);
std::filesystem::path log_file_path();

// Logging is off until the test-folder code has opened the log file once;
// every writer but log_error_line does nothing while it is off.
void set_logging_on(bool on);
bool logging_on();

// Back to the state at program start: no path, logging off, boot record due.
void reset_log_state();

// Local time of day as the log shows it. One small function so that tests can
// pin the clock; a null source restores the system's local time.
struct logClockTime {
  int hour;
  int minute;
  int second;
};
using local_time_source = logClockTime (*)();
void set_local_time_source(local_time_source source);
logClockTime log_local_time();

// The key log's dump, installed by the key-log code and run before every
// error trace line. A null hook (the default) dumps nothing.
using key_log_dump_hook = void (*)();
void set_key_log_dump_hook(key_log_dump_hook hook);

// ---- Quoting ----

// Writes text as a log value into destination (limit bytes, terminator
// included): leading and trailing white space removed; '"' and '\' escaped
// with a backslash; cut with '@' once the value reaches limit - 4 characters;
// enclosed in double quotes when any character lies outside the plain set
// ('!' to '\'', '*' to 'Z', '^' to '~'). Returns the length written.
size_t quote_log_text(const char* text, char* destination, size_t limit);

// ---- Writers ----

void log_open_record(const char* name_format, ...) ERG_PRINTF(1, 2);
void log_close_record(int line_end, const char* text_format, ...) ERG_PRINTF(2, 3);
void log_field(int line_end, const char* name, const char* format, ...) ERG_PRINTF(3, 4);
void log_field_line(const char* name, const char* format, ...) ERG_PRINTF(2, 3);
void log_time_field(int line_end);
void log_time();
void log_channels(int line_end);
void log_mesg(const char* format, ...) ERG_PRINTF(1, 2);
void log_wide_message(const wchar_t* format, ...);
void log_named_message(const char* name, const char* format, ...) ERG_PRINTF(2, 3);
// Written whenever the log file can be opened, logging on or not; raises the
// program error flag; the key log is dumped first.
void log_error_line(const char* format, ...) ERG_PRINTF(1, 2);

// The boot record, written once per program run by the first call with
// logging on; it leaves the "Sadrin" group open for the session's records.
struct bootRecordInfo {
  const char* unit_serial;
  const char* cfc_id;
  int program_major;
  int program_minor;
  char program_release;
  int stimulator_major;
  int stimulator_minor;
  const wchar_t* test_folder;
};
// True when the record was written now.
bool log_boot_record(const bootRecordInfo& info);

#endif
