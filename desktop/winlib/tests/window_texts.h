// What a test reads back as text: a window's title, a menu with its ids and
// checks, and a whole file.
#ifndef DESKTOP_WINLIB_TESTS_WINDOW_TEXTS_H
#define DESKTOP_WINLIB_TESTS_WINDOW_TEXTS_H

#include <windows.h>

#include <string>

std::string window_text(HWND window);
// "id text" per item, items joined by '|': '*' after a checked one, "-" for
// a separator, a submenu in brackets after its item.
std::string menu_text(HMENU menu);
// The file's bytes; empty when it cannot be read.
std::string file_text(const std::string& path);

#endif
