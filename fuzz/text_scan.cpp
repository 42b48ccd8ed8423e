// The text scanners: outputs stay within their buffers and terminated, a
// token ends where the text's first delimiter stands, the tokenizer's tokens
// are the runs between delimiters, a pattern without wildcards matches only
// its own text (blanks around it aside), and trimming leaves no blank at either end.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "desktop/winlib/values/text_scan.h"

namespace {

void check_token_split(const std::string& text, const char* delimiters) {
  char out[9];
  std::memset(out, 'x', sizeof out);
  const int result = token_split(text.c_str(), delimiters, out, sizeof out);
  const size_t end = text.find_first_of(delimiters);
  FUZZ_CHECK(std::memchr(out, 0, sizeof out) != nullptr);
  if (end == 0) {
    FUZZ_CHECK(result == -1 && out[0] == 0);
  } else if (end == std::string::npos) {
    FUZZ_CHECK(result == 0);
    FUZZ_CHECK(text.compare(0, std::strlen(out), out) == 0);
  } else {
    FUZZ_CHECK(result == static_cast<int>(end));
    FUZZ_CHECK(std::strlen(out) == std::min<size_t>(end, sizeof out - 1));
    FUZZ_CHECK(text.compare(0, std::strlen(out), out) == 0);
  }
}

void check_tokenizer(const std::string& text, const char* delimiters) {
  std::vector<std::string> expected;
  std::string run;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || std::strchr(delimiters, text[i]) != nullptr) {
      if (!run.empty()) expected.push_back(run);
      run.clear();
    } else {
      run.push_back(text[i]);
    }
  }
  tokenizerClass tokens(text.c_str(), delimiters);
  std::vector<std::string> got;
  for (const char* t = tokens.first_token(); t != nullptr && got.size() <= text.size(); t = tokens.next_token()) {
    got.push_back(t);
  }
  FUZZ_CHECK(got == expected);
  FUZZ_CHECK(tokens.token_count() == static_cast<int>(expected.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_card();
  // The input's first line is a pattern, the rest the text.
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string all = input.substr(0, input.find('\0'));
  const size_t line_end = all.find('\n');
  const std::string pattern = line_end == std::string::npos ? std::string() : all.substr(0, line_end);
  const std::string text = line_end == std::string::npos ? all : all.substr(line_end + 1);

  for (const char* delimiters : {" ", ",;\t", "\"\\"}) {
    check_token_split(text, delimiters);
    check_tokenizer(text, delimiters);
  }

  for (int index = 0; index < 4; ++index) {
    char word[16];
    const int length = nth_word(text.c_str(), index, word, sizeof word);
    FUZZ_CHECK(length >= 0 && length < static_cast<int>(sizeof word));
    FUZZ_CHECK(static_cast<size_t>(length) == std::strlen(word));
  }

  char upper[12];
  const bool fits = upper_copy(text.c_str(), upper, sizeof upper);
  FUZZ_CHECK(fits == (text.size() < sizeof upper));
  FUZZ_CHECK(std::strlen(upper) == std::min(text.size(), sizeof upper - 1));
  for (size_t i = 0; upper[i] != 0; ++i) {
    const char c = text[i];
    FUZZ_CHECK(upper[i] == (c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
  }

  // Blanks before the pattern and around the text are not compared.
  if (!pattern.empty() && pattern.find_first_of("*?\"") == std::string::npos && !text.empty()) {
    const std::string own = pattern.substr(std::min(pattern.find_first_not_of(' '), pattern.size()));
    const size_t first = std::min(text.find_first_not_of(' '), text.size());
    const size_t last = text.find_last_not_of(' ');
    const std::string compared = last == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    FUZZ_CHECK(wildcard_match(pattern.c_str(), text.c_str(), 1) == (own == compared));
  }
  if (!text.empty()) FUZZ_CHECK(wildcard_match("*", text.c_str(), 0));

  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back(0);
  trim_leading(buffer.data(), static_cast<int>(buffer.size()));
  FUZZ_CHECK(buffer[0] != ' ' && buffer[0] != '\t');
  trim_trailing(buffer.data(), static_cast<int>(buffer.size()));
  const size_t left = std::strlen(buffer.data());
  FUZZ_CHECK(left <= 1 || (buffer[left - 1] != ' ' && buffer[left - 1] != '\t'));
  fuzz_forget_messages();
  return 0;
}
