// Captures what the program writes on the remote-control line, for tests.
// While it lives it is the line's writer; destroying it puts the previous
// writer back. Thread-safe: threads of the program may write meanwhile.
#ifndef HANDHELD_ENGINE_REMOTE_REMOTE_LINE_CAPTURE_H
#define HANDHELD_ENGINE_REMOTE_REMOTE_LINE_CAPTURE_H

#include <mutex>
#include <string>
#include <vector>

#include "handheld/engine/remote/remote_line.h"

class remote_line_capture {
 public:
  remote_line_capture();
  ~remote_line_capture();
  remote_line_capture(const remote_line_capture&) = delete;
  remote_line_capture& operator=(const remote_line_capture&) = delete;

  // Everything written so far, as one text.
  std::string text() const;
  // Each write, in order (one remote_printf is one write).
  std::vector<std::string> writes() const;
  void clear();

 private:
  static void on_write(void* context, const char* bytes, size_t n);

  mutable std::mutex lock_;
  std::vector<std::string> writes_;
  remote_writer previous_;
};

#endif
