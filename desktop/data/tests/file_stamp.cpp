#include "desktop/data/tests/file_stamp.h"

#include <gtest/gtest.h>

#if defined(_WIN32)

#include <windows.h>

fileTime stamp(const std::string& path, uint32_t low, uint32_t high) {
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  FILETIME utc{low, high};
  EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &utc));
  CloseHandle(h);
  FILETIME local{};
  FileTimeToLocalFileTime(&utc, &local);
  return fileTime{local.dwLowDateTime, local.dwHighDateTime};
}

#else

#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>

fileTime stamp(const std::string& path, uint32_t low, uint32_t high) {
  constexpr int64_t ticks_per_second = 10000000;
  constexpr int64_t seconds_1601_to_1970 = 11644473600LL;
  const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
  struct timespec times[2] = {};
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(ticks / ticks_per_second - seconds_1601_to_1970);
  times[1].tv_nsec = static_cast<long>(ticks % ticks_per_second) * 100;
  EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  std::tm local{};
  EXPECT_NE(localtime_r(&times[1].tv_sec, &local), nullptr);
  const uint64_t shifted = static_cast<uint64_t>(ticks + static_cast<int64_t>(local.tm_gmtoff) * ticks_per_second);
  return fileTime{static_cast<uint32_t>(shifted & 0xFFFFFFFFu), static_cast<uint32_t>(shifted >> 32)};
}

#endif
