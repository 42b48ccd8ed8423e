// The portable build's message boxes: recorded and answered by script.
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/message_recorder.h"

message_recorder& message_recorder::instance() {
  static message_recorder recorder;
  return recorder;
}

int message_recorder::default_answer(unsigned style) {
  switch (style & 0xF) {
    case box_abort_retry_ignore:
      return answer_abort;
    case box_yes_no_cancel:
    case box_yes_no:
      return answer_yes;
    default:
      return answer_ok;
  }
}

int message_recorder::record(const char* text, const char* caption, unsigned style) {
  int answer = default_answer(style);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  records_.push_back(recorded_box{caption ? caption : "", text ? text : "", style, answer});
  return answer;
}

int show_message_box(const char* text, const char* caption, unsigned style) {
  return message_recorder::instance().record(text, caption, style);
}
