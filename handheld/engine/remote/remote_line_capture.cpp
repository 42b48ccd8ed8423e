#include "handheld/engine/remote/remote_line_capture.h"

remote_line_capture::remote_line_capture() {
  previous_ = remote_set_writer(remote_writer{&remote_line_capture::on_write, this});
}

remote_line_capture::~remote_line_capture() { remote_set_writer(previous_); }

void remote_line_capture::on_write(void* context, const char* bytes, size_t n) {
  remote_line_capture* self = static_cast<remote_line_capture*>(context);
  std::lock_guard<std::mutex> hold(self->lock_);
  self->writes_.emplace_back(bytes, n);
}

std::string remote_line_capture::text() const {
  std::lock_guard<std::mutex> hold(lock_);
  std::string all;
  for (const std::string& w : writes_) all += w;
  return all;
}

std::vector<std::string> remote_line_capture::writes() const {
  std::lock_guard<std::mutex> hold(lock_);
  return writes_;
}

void remote_line_capture::clear() {
  std::lock_guard<std::mutex> hold(lock_);
  writes_.clear();
}
