#include "desktop/data/session/session_files.h"

#include <cctype>

std::vector<std::string> special_session_lines(const char* bytes, size_t size) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i <= size; ++i) {
    const unsigned char c = i < size ? static_cast<unsigned char>(bytes[i]) : '\n';
    if (c == 255) break;
    if (c == '\n' || c == '\r' || c == '\0') {
      if (!line.empty()) lines.push_back(line);
      line.clear();
      continue;
    }
    line += static_cast<char>(c);
    if (line.size() >= special_session_line_limit) break;
  }
  return lines;
}

std::string path_folder(const std::string& path) {
  const size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string path_base_name(const std::string& path) {
  std::string name = path.substr(path_folder(path).size());
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string path_extension(const std::string& path) {
  std::string name = path.substr(path_folder(path).size());
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool same_text_nocase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string make_series_pattern(const std::string& path) {
  const std::string base = path_base_name(path);
  if (!same_text_nocase(path_extension(path), "tst") || base.size() < 7) return path;
  if (base[0] != 'P' || base[3] != 'S' || base[6] != 'T') return path;
  return path_folder(path) + base.substr(0, 6) + "*.tst";
}
