// The unit's storage card. Windows CE has no current folder, so
// "Storage Card\..." (or "\Storage Card\...") is a root path on the unit;
// here every such path resolves against one configured card folder.
#ifndef PLATFORM_CE_CARD_PATH_H
#define PLATFORM_CE_CARD_PATH_H

#include <stddef.h>

// The card folder. Null or empty selects the default, the folder
// "Storage Card" of the current folder. Trailing separators are dropped.
void set_card_root(const wchar_t* folder);

// Copies the card folder into out (always terminated); false when it does
// not fit (out is then empty).
bool get_card_root(wchar_t* out, size_t capacity);

// Resolves a path: a path on the card ("Storage Card" in any letter case,
// alone or followed by a separator, with or without a leading separator) is
// rewritten onto the card folder; any other path is copied as it is. The
// result is always terminated; false when it does not fit (out is then
// empty). Off Windows every backslash of the result becomes a slash.
bool resolve_card_path(const wchar_t* path, wchar_t* out, size_t capacity);

#endif
