// The main window's rules that need no window: the start-up file from the
// command line, what a dropped file is, and the first layout's width.
// Portable. (The program font setting is the settings library's.)
#ifndef DESKTOP_WINDOWS_MAIN_INTRO_RULES_H
#define DESKTOP_WINDOWS_MAIN_INTRO_RULES_H

#include <string>

// Longest command line taken as a start-up path (the terminator included).
constexpr size_t start_path_size = 264;

// The start-up file of a command line: every '"' dropped, trailing blanks
// and tabs trimmed; kept only when its extension (after the last '.') is
// "TST" or "s_f" in any letter case, else "". A line too long for the path
// buffer gives "" too.
std::string start_up_file(const char* command_line);

// What the main window does with a dropped file, by its extension.
enum class dropKind { trace_text, state_file, sample_file, session, unknown };
dropKind classify_drop(const std::string& extension);

// The first layout: the window's width (mm) and where the button row starts
// (centred, else at 2 mm), from the framed logo's box (logo width + 10), the
// banner's width and the row's width (the buttons + 4).
struct introLayout {
  double width;
  bool centred;
};
introLayout first_layout(double logo_width, double banner_width, double row_width);

#endif
