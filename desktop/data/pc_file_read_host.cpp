#include "desktop/data/pc_file_read.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>

#include "desktop/winlib/messages/messages.h"

namespace {

// Seconds from 1601 (a file time's start) to 1970.
constexpr int64_t file_time_epoch_offset = 11644473600LL;
constexpr int64_t ticks_per_second = 10000000LL;

// The time of st as a file time (100 ns steps since 1601) in local time.
fileTime local_file_time(const struct stat& st) {
  std::time_t seconds = st.st_mtim.tv_sec;
  std::tm local{};
  long zone = localtime_r(&seconds, &local) ? local.tm_gmtoff : 0;
  int64_t ticks =
      (static_cast<int64_t>(seconds) + zone + file_time_epoch_offset) * ticks_per_second + st.st_mtim.tv_nsec / 100;
  uint64_t value = static_cast<uint64_t>(ticks);
  return fileTime{static_cast<uint32_t>(value & 0xFFFFFFFFu), static_cast<uint32_t>(value >> 32)};
}

}  // namespace

pcFileRead read_pc_file(const char* path, uint32_t size, void* bytes, fileTime* local_last_write) {
  if (!path) path = "";
  struct stat st {};
  if (stat(path, &st) != 0) {
    errormessage("*** CANNOT FIND FILE [%s] *** (fileInfoClass::get)", path);
    return pcFileRead::not_opened;
  }
  std::FILE* file = S_ISDIR(st.st_mode) ? nullptr : std::fopen(path, "rb");
  if (!file) {
    errormessage("*** UNABLE TO OPEN FILE [%s] ***", path);
    return pcFileRead::not_opened;
  }
  if (local_last_write) *local_last_write = local_file_time(st);
  pcFileRead result = pcFileRead::wrong_size;
  if (static_cast<uint64_t>(st.st_size) == size)
    result = std::fread(bytes, 1, size, file) == size ? pcFileRead::done : pcFileRead::short_read;
  std::fclose(file);
  return result;
}
