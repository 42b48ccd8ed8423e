#include "handheld/engine/storage/ini_file.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "handheld/engine/log/ascii_text.h"
#include "handheld/engine/storage/card_files.h"
#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/storage/system_parameters.h"
#include "platform/files/whole_file.h"

namespace {

const wchar_t kIniPath[] = L"Storage Card\\VANDU.ini";
const int kLineCapacity = 256;

// Reads one line without its '\n' (cut to the buffer; the rest of a longer
// line is dropped, and a NUL byte ends its text but not the line); false at
// the end of the file.
bool read_line(FILE* file, char (&line)[kLineCapacity]) {
  size_t length = 0;
  int c = EOF;
  bool any = false;
  while ((c = std::fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (length + 1 < kLineCapacity) line[length++] = static_cast<char>(c);
  }
  line[length] = '\0';
  return any;
}

// Line 1: the two channel switches as whole numbers; any number other
// than 0 is on, however large. Reading stops at the first that is not a
// number.
void read_switches(const char* line, int& a_on, int& b_on) {
  char* end = nullptr;
  const long long a = std::strtoll(line, &end, 10);
  if (end == line) return;
  a_on = a != 0 ? 1 : 0;
  const char* rest = end;
  const long long b = std::strtoll(rest, &end, 10);
  if (end != rest) b_on = b != 0 ? 1 : 0;
}

}  // namespace

bool read_ini_file() {
  reset_cfc_id();
  remove_leftover_temporary(card_file_path(kIniPath));
  FILE* file = open_card_file(kIniPath, "rb");
  if (file == nullptr) {
    engine_show_message(1, "-- NO INIT FILE --\n%s\n-- FOUND --", narrow(kIniPath).c_str());
    return false;
  }
  char line[kLineCapacity];
  if (read_line(file, line)) {
    int a_on = 0, b_on = 0;
    read_switches(line, a_on, b_on);
    channels.a_on = a_on != 0 ? 1 : 0;
    channels.b_on = b_on != 0 ? 1 : 0;
    if (a_on == 0 && b_on == 0) channels.a_on = 1;
    channels.current = channels.a_on != 0 ? 0 : 1;
  }
  if (read_line(file, line)) {
    char word[kCfcIdCharacters + 1] = "";
    if (std::sscanf(line, "%31s", word) == 1 && !set_cfc_id(word)) {
      engine_show_message(0, "*** CFC ID [%s] ***\nIS NOT A VALID NAME", word);
    }
  }
  while (read_line(file, line)) {
    // A value that is not a finite number is skipped like a missing one.
    char key[64];
    int used = 0;
    if (std::sscanf(line, "%63s%n", key, &used) != 1) continue;
    char* end = nullptr;
    const double value = std::strtod(line + used, &end);
    if (end == line + used || !std::isfinite(value)) continue;
    for (int i = 0; i < SYSTEM_PARAMETER_COUNT; ++i) {
      if (std::strcmp(key, system_parameters[i].key) == 0) {
        store_system_parameter(static_cast<systemParameterIndex>(i), value);
        break;
      }
    }
  }
  std::fclose(file);
  return true;
}

bool write_ini_file() {
  const bool written = write_card_file_whole(kIniPath, "wb", [](FILE* file) {
    const int a_on = channels.a_on.load();
    const int b_on = channels.b_on.load();
    if (a_on == 0 && b_on == 0) {
      std::fprintf(file, "1  0\n");
    } else {
      std::fprintf(file, "%d %d\n", a_on, b_on);
    }
    std::fprintf(file, "%s\n", cfc_id().c_str());
    for (int i = 0; i < SYSTEM_PARAMETER_COUNT; ++i) {
      std::fprintf(file, "%s %lg\n", system_parameters[i].key, *system_parameters[i].value);
    }
    return true;
  });
  if (!written) engine_show_message(0, "*** UNABLE TO STORE ***\n%s", narrow(kIniPath).c_str());
  return written;
}
