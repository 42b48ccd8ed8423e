#include "calibration_file.h"

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "calibration_table.h"
#include "card_path.h"
#include "engine_log.h"
#include "engine_messages.h"

namespace {

const size_t kNameCharacters = 9;
const size_t kPathCapacity = 512;

FILE* open_file(const wchar_t* path, const char* mode) {
  const std::filesystem::path file(path);
#ifdef _WIN32
  const std::wstring wide_mode(mode, mode + strlen(mode));
  return _wfopen(file.c_str(), wide_mode.c_str());
#else
  return fopen(file.c_str(), mode);
#endif
}

// The file's name on the unit and its path here.
bool file_paths(wchar_t* name, wchar_t* path) {
  return calibration_file_name(unit_serial().c_str(), name, kPathCapacity) &&
         resolve_card_path(name, path, kPathCapacity);
}

}  // namespace

bool calibration_file_name(const char* serial, wchar_t* out, size_t capacity) {
  if (out == nullptr || capacity == 0) return false;
  std::wstring part;
  for (size_t i = 0; serial != nullptr && serial[i] != '\0' && i < kNameCharacters; ++i) {
    if (i > 0 && serial[i] == ' ') break;
    part += static_cast<wchar_t>(static_cast<unsigned char>(serial[i]));
  }
  const int n = swprintf(out, capacity, L"Storage Card\\Cal%ls.txt", part.c_str());
  if (n < 0 || static_cast<size_t>(n) >= capacity) {
    out[0] = L'\0';
    return false;
  }
  return true;
}

bool save_calibration_file() {
  wchar_t name[kPathCapacity];
  wchar_t path[kPathCapacity];
  // The table goes to a new file first and replaces the old one only once
  // it is whole: a card that fills up, or is pulled, mid-write keeps the
  // last good calibration.
  std::wstring fresh;
  FILE* file = nullptr;
  if (file_paths(name, path)) {
    fresh = std::wstring(path) + L".new";
    file = open_file(fresh.c_str(), "w");
  }
  bool written = file != nullptr;
  if (file != nullptr) {
    for (int e = 0; e < CALIBRATION_ENTRIES; ++e) {
      if (fprintf(file, "%lg\n", calibrationTable[e].load()) < 0) written = false;
    }
    if (ferror(file) != 0) written = false;
    if (fclose(file) != 0) written = false;
    std::error_code error;
    if (written) std::filesystem::rename(std::filesystem::path(fresh), std::filesystem::path(path), error);
    if (!written || error) {
      written = false;
      std::filesystem::remove(std::filesystem::path(fresh), error);
    }
  }
  if (!written) {
    engine_show_message(0, "*** cannot open file ***\n%ls\n*** for storing calibration ***", name);
    return false;
  }
  engine_show_message(1, "CALIBRATION SAVED\n\nto CFC.\n\n[%ls]", name);
  return true;
}

bool load_calibration_file() {
  wchar_t name[kPathCapacity];
  wchar_t path[kPathCapacity];
  FILE* file = file_paths(name, path) ? open_file(path, "r") : nullptr;
  if (file == nullptr) {
    engine_show_message(0, "*** cannot open file ***\n%ls\n*** for reading calibration ***", name);
    return false;
  }
  double values[CALIBRATION_ENTRIES];
  int count = 0;
  while (count < CALIBRATION_ENTRIES && fscanf(file, "%lg", &values[count]) == 1 && isfinite(values[count])) {
    ++count;
  }
  fclose(file);
  if (count < CALIBRATION_ENTRIES) {
    log_mesg("*** only (%d) values read ***", count);
    engine_show_message(0, "*** only (%d) values read ***\n%ls\n*** calibration not changed ***", count, name);
    return false;
  }
  for (int e = 0; e < CALIBRATION_ENTRIES; ++e) {
    if (e != UNIT_SERIAL_ENTRY) calibrationTable[e] = values[e];
  }
  unit_serial_to_table(unit_serial().c_str());
  send_calibration_table();
  engine_show_message(1, "CALIBRATION UPDATTED\n\nfrom CFC.\n\n[%ls]", name);
  log_mesg("Calibration restored from CFC.");
  return true;
}
