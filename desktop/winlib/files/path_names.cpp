#include "desktop/winlib/files/path_names.h"

#include <cctype>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/messages.h"

namespace {

// Index of the last "\" or ":" at index 1 or above; -1 when none.
int last_separator(const char* path) {
  for (int i = static_cast<int>(strlen(path)) - 1; i >= 1; i--) {
    if (path[i] == '\\' || path[i] == ':') return i;
  }
  return -1;
}

char safe_char(char c) {
  if (c == ':' || c == '\\') return '-';
  if (c == '.') return ',';
  if (static_cast<signed char>(c) < 33) return '_';
  return c;
}

}  // namespace

void path_directory(const char* path, byteObjectClass& out) {
  out.set("");
  if (!path) return;
  int at = last_separator(path);
  if (at >= 0) out.set_bytes(path, at + 1);
}

void file_name(const char* path, byteObjectClass& out) {
  out.set("");
  if (!path) return;
  out.set(path + last_separator(path) + 1);
}

void strip_extension(const char* path, byteObjectClass& out) {
  out.set("");
  if (!path) return;
  out.set_bytes(path, static_cast<int32_t>(strcspn(path, ".")));
}

void file_extension(const char* path, byteObjectClass& out) {
  out.set("");
  if (!path) return;
  const char* dot = strrchr(path, '.');
  if (dot) out.set(dot + 1);
}

void file_base_name(const char* path, byteObjectClass& out) {
  byteObjectClass name;
  file_name(path, name);
  strip_extension(name.text(), out);
}

void strip_name_extension(const char* path, byteObjectClass& out) {
  out.set("");
  if (!path) return;
  const char* name = path;
  for (const char* p = path; *p; p++) {
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  }
  const char* dot = strrchr(name, '.');
  out.set_bytes(path, static_cast<int32_t>(dot ? static_cast<size_t>(dot - path) : strlen(path)));
}

bool make_fname(int buffer_size, char* buffer, const char* folder, const char* name, const char* default_extension) {
  if (!name) name = "";
  if (!folder) folder = "";
  size_t base_length = strcspn(name, ".");
  byteObjectClass extension;
  if (name[base_length]) {
    extension.set(name + base_length);
  } else if (default_extension && *default_extension) {
    if (*default_extension != '.') extension.set(".");
    extension.append(default_extension);
  }
  size_t folder_length = strlen(folder);
  size_t needed = folder_length + base_length + static_cast<size_t>(extension.length()) + 2;
  if (!buffer || buffer_size < 0 || needed > static_cast<size_t>(buffer_size)) {
    errormessage("*** make_fname : NOT ENOUGH ROOM IN USER'S BUFFER ***");
    return false;
  }
  byteObjectClass path(folder);
  if (folder_length > 0 && folder[folder_length - 1] != '\\') path.append("\\");
  path.append_bytes(name, static_cast<int32_t>(base_length));
  path.append_object(extension);
  memcpy(buffer, path.text(), static_cast<size_t>(path.length()) + 1);
  return true;
}

void safe_file_name(const char* text, byteObjectClass& out) {
  std::string safe = text ? text : "";
  for (char& c : safe) c = safe_char(c);
  out.set(safe.c_str());
}

void make_safe_file_name(const char* text, char* array, int size) {
  if (!array || size < 1) return;
  int i = 0;
  for (; text && text[i] && i < size - 1; i++) array[i] = safe_char(text[i]);
  array[i] = 0;
}

bool is_in_folder(const char* a, const char* b) {
  byteObjectClass folder_a, folder_b;
  path_directory(a, folder_a);
  path_directory(b, folder_b);
  if (folder_b.length() == 0 || folder_a.length() < folder_b.length()) return false;
  for (int32_t i = 0; i < folder_b.length(); i++) {
    if (toupper(static_cast<unsigned char>(folder_a.text()[i])) !=
        toupper(static_cast<unsigned char>(folder_b.text()[i]))) {
      return false;
    }
  }
  return true;
}
