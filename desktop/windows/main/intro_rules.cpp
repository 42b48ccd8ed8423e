#include "desktop/windows/main/intro_rules.h"

#include <cctype>

namespace {

bool same_nocase(const std::string& a, const char* b) {
  std::string lower_a, lower_b = b;
  for (char c : a) lower_a += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (char& c : lower_b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower_a == lower_b;
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
