// Puts a program setting a test changed back as it was before.
#ifndef DESKTOP_WINLIB_TESTS_PROGRAM_SETTING_RESTORE_H
#define DESKTOP_WINLIB_TESTS_PROGRAM_SETTING_RESTORE_H

#include <windows.h>

#include <string>

#include "desktop/winlib/settings/registry_settings.h"

// The value it had; a setting that was not there (empty) is removed.
inline void restore_program_setting(const char* name, const std::string& value) {
  if (!value.empty()) {
    set_program_setting(name, value.c_str());
    return;
  }
  HKEY key = nullptr;
  const std::string path = std::string("SOFTWARE\\") + settings_maker + "\\" + settings_program;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, name);
    RegCloseKey(key);
  }
}

#endif
