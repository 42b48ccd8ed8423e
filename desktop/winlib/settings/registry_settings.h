// The program's settings: string values under
// HKEY_CURRENT_USER\SOFTWARE\TARNAVELLE\TOLMARO (the installation folder
// "InstallPath" under HKEY_LOCAL_MACHINE in the same key).
//
// A read returns one heap buffer owned here, valid until the next read. A
// missing key or value gives an empty text (reported unless quiet), which
// callers take as a request for their default. A read never writes.
#ifndef DESKTOP_WINLIB_SETTINGS_REGISTRY_SETTINGS_H
#define DESKTOP_WINLIB_SETTINGS_REGISTRY_SETTINGS_H

#include <windows.h>

constexpr const char* settings_maker = "TARNAVELLE";
constexpr const char* settings_program = "TOLMARO";

bool settings_key_exists();
const char* get_program_setting(const char* name, bool quiet);
const char* get_registry_value(HKEY root, const char* maker, const char* program, const char* name, bool quiet);
bool set_program_setting(const char* name, const char* text);
bool set_registry_value(HKEY root, const char* maker, const char* program, const char* name, const char* text);

// The program font as the "PROGRAM_FONT" setting: the LOGFONT's thirteen
// numbers and its face name (up to three words) on one line.
bool save_program_font(const LOGFONTA& font);
// Reads a "PROGRAM_FONT" text; false (font unchanged) when it does not hold
// a font.
bool parse_program_font(const char* text, LOGFONTA* font);

#endif
