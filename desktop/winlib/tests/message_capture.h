// Captures the library's message boxes in tests of both builds: over a
// modal_capture on Windows, over the recorder on the host. While it lives,
// each box is recorded and answered with the next scripted answer, or with
// the button Enter would press. One capture at a time.
#ifndef DESKTOP_WINLIB_TESTS_MESSAGE_CAPTURE_H
#define DESKTOP_WINLIB_TESTS_MESSAGE_CAPTURE_H

#include <memory>
#include <string>
#include <vector>

struct captured_box {
  std::string caption;
  std::string text;
  unsigned style;
  int answer;
};

class message_capture {
 public:
  message_capture();
  ~message_capture();
  message_capture(const message_capture&) = delete;
  message_capture& operator=(const message_capture&) = delete;

  // Queues the answer (answer_yes, answer_no, ...) for the next box.
  void answer(int id);
  std::vector<captured_box> records() const;
  void clear();

  // The captions and texts in order, for compact assertions.
  std::vector<std::string> texts() const;
  std::vector<std::string> captions() const;

 private:
  struct impl;
  std::unique_ptr<impl> impl_;
};

#endif
