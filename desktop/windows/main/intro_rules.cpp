#include "intro_rules.h"

#include <cctype>
#include <cstdio>
#include <sstream>

namespace {

bool same_nocase(const std::string& a, const char* b) {
  std::string lower_a, lower_b = b;
  for (char c : a) lower_a += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : lower_b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower_a == lower_b;
}

template <typename T>
T held(long value, long low, long high) {
  return static_cast<T>(value < low ? low : value > high ? high : value);
}

}  // namespace

std::string start_up_file(const char* command_line) {
  std::string path;
  for (const char* p = command_line != nullptr ? command_line : ""; *p != '\0'; ++p) {
    if (*p != '"') path += *p;
  }
  if (path.size() >= start_path_size) return std::string();
  while (!path.empty() && (path.back() == ' ' || path.back() == '\t')) path.pop_back();
  const size_t dot = path.rfind('.');
  const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
  if (!same_nocase(extension, "TST") && !same_nocase(extension, "s_f")) return std::string();
  return path;
}

bool parse_font_setting(const char* text, fontSetting& font) {
  if (text == nullptr) return false;
  std::istringstream in(text);
  long n[13];
  for (long& value : n) {
    if (!(in >> value)) return false;
  }
  std::string words[3];
  in >> words[0] >> words[1] >> words[2];
  fontSetting result;
  // Each number is held to its field's range (the record keeps bytes).
  result.height = held<int32_t>(n[0], -100000, 100000);
  result.width = held<int32_t>(n[1], -100000, 100000);
  result.escapement = held<int32_t>(n[2], -3600, 3600);
  result.orientation = held<int32_t>(n[3], -3600, 3600);
  result.weight = held<int32_t>(n[4], 0, 1000);
  uint8_t* bytes[] = {&result.italic, &result.underline, &result.strike_out, &result.char_set,
                      &result.out_precision, &result.clip_precision, &result.quality, &result.pitch_and_family};
  for (int i = 0; i < 8; ++i) *bytes[i] = held<uint8_t>(n[5 + i], 0, 255);
  result.face = words[0];
  if (!words[1].empty()) {
    result.face += " " + words[1];
    if (!words[2].empty()) result.face += " " + words[2];
  }
  if (result.face.size() > 31) result.face.resize(31);
  font = result;
  return true;
}

std::string format_font_setting(const fontSetting& f) {
  char text[256];
  std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d %d %d %d %d %d %d %s\n", f.height, f.width, f.escapement,
                f.orientation, f.weight, f.italic, f.underline, f.strike_out, f.char_set, f.out_precision,
                f.clip_precision, f.quality, f.pitch_and_family, f.face.c_str());
  return text;
}

dropKind classify_drop(const std::string& extension) {
  if (same_nocase(extension, "xy") || same_nocase(extension, "txt") || same_nocase(extension, "csv")) {
    return dropKind::trace_text;
  }
  if (same_nocase(extension, "st_")) return dropKind::state_file;
  if (same_nocase(extension, "spl")) return dropKind::sample_file;
  if (same_nocase(extension, "s_f") || same_nocase(extension, "tst")) return dropKind::session;
  return dropKind::unknown;
}

introLayout first_layout(double logo_width, double banner_width, double row_width) {
  const double box = logo_width + 10.0;
  if (box > banner_width) {
    if (box >= row_width) return {box + 15.0, true};
    return {row_width + 5.0, false};
  }
  if (row_width <= banner_width) return {banner_width + 15.0, true};
  return {row_width + 5.0, false};
}
