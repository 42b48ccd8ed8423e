// Files on the storage card by their unit paths ("Storage Card\..."):
// opening, matching names against a wildcard pattern, and folder checks.
// Paths resolve onto the configured card folder (card_path.h). A folder
// scan returns names sorted by name, the order every caller relies on.
#ifndef HANDHELD_ENGINE_STORAGE_CARD_FILES_H
#define HANDHELD_ENGINE_STORAGE_CARD_FILES_H

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/files/whole_file.h"

// The path here of a unit path; empty when it does not resolve.
std::filesystem::path card_file_path(const std::wstring& unit_path);

// A card that takes no new file or folder (mounted read-only): while on,
// every open for writing and every new folder fails, as on such a card.
void set_card_read_only(bool on);
bool card_read_only();

// fopen on a unit path; null when it cannot be opened.
FILE* open_card_file(const std::wstring& unit_path, const char* mode);

// Writes a file whole or not at all (whole_file.h): write fills a new file
// beside it (opened with mode), which takes the file's place only when
// everything was written, flushed and closed; otherwise the old file stays
// as it was and the new one is removed. False on any failure (write
// returning false included), and failed (when given) names the step; a
// read-only card fails to open.
bool write_card_file_whole(const std::wstring& unit_path, const char* mode, const std::function<bool(FILE*)>& write,
                           wholeFileStep* failed = nullptr);

// '?' matches one character, '*' any run; letters match in either case, as
// the unit's file system does.
bool wildcard_match(const std::wstring& pattern, const std::wstring& name);

// The names (without folder) of the entries matching the pattern's last
// component in its folder, sorted by name; "." and ".." never match.
std::vector<std::wstring> card_matches(const std::wstring& unit_pattern);

bool card_is_directory(const std::wstring& unit_path);

// Deletes a file by its unit path; false when it could not be deleted.
bool remove_card_path(const std::wstring& unit_path);

// The unit path's last component and the folder before it ("" when none).
std::wstring last_component(const std::wstring& unit_path);
std::wstring folder_of(const std::wstring& unit_path);

#endif
