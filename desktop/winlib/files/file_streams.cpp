#include "file_streams.h"

#include <sys/stat.h>

#include <string>

#include "message_box.h"
#include "messages.h"

bool file_exists(const char* path) {
  FILE* file = path ? fopen(path, "r") : nullptr;
  if (!file) return false;
  fclose(file);
  return true;
}

bool file_writable(const char* path) {
  FILE* file = path ? fopen(path, "a") : nullptr;
  if (!file) return false;
  fclose(file);
  return true;
}

bool is_directory(const char* path) {
  if (!path || !*path) return false;
  std::string folder = path;
  if (folder.size() > 1 && folder.back() == '\\') folder.pop_back();
  struct stat info;
  return stat(folder.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFDIR;
}

FILE* open_for_output(const char* path) {
  if (!path) path = "";
  if (!file_exists(path)) {
    FILE* file = fopen(path, "w");
    if (!file) errormessage("*** Unable to open new file [%s] ***", path);
    return file;
  }
  int answer = yesnocancelmessage("File Exists. Replace?",
                                  "file: %s\n\n-- Yes = Replace existing file.\n-- No  = Append to file.", path);
  FILE* file = nullptr;
  if (answer == answer_yes) {
    file = fopen(path, "w");
    if (!file) errormessage("*** Unable to open file [%s] for writing ***", path);
  } else if (answer == answer_no) {
    file = fopen(path, "a");
    if (!file) errormessage("*** Unable to open file [%s] for append ***", path);
  }
  return file;
}

bool read_line(FILE* stream, char* buffer, int size, bool skip_blanks) {
  if (!buffer || size < 1) return false;
  buffer[0] = 0;
  if (!stream) return false;
  int c = fgetc(stream);
  if (skip_blanks) {
    for (int skipped = 0; c == ' ' && skipped < 128; skipped++) c = fgetc(stream);
    if (c == '\n' || c == '\r') return false;
  }
  if (c == EOF) return false;
  int n = 0;
  while (c != EOF && c != '\n' && c != '\r') {
    if (n >= size - 1) {
      ungetc(c, stream);  // the rest is the next read's
      break;
    }
    buffer[n++] = static_cast<char>(c);
    c = fgetc(stream);
  }
  buffer[n] = 0;
  return true;
}

int read_bytes(FILE* stream, int count, char* buffer) {
  int n = 0;
  for (int c; stream && buffer && n < count && (c = fgetc(stream)) != EOF; n++) buffer[n] = static_cast<char>(c);
  return n;
}
