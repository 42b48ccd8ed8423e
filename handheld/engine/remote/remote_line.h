// Output side of the remote-control line (the service terminal on "COM3:").
// Every diagnostic of the handheld program is printed here. The bytes go to
// one writer: the serial port once it is opened, a capture in tests, nowhere
// before either (writes to an unopened port do nothing).
#ifndef HANDHELD_ENGINE_REMOTE_REMOTE_LINE_H
#define HANDHELD_ENGINE_REMOTE_REMOTE_LINE_H

#include <stddef.h>

#if defined(__GNUC__)
#define REMOTE_PRINTF_FORMAT __attribute__((format(gnu_printf, 1, 2)))
#else
#define REMOTE_PRINTF_FORMAT
#endif

// Formats (narrow printf rules: %s narrow, %ls wide) into a 256-byte buffer,
// so at most 255 characters a call (longer output is cut), and writes the
// text with remote_write in one write. A format that fails writes nothing.
void remote_printf(const char* format, ...) REMOTE_PRINTF_FORMAT;

// Writes n bytes to the line in one write.
void remote_write(const char* bytes, size_t n);

// Where the bytes go. Calls are serialised: a writer never runs on two
// threads at once. Null installs the empty writer. Returns the previous one.
struct remote_writer {
  void (*write)(void* context, const char* bytes, size_t n);
  void* context;
};
remote_writer remote_set_writer(remote_writer writer);

#endif
