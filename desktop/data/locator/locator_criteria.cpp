#include "desktop/data/locator/locator_criteria.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace {

struct patternChar {
  char c;
  bool quoted;
};

char fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool same_nocase(const std::string& a, const char* b) {
  if (a.size() != std::strlen(b)) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

bool ends_with_nocase(const std::string& text, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return text.size() >= n && same_nocase(text.substr(text.size() - n), suffix);
}

}  // namespace

bool wildcard_match(const char* pattern_text, const char* text_in) {
  if (pattern_text == nullptr || *pattern_text == '\0') return true;
  if (text_in == nullptr || *text_in == '\0') return false;
  std::vector<patternChar> pattern;
  const char* p = pattern_text;
  while (*p == ' ') ++p;
  bool quoted = false;
  for (; *p != '\0'; ++p) {
    if (*p == '"') {
      quoted = !quoted;
    } else {
      pattern.push_back({*p, quoted});
    }
  }
  std::string text = text_in;
  const size_t first = text.find_first_not_of(' ');
  text = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);

  // Greedy match with one remembered star: on a mismatch the last star takes
  // one more character, so every star costs at most one pass of the text.
  size_t t = 0, k = 0;
  size_t star = std::string::npos, star_text = 0;
  while (t < text.size()) {
    if (k < pattern.size() && !pattern[k].quoted && pattern[k].c == '*') {
      star = k++;
      star_text = t;
    } else if (k < pattern.size() &&
               ((!pattern[k].quoted && pattern[k].c == '?') || fold(pattern[k].c) == fold(text[t]))) {
      ++k;
      ++t;
    } else if (star != std::string::npos) {
      k = star + 1;
      t = ++star_text;
    } else {
      return false;
    }
  }
  while (k < pattern.size() && !pattern[k].quoted && pattern[k].c == '*') ++k;
  return k == pattern.size();
}

eyeCheck check_eye(const char* file_name, const char* eye) {
  std::string name = file_name != nullptr ? file_name : "";
  if (!ends_with_nocase(name, ".tst")) return eyeCheck::bad_name;
  std::string stem = name.substr(0, name.size() - 4);
  if (ends_with_nocase(stem, "-SLAVE")) stem.resize(stem.size() - 6);
  // "P01S02T0304" and the channel letter, then a test id of up to ten.
  if (stem.size() < 12 || stem.size() > 22) return eyeCheck::bad_name;
  const char shape[] = "PddSddTdddd";
  for (int i = 0; i < 11; ++i) {
    const char c = stem[i];
    const bool fits = shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(c)) != 0 : fold(c) == fold(shape[i]);
    if (!fits) return eyeCheck::bad_name;
  }
  const std::string wanted = eye != nullptr ? eye : "";
  char channel = 0;
  if (same_nocase(wanted, "OD")) {
    channel = 'A';
  } else if (same_nocase(wanted, "OS")) {
    channel = 'B';
  } else {
    return eyeCheck::bad_eye;
  }
  return stem[11] == channel ? eyeCheck::match : eyeCheck::no_match;
}

std::string name_without_extension(const char* file_name) {
  std::string name = file_name != nullptr ? file_name : "";
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}
