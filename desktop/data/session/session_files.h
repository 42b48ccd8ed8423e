// The text side of sessions: the lines of a special session file (".s_f")
// and the file pattern of a test's series. Portable.
#ifndef DESKTOP_DATA_SESSION_SESSION_FILES_H
#define DESKTOP_DATA_SESSION_SESSION_FILES_H

#include <cstddef>
#include <string>
#include <vector>

// Lines of 259 or more characters end the list.
constexpr size_t special_session_line_limit = 259;

// The test paths of a special session file's bytes, in order: LF, CR or CR LF
// end a line (a zero byte too); empty lines are skipped; a byte 255 or a
// line of special_session_line_limit or more characters ends the list (that
// line and the rest are ignored).
std::vector<std::string> special_session_lines(const char* bytes, size_t size);

// The pattern that opens a test's series: for a ".tst" (any case) whose base
// name has 'P' at 0, 'S' at 3 and 'T' at 6 (P01S02T0301...), the folder and
// the first six characters of the name followed by "*.tst"; any other path
// is its own pattern.
std::string make_series_pattern(const std::string& path);

// The folder of a path, with its trailing separator ("" for a bare name).
std::string path_folder(const std::string& path);
// The name of a path without its folder and extension (cut at its last '.').
std::string path_base_name(const std::string& path);
// The extension of a path's name, without the '.' ("" when it has none).
std::string path_extension(const std::string& path);

// Case-blind equality of two texts (ASCII letters).
bool same_text_nocase(const std::string& a, const std::string& b);

#endif
