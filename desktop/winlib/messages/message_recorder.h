// The portable build's message boxes: each box is recorded and answered from
// a script, or, when the script is empty, with the button that Enter would
// press. Only tests of the portable build use this; the Windows build shows
// its boxes through the modal seam.
#ifndef DESKTOP_WINLIB_MESSAGES_MESSAGE_RECORDER_H
#define DESKTOP_WINLIB_MESSAGES_MESSAGE_RECORDER_H

#include <deque>
#include <string>
#include <vector>

struct recorded_box {
  std::string caption;
  std::string text;
  unsigned style;
  int answer;
};

class message_recorder {
 public:
  static message_recorder& instance();

  void answer(int id) { answers_.push_back(id); }
  const std::vector<recorded_box>& records() const { return records_; }
  void clear() {
    records_.clear();
    answers_.clear();
  }
  int record(const char* text, const char* caption, unsigned style);
  static int default_answer(unsigned style);

 private:
  std::deque<int> answers_;
  std::vector<recorded_box> records_;
};

#endif
