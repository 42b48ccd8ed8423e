#include "desktop/winlib/settings/startup_file.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/messages.h"
#include "platform/files/whole_file.h"

namespace {

#if defined(_WIN32)
constexpr char folder_separator = '\\';
#else
constexpr char folder_separator = '/';
#endif

std::string startup_folder;
std::string startup_name = "NONE";

bool switched_off() { return startup_name == "NONE"; }

std::string startup_path() {
  std::string path = startup_folder;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') path.push_back(folder_separator);
  return path + startup_name;
}

// Skips to the next '['; false at the end of the file.
bool skip_to_tag(std::FILE* file) {
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    if (c == '[') return true;
  }
  return false;
}

// The rest of the line, blanks after the tag and the line end dropped, at
// most startup_value_limit characters kept. A line ends at LF, CR or CR LF,
// so a value never holds a line end and reads the same once written.
std::string read_value(std::FILE* file) {
  std::string value;
  int c = std::fgetc(file);
  while (c == ' ' || c == '\t') c = std::fgetc(file);
  for (; c != EOF && c != '\n' && c != '\r'; c = std::fgetc(file)) {
    if (value.size() < static_cast<size_t>(startup_value_limit)) value.push_back(static_cast<char>(c));
  }
  if (c == '\r') {
    const int next = std::fgetc(file);
    if (next != '\n' && next != EOF) std::ungetc(next, file);
  }
  return value;
}

void store(const std::string& tag, const std::string& value) {
  r_list<startupSetting>& list = startup_settings();
  for (r_list_element<startupSetting>* e = list.head(); e; e = e->next) {
    startupSetting* s = e->payload;
    if (s && s->target() && s->size() > 0 && tag == s->key()) {
      std::snprintf(s->target(), s->size(), "%s", value.c_str());
    }
  }
}

}  // namespace

startupSetting::startupSetting(const char* key, char* target, size_t size) : target_(target), size_(size) {
  std::snprintf(key_, sizeof key_, "%s", key ? key : "");
}

r_list<startupSetting>& startup_settings() {
  static r_list<startupSetting> list("startup settings");
  return list;
}

void set_startup_file(const char* folder, const char* name) {
  startup_folder = folder ? folder : "";
  startup_name = name ? name : "NONE";
}

bool read_startup_file() {
  if (switched_off()) return true;
  std::string path = startup_path();
  // Line ends are read here, the same on every platform.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    infomessage("*** UNABLE TO OPEN STARTUP FILE [%s] FOR READING ***", path.c_str());
    return false;
  }
  bool ok = true;
  while (skip_to_tag(file)) {
    std::string tag;
    int c = std::fgetc(file);
    for (; c != EOF && c != ']'; c = std::fgetc(file)) tag.push_back(static_cast<char>(c));
    if (c == EOF) {
      errormessage("*** EOF IN TAG OF INITIALIZATION FILE ***");
      ok = false;
      break;
    }
    std::string value = read_value(file);
    if (tag.size() > static_cast<size_t>(startup_tag_limit)) {
      errormessage("*** TAG TOO LONG IN INITIALIZATION FILE [%.64s...] ***", tag.c_str());
      continue;
    }
    store(tag, value);
  }
  std::fclose(file);
  return ok;
}

bool write_startup_file() {
  if (switched_off()) return true;
  std::string path = startup_path();
  wholeFileStep failed = wholeFileStep::none;
  bool ok = write_file_whole(
      path.c_str(), "w",
      [](std::FILE* file) {
        r_list<startupSetting>& list = startup_settings();
        for (r_list_element<startupSetting>* e = list.head(); e; e = e->next) {
          const startupSetting* s = e->payload;
          if (s && std::fprintf(file, "[%s] %s\n", s->key(), s->target() ? s->target() : "") < 0) return false;
        }
        return true;
      },
      &failed);
  if (failed == wholeFileStep::open) {
    infomessage("*** UNABLE TO OPEN [%s] FOR WRITING ***", path.c_str());
  } else if (!ok) {
    errormessage("*** UNABLE TO WRITE [%s] ***\n%s", path.c_str(), whole_file_step_text(failed));
  }
  return ok;
}
