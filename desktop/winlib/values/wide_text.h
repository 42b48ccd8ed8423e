// Text between UTF-8, the form in which the desktop holds every text and
// path, and UTF-16, the form of the stored records' texts and of the
// platform's wide calls. Text that is not well formed (a stray UTF-8 byte, a
// lone surrogate) becomes U+FFFD; nothing is dropped silently.
#ifndef DESKTOP_WINLIB_VALUES_WIDE_TEXT_H
#define DESKTOP_WINLIB_VALUES_WIDE_TEXT_H

#include <cstddef>
#include <string>

// At most max_units units of text, ended early by a 0 unit; null gives "".
std::string utf8_text(const char16_t* text, size_t max_units);
std::string utf8_text(const std::u16string& text);
// Null gives an empty text.
std::u16string utf16_text(const char* text);

#ifdef _WIN32
// wchar_t is a UTF-16 unit on this platform: the wide calls take these.
std::wstring wide_text(const char* text);
std::string utf8_text(const wchar_t* text);
#endif

#endif
