// The terminal connection to the remote-control line's text endpoint, on
// Winsock.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>
#include <mutex>
#include <thread>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/offdevice/remote_text_endpoint.h"

struct remote_terminal_bridge::state {
  std::shared_ptr<remote_text_endpoint> endpoint;
  SOCKET listener = INVALID_SOCKET;
  std::mutex lock;
  SOCKET client = INVALID_SOCKET;
  bool stopping = false;
  std::thread thread;
};

namespace {

bool winsock_ready() {
  static const bool ready = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return ready;
}

// How long one write of the unit may wait on a terminal that does not read.
const DWORD kSendTimeoutMs = 1000;

// A send that fails or times out drops the connection: the unit's writes
// never wait on a terminal for longer than one time-out.
void send_all(SOCKET s, const std::string& text) {
  size_t sent = 0;
  while (sent < text.size()) {
    const int n = send(s, text.data() + sent, static_cast<int>(text.size() - sent), 0);
    if (n <= 0) {
      shutdown(s, SD_BOTH);
      return;
    }
    sent += static_cast<size_t>(n);
  }
}

// One connection: what arrives is typed, line ends made carriage returns and
// DEL (what most terminals send for Backspace) a backspace.
void serve(remote_terminal_bridge::state& s, SOCKET client) {
  bool after_cr = false;
  char buffer[256];
  for (;;) {
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    std::string typed;
    for (int i = 0; i < n; ++i) {
      const char c = buffer[i];
      if (c == '\n') {
        if (!after_cr) typed += '\r';
      } else if (c == '\x7f') {
        typed += '\b';
      } else {
        typed += c;
      }
      after_cr = c == '\r';
    }
    s.endpoint->type(typed);
  }
}

void run(std::shared_ptr<remote_terminal_bridge::state> s) {
  for (;;) {
    SOCKET client = accept(s->listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&kSendTimeoutMs),
               sizeof kSendTimeoutMs);
    {
      std::lock_guard<std::mutex> hold(s->lock);
      if (s->stopping) {
        closesocket(client);
        return;
      }
      s->client = client;
    }
    // What the last terminal typed and the unit has not read yet (a flood
    // it left behind) is not this terminal's: it is neither read nor echoed.
    s->endpoint->forget_typed();
    const std::weak_ptr<remote_terminal_bridge::state> weak = s;
    s->endpoint->set_output_listener([weak](const std::string& text) {
      const std::shared_ptr<remote_terminal_bridge::state> alive = weak.lock();
      if (!alive) return;  // the connection was stopped meanwhile
      std::lock_guard<std::mutex> hold(alive->lock);
      if (alive->client != INVALID_SOCKET) send_all(alive->client, text);
    });
    serve(*s, client);
    s->endpoint->set_output_listener(nullptr);
    std::lock_guard<std::mutex> hold(s->lock);
    closesocket(s->client);
    s->client = INVALID_SOCKET;
  }
}

}  // namespace

remote_terminal_bridge::remote_terminal_bridge() = default;
remote_terminal_bridge::~remote_terminal_bridge() { stop(); }

bool remote_terminal_bridge::start(std::shared_ptr<remote_text_endpoint> endpoint, uint16_t port) {
  stop();
  if (!endpoint || !winsock_ready()) return false;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return false;
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 1) != 0) {
    log_error_line("### remote-control line: cannot listen on port %u (error %d) ###",
                   static_cast<unsigned>(port), WSAGetLastError());
    closesocket(listener);
    return false;
  }
  state_ = std::make_shared<state>();
  state_->endpoint = std::move(endpoint);
  state_->listener = listener;
  state_->thread = std::thread(run, state_);
  return true;
}

void remote_terminal_bridge::stop() {
  if (!state_) return;
  {
    std::lock_guard<std::mutex> hold(state_->lock);
    state_->stopping = true;
    if (state_->client != INVALID_SOCKET) shutdown(state_->client, SD_BOTH);
  }
  closesocket(state_->listener);
  if (state_->thread.joinable()) state_->thread.join();
  state_->endpoint->set_output_listener(nullptr);
  state_.reset();
}
