#include "platform/files/whole_file.h"

#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

wholeFileFault g_fault = wholeFileFault::none;

bool fail(wholeFileStep step, wholeFileStep* failed) {
  if (failed != nullptr) *failed = step;
  return false;
}

std::FILE* open_file(const std::filesystem::path& path, const char* mode) {
#ifdef _WIN32
  wchar_t wide_mode[8] = {};
  for (size_t i = 0; i < 7 && mode[i] != '\0'; ++i) wide_mode[i] = static_cast<wchar_t>(mode[i]);
  return _wfopen(path.c_str(), wide_mode);
#else
  return std::fopen(path.c_str(), mode);
#endif
}

// The stream's buffer to the system, and the system's buffers to the disk.
bool flush_to_disk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

bool rename_over(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void remove_quietly(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
}

}  // namespace

const char* whole_file_step_text(wholeFileStep step) {
  switch (step) {
    case wholeFileStep::open:
      return "could not be created";
    case wholeFileStep::write:
      return "could not be written";
    case wholeFileStep::flush:
      return "could not be flushed to the disk (is the disk full?)";
    case wholeFileStep::close:
      return "could not be closed (is the disk full?)";
    case wholeFileStep::rename:
      return "could not replace the old file";
    case wholeFileStep::none:
      break;
  }
  return "";
}

std::filesystem::path whole_file_temporary(const std::filesystem::path& target) {
  std::filesystem::path temporary = target;
  temporary += ".new";
  return temporary;
}

void remove_leftover_temporary(const std::filesystem::path& target) {
  if (!target.empty()) remove_quietly(whole_file_temporary(target));
}

void remove_leftover_temporary(const char* path) {
  if (path != nullptr && *path != '\0') remove_leftover_temporary(std::filesystem::u8path(path));
}

std::FILE* open_whole_file(const std::filesystem::path& target, const char* mode, wholeFileStep* failed) {
  if (failed != nullptr) *failed = wholeFileStep::none;
  std::FILE* file = nullptr;
  if (!target.empty() && g_fault != wholeFileFault::open) file = open_file(whole_file_temporary(target), mode);
  if (file == nullptr) fail(wholeFileStep::open, failed);
  return file;
}

bool finish_whole_file(std::FILE* file, const std::filesystem::path& target, wholeFileStep* failed) {
  if (failed != nullptr) *failed = wholeFileStep::none;
  if (file == nullptr) return fail(wholeFileStep::open, failed);
  const std::filesystem::path temporary = whole_file_temporary(target);
  wholeFileStep step = wholeFileStep::none;
  if (std::ferror(file) != 0) step = wholeFileStep::write;
  if (step == wholeFileStep::none && (!flush_to_disk(file) || g_fault == wholeFileFault::flush)) {
    step = wholeFileStep::flush;
  }
  // The close can report what no flush did: both are checked.
  if (std::fclose(file) != 0 || g_fault == wholeFileFault::close) {
    if (step == wholeFileStep::none) step = wholeFileStep::close;
  }
  if (step == wholeFileStep::none && g_fault == wholeFileFault::killed) return fail(wholeFileStep::rename, failed);
  if (step == wholeFileStep::none && (g_fault == wholeFileFault::rename || !rename_over(temporary, target))) {
    step = wholeFileStep::rename;
  }
  if (step == wholeFileStep::none) return true;
  remove_quietly(temporary);
  return fail(step, failed);
}

bool write_file_whole(const std::filesystem::path& target, const char* mode,
                      const std::function<bool(std::FILE*)>& write, wholeFileStep* failed) {
  std::FILE* file = open_whole_file(target, mode, failed);
  if (file == nullptr) return false;
  if (write(file)) return finish_whole_file(file, target, failed);
  std::fclose(file);
  remove_quietly(whole_file_temporary(target));
  return fail(wholeFileStep::write, failed);
}

bool write_file_whole(const char* path, const char* mode, const std::function<bool(std::FILE*)>& write,
                      wholeFileStep* failed) {
  return write_file_whole(path != nullptr ? std::filesystem::u8path(path) : std::filesystem::path(), mode, write,
                          failed);
}

bool write_bytes_whole(const std::filesystem::path& target, const void* bytes, size_t size, wholeFileStep* failed) {
  return write_file_whole(
      target, "wb", [&](std::FILE* file) { return size == 0 || std::fwrite(bytes, 1, size, file) == size; }, failed);
}

void set_whole_file_fault(wholeFileFault fault) { g_fault = fault; }
