// Path and file-name helpers over Windows paths ("\" between folders, ":"
// after a drive letter). Results go into a byteObjectClass unless said.
#ifndef DESKTOP_WINLIB_FILES_PATH_NAMES_H
#define DESKTOP_WINLIB_FILES_PATH_NAMES_H

#include "desktop/winlib/containers/byte_object.h"

// Up to and including the last "\" or ":" (looked for down to index 1);
// empty when there is none.
void path_directory(const char* path, byteObjectClass& out);
// After the last "\" or ":" (looked for down to index 1); the whole text
// when there is none.
void file_name(const char* path, byteObjectClass& out);
// Before the first ".".
void strip_extension(const char* path, byteObjectClass& out);
// After the last "."; empty when there is none.
void file_extension(const char* path, byteObjectClass& out);
// strip_extension of file_name: the name without folder and extension.
void file_base_name(const char* path, byteObjectClass& out);
// The path without the extension of its own file name: cut at the last "."
// after the last "\", "/" or ":" (a "." in a folder name is no extension);
// the whole path when the file name has none.
void strip_name_extension(const char* path, byteObjectClass& out);

// Writes folder + name into buffer, giving the name default_extension when
// it has no "." ("." put in front when the extension lacks one). False, with
// a message, when buffer_size cannot hold the result.
bool make_fname(int buffer_size, char* buffer, const char* folder, const char* name, const char* default_extension);

// The text made safe as a file name: ":" and "\" become "-", "." becomes ","
// and every byte below 33 (bytes taken as signed, so 128 and above too)
// becomes "_". The array form writes at most size - 1 characters and always
// ends the text.
void safe_file_name(const char* text, byteObjectClass& out);
void make_safe_file_name(const char* text, char* array, int size);

// Whether the folder of path a begins with the folder of path b, ignoring
// case; false when b has no folder or a's is shorter.
bool is_in_folder(const char* a, const char* b);

#endif
