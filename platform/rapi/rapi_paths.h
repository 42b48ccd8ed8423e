// Where a path of the docked unit lies on this PC. Portable.
#ifndef PLATFORM_RAPI_RAPI_PATHS_H
#define PLATFORM_RAPI_RAPI_PATHS_H

#include <string>

// Maps a unit path "\Storage Card\..." (the card's name in any letter case,
// with or without the leading backslash) onto the card folder. False for a
// path off the card, or one that would leave the card (a ".." part).
bool map_unit_path(const wchar_t* unit_path, const std::wstring& card_folder, std::wstring& out);

#endif
