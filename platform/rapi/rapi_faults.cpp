#include "platform/rapi/rapi_faults.h"

#include <string>

namespace {

// A whole decimal number from 0 to limit; false for anything else.
bool parse_count(const std::string& text, int64_t limit, int64_t& value) {
  if (text.empty() || text.size() > 10) return false;
  int64_t result = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    result = result * 10 + (c - '0');
  }
  if (result > limit) return false;
  value = result;
  return true;
}

}  // namespace

bool parse_rapi_faults(const char* text, RapiFaults& faults) {
  RapiFaults result;
  std::string all = text != nullptr ? text : "";
  size_t start = 0;
  while (start <= all.size() && !all.empty()) {
    size_t end = all.find(',', start);
    if (end == std::string::npos) end = all.size();
    std::string item = all.substr(start, end - start);
    std::string word = item;
    std::string number;
    size_t equals = item.find('=');
    if (equals != std::string::npos) {
      word = item.substr(0, equals);
      number = item.substr(equals + 1);
    }
    const bool has_number = equals != std::string::npos;
    int64_t value = 0;
    if (word == "init_refused" && !has_number) {
      result.init_refused = true;
    } else if (word == "init_silent" && !has_number) {
      result.init_silent = true;
    } else if (word == "init_failed" && !has_number) {
      result.init_failed = true;
    } else if (word == "filetime_failed" && !has_number) {
      result.filetime_failed = true;
    } else if (word == "short_read" && parse_count(number, 0x7FFFFFFF, value)) {
      result.short_read = value;
    } else if (word == "delay" && parse_count(number, 60000, value)) {
      result.delay_ms = static_cast<uint32_t>(value);
    } else if (word == "unplug_after" && parse_count(number, 0x7FFFFFFF, value)) {
      result.unplug_after = value;
    } else if (!item.empty()) {
      return false;
    }
    start = end + 1;
  }
  faults = result;
  return true;
}
