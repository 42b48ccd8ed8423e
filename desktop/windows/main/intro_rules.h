// The main window's rules that need no window: the start-up file from the
// command line, the program font setting, what a dropped file is, and the
// first layout's width. Portable.
#ifndef INTRO_RULES_H
#define INTRO_RULES_H

#include <cstdint>
#include <string>

// Longest command line taken as a start-up path (the terminator included).
constexpr size_t start_path_size = 264;

// The start-up file of a command line: every '"' dropped, trailing blanks
// and tabs trimmed; kept only when its extension (after the last '.') is
// "TST" or "s_f" in any letter case, else "". A line too long for the path
// buffer gives "" too.
std::string start_up_file(const char* command_line);

// The program font's record as the setting PROGRAM_FONT keeps it: thirteen
// numbers and the face name.
struct fontSetting {
  int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
  uint8_t italic = 0, underline = 0, strike_out = 0, char_set = 0, out_precision = 0, clip_precision = 0,
          quality = 0, pitch_and_family = 0;
  std::string face;  // at most 31 characters (the face field's room)
};

// Reads a PROGRAM_FONT text: the thirteen numbers and up to three words of
// the face name, joined by single blanks. False (font untouched) when the
// numbers are not all there.
bool parse_font_setting(const char* text, fontSetting& font);
// The PROGRAM_FONT text of a font.
std::string format_font_setting(const fontSetting& font);

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
