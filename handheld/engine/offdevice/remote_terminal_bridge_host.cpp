// The portable build has no terminal connection.
#include "handheld/engine/offdevice/remote_text_endpoint.h"

struct remote_terminal_bridge::state {};

remote_terminal_bridge::remote_terminal_bridge() = default;
remote_terminal_bridge::~remote_terminal_bridge() = default;

bool remote_terminal_bridge::start(std::shared_ptr<remote_text_endpoint>, uint16_t) { return false; }

void remote_terminal_bridge::stop() {}
