// The start-up settings file: lines "[tag] value". Each tag of the settings
// list names a target that reading fills and writing saves. The file name
// "NONE" (the default) switches the file off.
#ifndef DESKTOP_WINLIB_SETTINGS_STARTUP_FILE_H
#define DESKTOP_WINLIB_SETTINGS_STARTUP_FILE_H

#include <cstddef>

#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/containers/r_list.h"

constexpr int startup_tag_limit = 64;
constexpr int startup_value_limit = 260;

// One setting: its tag and the caller's text buffer.
class startupSetting : public listPayload {
 public:
  startupSetting(const char* key, char* target, size_t size);
  const char* key() const { return key_; }
  char* target() const { return target_; }
  size_t size() const { return size_; }

 private:
  char key_[startup_tag_limit + 1];
  char* target_;
  size_t size_;
};

// The program's settings list (the caller owns the entries it adds).
r_list<startupSetting>& startup_settings();

// The file's name ("NONE" switches it off) and its folder (empty: the
// working folder).
void set_startup_file(const char* folder, const char* name);

bool read_startup_file();
bool write_startup_file();

#endif
