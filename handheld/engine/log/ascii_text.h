// Narrow text to wide and back, one character per byte: the unit's names
// and its log are plain ASCII.
#ifndef HANDHELD_ENGINE_LOG_ASCII_TEXT_H
#define HANDHELD_ENGINE_LOG_ASCII_TEXT_H

#include <string>

// Each byte as the character of that code (0-255).
std::wstring widen(const std::string& text);
// ASCII kept; a character outside it becomes '?'.
std::string narrow(const std::wstring& text);

#endif
