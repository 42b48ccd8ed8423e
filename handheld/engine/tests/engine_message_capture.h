// Captures the operator messages the engine shows (kind and text), for
// tests. While it lives it is the show-message handler.
#ifndef HANDHELD_ENGINE_TESTS_ENGINE_MESSAGE_CAPTURE_H
#define HANDHELD_ENGINE_TESTS_ENGINE_MESSAGE_CAPTURE_H

#include <string>
#include <utility>
#include <vector>

#include "handheld/engine/log/engine_messages.h"

class engine_message_capture {
 public:
  engine_message_capture();
  ~engine_message_capture();
  engine_message_capture(const engine_message_capture&) = delete;
  engine_message_capture& operator=(const engine_message_capture&) = delete;

  // (kind, text) of each message, in order.
  std::vector<std::pair<int, std::string>> messages() const;

 private:
  show_message_handler previous_;
};

#endif
