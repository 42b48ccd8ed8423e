// Files as C streams: existence tests, opening a file for output with the
// user's choice of replacing or appending, and line and byte reads.
#ifndef DESKTOP_WINLIB_FILES_FILE_STREAMS_H
#define DESKTOP_WINLIB_FILES_FILE_STREAMS_H

#include <cstdio>

// The file opens for reading.
bool file_exists(const char* path);
// The file opens for writing. A missing file is created; an existing one is
// kept as it is (opened for appending, never emptied).
bool file_writable(const char* path);
// The path (a trailing "\" dropped) exists and is a folder.
bool is_directory(const char* path);

// A new file opened for writing. For an existing file a Yes/No/Cancel box
// "File Exists. Replace?" asks: Yes replaces it, No appends to it, Cancel
// gives null. Failures are reported and give null. A new or replacing file
// is written beside its place (whole_file.h) and takes it only when
// close_output finishes it whole: until then, and after any failure, the
// old file stays as it was.
FILE* open_for_output(const char* path);
// Closes a stream open_for_output gave: flushed, closed and (new or
// replacing) put in place. False, reported with the file's name, when a
// step fails.
bool close_output(FILE* file);

// Reads one line into buffer (at most size - 1 bytes, terminated) up to a
// line feed or carriage return (not stored) or the end of the file. With
// skip_blanks, up to 128 leading blanks are skipped first, and a line that
// is empty after them gives an empty buffer and false. False also when the
// file ended before the line had a byte.
bool read_line(FILE* stream, char* buffer, int size, bool skip_blanks);

// Reads up to count bytes one by one; returns how many were read.
int read_bytes(FILE* stream, int count, char* buffer);

#endif
