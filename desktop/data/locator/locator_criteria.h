// The test locator's criteria on one stored test: the wildcard match of test
// and user ids, and the eye read from the stored file's name. Portable.
#ifndef DESKTOP_DATA_LOCATOR_LOCATOR_CRITERIA_H
#define DESKTOP_DATA_LOCATOR_LOCATOR_CRITERIA_H

#include <string>

// pattern against text: an unquoted '*' matches any run of characters (also
// none), an unquoted '?' exactly one, any other character itself without
// regard to case; a double quote toggles quoting and is dropped. Leading
// blanks of the pattern and leading and trailing blanks of the text do not
// count. A null or empty pattern matches anything; a null or empty text then
// matches nothing. Linear in the text for each star: no backtracking blow-up.
bool wildcard_match(const char* pattern, const char* text);

// What the eye criterion says of a stored test's file name.
enum class eyeCheck { match, no_match, bad_name, bad_eye };

// eye "OD" needs channel A, "OS" channel B (any letter case); the channel is
// the letter at index 11 of the name: "P%02dS%02dT%02d%02d" + the letter,
// then the test id (up to ten characters), "-SLAVE" for a slave unit, and
// ".TST" (any case). A name of another form is bad_name, another eye text
// bad_eye.
eyeCheck check_eye(const char* file_name, const char* eye);

// The file name's list text: the name cut at its last '.'.
std::string name_without_extension(const char* file_name);

#endif
