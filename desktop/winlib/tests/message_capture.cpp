#include "desktop/winlib/tests/message_capture.h"

#if defined(_WIN32)

#include "platform/modal/modal_capture.h"

struct message_capture::impl {
  modal_capture capture;
};

message_capture::message_capture() : impl_(new impl) {}
message_capture::~message_capture() = default;

void message_capture::answer(int id) { impl_->capture.answer(id); }
void message_capture::clear() { impl_->capture.clear(); }

std::vector<captured_box> message_capture::records() const {
  std::vector<captured_box> out;
  for (const modal_record& r : impl_->capture.records()) {
    out.push_back(captured_box{r.caption, r.text, static_cast<unsigned>(r.type), r.answer});
  }
  return out;
}

#else

#include "desktop/winlib/messages/message_recorder.h"

struct message_capture::impl {};

message_capture::message_capture() : impl_(new impl) { message_recorder::instance().clear(); }
message_capture::~message_capture() { message_recorder::instance().clear(); }

void message_capture::answer(int id) { message_recorder::instance().answer(id); }
void message_capture::clear() { message_recorder::instance().clear(); }

std::vector<captured_box> message_capture::records() const {
  std::vector<captured_box> out;
  for (const recorded_box& r : message_recorder::instance().records()) {
    out.push_back(captured_box{r.caption, r.text, r.style, r.answer});
  }
  return out;
}

#endif

std::vector<std::string> message_capture::texts() const {
  std::vector<std::string> out;
  for (const captured_box& r : records()) out.push_back(r.text);
  return out;
}

std::vector<std::string> message_capture::captions() const {
  std::vector<std::string> out;
  for (const captured_box& r : records()) out.push_back(r.caption);
  return out;
}
