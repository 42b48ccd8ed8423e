#include "handheld/engine/storage/calibration_file.h"

#include <math.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <string>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/log/engine_messages.h"
#include "platform/files/whole_file.h"

namespace {

const size_t kNameCharacters = 9;
const size_t kPathCapacity = 512;

// The file's name on the unit.
bool file_name(wchar_t* name) { return calibration_file_name(unit_serial().c_str(), name, kPathCapacity); }

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
  // A card that fills up, or is pulled, mid-write keeps the last good
  // calibration.
  const bool written = file_name(name) && write_card_file_whole(name, "w", [](FILE* file) {
    bool whole = true;
    for (int e = 0; e < CALIBRATION_ENTRIES; ++e) {
      // Every bit of the value: the same reader gives it back exactly.
      if (fprintf(file, "%.17lg\n", calibration_table[e].load()) < 0) whole = false;
    }
    return whole;
  });
  if (!written) {
    engine_show_message(0, "*** cannot open file ***\n%ls\n*** for storing calibration ***", name);
    return false;
  }
  engine_show_message(2, "CALIBRATION SAVED\n\nto CFC.\n\n[%ls]", name);
  return true;
}

bool load_calibration_file() {
  wchar_t name[kPathCapacity];
  FILE* file = nullptr;
  if (file_name(name)) {
    remove_leftover_temporary(card_file_path(name));
    file = open_card_file(name, "r");
  }
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
    if (e != UNIT_SERIAL_ENTRY) calibration_table[e] = values[e];
  }
  unit_serial_to_table(unit_serial().c_str());
  send_calibration_table();
  engine_show_message(1, "CALIBRATION UPDATTED\n\nfrom CFC.\n\n[%ls]", name);
  log_mesg("Calibration restored from CFC.");
  return true;
}
