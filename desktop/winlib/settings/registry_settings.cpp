#include "desktop/winlib/settings/registry_settings.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "desktop/winlib/messages/messages.h"

namespace {

// The value of the last read; replaced by the next one.
std::vector<char> last_value(1, 0);

const char* empty_value() {
  last_value.assign(1, 0);
  return last_value.data();
}

void key_path(char* out, size_t size, const char* maker, const char* program) {
  std::snprintf(out, size, "SOFTWARE\\%s\\%s", maker ? maker : "", program ? program : "");
}

}  // namespace

bool settings_key_exists() {
  char path[MAX_PATH];
  key_path(path, sizeof path, settings_maker, settings_program);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

const char* get_program_setting(const char* name, bool quiet) {
  return get_registry_value(HKEY_CURRENT_USER, settings_maker, settings_program, name, quiet);
}

const char* get_registry_value(HKEY root, const char* maker, const char* program, const char* name, bool quiet) {
  char path[MAX_PATH];
  key_path(path, sizeof path, maker, program);
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    if (!quiet) errormessage("*** get_registry_value: RegOpenKeyEx [%s] FAILED ***", path);
    return empty_value();
  }
  DWORD type = 0;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    last_value.assign(static_cast<size_t>(size) + 1, 0);
    status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(last_value.data()), &size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    if (!quiet) errormessage("*** get_registry_value: RegQueryValueExx [%s] %s FAILED ***", path, name ? name : "");
    return empty_value();
  }
  if (size < last_value.size()) last_value[size] = 0;
  last_value.back() = 0;
  return last_value.data();
}

bool set_program_setting(const char* name, const char* text) {
  return set_registry_value(HKEY_CURRENT_USER, settings_maker, settings_program, name, text);
}

bool set_registry_value(HKEY root, const char* maker, const char* program, const char* name, const char* text) {
  char path[MAX_PATH];
  key_path(path, sizeof path, maker, program);
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    errormessage("*** set_registry_value: RegOpenKeyEx [%s] FAILED ***", path);
    return false;
  }
  if (!text) text = "";
  LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                               static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) {
    errormessage("*** set_registry_value: RegQueryValueExx [%s] %s FAILED ***", path, name ? name : "");
    return false;
  }
  return true;
}

bool save_program_font(const LOGFONTA& font) {
  char text[256];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d %d %d %d %d %d %d %s\n", static_cast<int>(font.lfHeight),
                static_cast<int>(font.lfWidth), static_cast<int>(font.lfEscapement),
                static_cast<int>(font.lfOrientation), static_cast<int>(font.lfWeight), font.lfItalic,
                font.lfUnderline, font.lfStrikeOut, font.lfCharSet, font.lfOutPrecision, font.lfClipPrecision,
                font.lfQuality, font.lfPitchAndFamily, font.lfFaceName);
  return set_program_setting("PROGRAM_FONT", text);
}

bool parse_program_font(const char* text, LOGFONTA* font) {
  if (!text || !font) return false;
  int v[13];
  char words[3][LF_FACESIZE] = {};
  int n = std::sscanf(text, "%d %d %d %d %d %d %d %d %d %d %d %d %d %31s %31s %31s\n", &v[0], &v[1], &v[2],
                      &v[3], &v[4], &v[5], &v[6], &v[7], &v[8], &v[9], &v[10], &v[11], &v[12], words[0],
                      words[1], words[2]);
  if (n < 14) return false;
  LOGFONTA f{};
  f.lfHeight = v[0];
  f.lfWidth = v[1];
  f.lfEscapement = v[2];
  f.lfOrientation = v[3];
  f.lfWeight = v[4];
  f.lfItalic = static_cast<BYTE>(v[5]);
  f.lfUnderline = static_cast<BYTE>(v[6]);
  f.lfStrikeOut = static_cast<BYTE>(v[7]);
  f.lfCharSet = static_cast<BYTE>(v[8]);
  f.lfOutPrecision = static_cast<BYTE>(v[9]);
  f.lfClipPrecision = static_cast<BYTE>(v[10]);
  f.lfQuality = static_cast<BYTE>(v[11]);
  f.lfPitchAndFamily = static_cast<BYTE>(v[12]);
  std::snprintf(f.lfFaceName, sizeof f.lfFaceName, "%s", words[0]);
  for (int i = 1; i < n - 13; ++i) {
    size_t used = std::strlen(f.lfFaceName);
    std::snprintf(f.lfFaceName + used, sizeof f.lfFaceName - used, " %s", words[i]);
  }
  *font = f;
  return true;
}
