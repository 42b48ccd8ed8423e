#include "desktop/winlib/files/file_streams.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "platform/files/whole_file.h"

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

namespace {

// The streams open_for_output gave, by path: a new or replacing file is its
// temporary file until close_output puts it in place.
struct outputFile {
  FILE* file;
  std::string path;
  bool whole;
};
std::vector<outputFile> outputs;

FILE* open_output(const char* path, bool whole) {
  FILE* file = whole ? open_whole_file(std::filesystem::u8path(path), "w") : fopen(path, "a");
  if (file) outputs.push_back({file, path, whole});
  return file;
}

}  // namespace

FILE* open_for_output(const char* path) {
  if (!path) path = "";
  if (!file_exists(path)) {
    FILE* file = open_output(path, true);
    if (!file) errormessage("*** Unable to open new file [%s] ***", path);
    return file;
  }
  int answer = yesnocancelmessage("File Exists. Replace?",
                                  "file: %s\n\n-- Yes = Replace existing file.\n-- No  = Append to file.", path);
  FILE* file = nullptr;
  if (answer == answer_yes) {
    file = open_output(path, true);
    if (!file) errormessage("*** Unable to open file [%s] for writing ***", path);
  } else if (answer == answer_no) {
    file = open_output(path, false);
    if (!file) errormessage("*** Unable to open file [%s] for append ***", path);
  }
  return file;
}

bool close_output(FILE* file) {
  auto it = std::find_if(outputs.begin(), outputs.end(), [file](const outputFile& o) { return o.file == file; });
  if (!file || it == outputs.end()) return false;
  const outputFile output = *it;
  outputs.erase(it);
  wholeFileStep failed = wholeFileStep::none;
  bool written = false;
  if (output.whole) {
    written = finish_whole_file(file, std::filesystem::u8path(output.path), &failed);
  } else {
    // Appended to: what was there stays; the flush and the close say
    // whether the rest reached the disk.
    written = ferror(file) == 0 && fflush(file) == 0;
    if (!written) failed = wholeFileStep::flush;
    if (fclose(file) != 0 && written) {
      written = false;
      failed = wholeFileStep::close;
    }
  }
  if (!written) errormessage("*** Unable to write file [%s] ***\n%s", output.path.c_str(), whole_file_step_text(failed));
  return written;
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
