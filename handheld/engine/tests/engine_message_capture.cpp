#include "handheld/engine/tests/engine_message_capture.h"

#include <mutex>

namespace {

std::mutex lock;
std::vector<std::pair<int, std::string>> shown;

void on_show(int kind, const char* text) {
  std::lock_guard<std::mutex> hold(lock);
  shown.emplace_back(kind, text);
}

}  // namespace

engine_message_capture::engine_message_capture() {
  {
    std::lock_guard<std::mutex> hold(lock);
    shown.clear();
  }
  previous_ = set_show_message_handler(on_show);
}

engine_message_capture::~engine_message_capture() { set_show_message_handler(previous_); }

std::vector<std::pair<int, std::string>> engine_message_capture::messages() const {
  std::lock_guard<std::mutex> hold(lock);
  return shown;
}
