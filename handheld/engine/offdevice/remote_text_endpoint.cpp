#include "handheld/engine/offdevice/remote_text_endpoint.h"

#include <stdlib.h>

#include <chrono>

namespace {

// How often a waiting read looks at its cancel flag.
const std::chrono::milliseconds kReadPoll(5);

}  // namespace

size_t remote_text_endpoint::write(const uint8_t* bytes, size_t n) {
  std::string text(reinterpret_cast<const char*>(bytes), n);
  std::function<void(const std::string&)> listener;
  {
    std::lock_guard<std::mutex> hold(lock_);
    output_ += text;
    if (output_.size() > OUTPUT_LIMIT) output_.erase(0, output_.size() - OUTPUT_LIMIT);
    listener = listener_;
  }
  changed_.notify_all();
  if (listener) listener(text);
  return n;
}

int remote_text_endpoint::read(uint8_t* out, size_t max, const std::atomic<bool>& cancelled) {
  std::unique_lock<std::mutex> hold(lock_);
  while (typed_.empty()) {
    if (cancelled) return 0;
    changed_.wait_for(hold, kReadPoll);
  }
  size_t n = 0;
  while (n < max && !typed_.empty()) {
    out[n++] = typed_.front();
    typed_.pop_front();
  }
  changed_.notify_all();
  return static_cast<int>(n);
}

void remote_text_endpoint::type(const std::string& bytes) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    typed_.insert(typed_.end(), bytes.begin(), bytes.end());
  }
  changed_.notify_all();
}

void remote_text_endpoint::forget_typed() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    typed_.clear();
  }
  changed_.notify_all();
}

std::string remote_text_endpoint::output() const {
  std::lock_guard<std::mutex> hold(lock_);
  return output_;
}

void remote_text_endpoint::clear_output() {
  std::lock_guard<std::mutex> hold(lock_);
  output_.clear();
}

bool remote_text_endpoint::wait_for_output(const std::string& text, int timeout_ms) const {
  std::unique_lock<std::mutex> hold(lock_);
  return changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms),
                           [&] { return output_.find(text) != std::string::npos; });
}

bool remote_text_endpoint::wait_until_read(int timeout_ms) const {
  std::unique_lock<std::mutex> hold(lock_);
  return changed_.wait_for(hold, std::chrono::milliseconds(timeout_ms), [&] { return typed_.empty(); });
}

void remote_text_endpoint::set_output_listener(std::function<void(const std::string&)> listener) {
  std::lock_guard<std::mutex> hold(lock_);
  listener_ = std::move(listener);
}

std::shared_ptr<remote_text_endpoint> use_remote_text_endpoint() {
  auto endpoint = std::make_shared<remote_text_endpoint>();
  register_serial_endpoint(L"COM3:", endpoint);
  static remote_terminal_bridge bridge;
  bridge.stop();
  const char* port = getenv("ERG_REMOTE_LINE_PORT");
  if (port != nullptr && port[0] != '\0') {
    const long number = strtol(port, nullptr, 10);
    if (number > 0 && number < 65536) bridge.start(endpoint, static_cast<uint16_t>(number));
  }
  return endpoint;
}
