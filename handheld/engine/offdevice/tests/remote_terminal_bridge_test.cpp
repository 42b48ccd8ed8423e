// A terminal reaching the remote-control line's text endpoint over TCP.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "handheld/engine/offdevice/remote_text_endpoint.h"

namespace {

class TerminalBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    endpoint_ = std::make_shared<remote_text_endpoint>();
    port_ = static_cast<uint16_t>(42000 + GetCurrentProcessId() % 2000);
    ASSERT_TRUE(bridge_.start(endpoint_, port_));
  }
  void TearDown() override {
    if (client_ != INVALID_SOCKET) closesocket(client_);
    bridge_.stop();
    WSACleanup();
  }

  void connect_terminal() {
    client_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    ASSERT_NE(INVALID_SOCKET, client_);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(0, connect(client_, reinterpret_cast<const sockaddr*>(&address), sizeof address));
    DWORD timeout_ms = 5000;
    setsockopt(client_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout_ms), sizeof timeout_ms);
  }

  // Reads what the terminal receives until it holds `text`.
  std::string receive_until(const std::string& text) {
    std::string got;
    char buffer[256];
    while (got.find(text) == std::string::npos) {
      const int n = recv(client_, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      got.append(buffer, static_cast<size_t>(n));
    }
    return got;
  }

  // Reads what the endpoint was typed, waiting for n bytes.
  std::string typed(size_t n) {
    std::string got;
    std::atomic<bool> cancelled{false};
    std::atomic<bool> done{false};
    std::thread stopper([&] {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (!done && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      cancelled = true;
    });
    while (got.size() < n) {
      uint8_t buffer[64];
      const int k = endpoint_->read(buffer, sizeof buffer, cancelled);
      if (k <= 0) break;
      got.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(k));
    }
    done = true;
    stopper.join();
    return got;
  }

  std::shared_ptr<remote_text_endpoint> endpoint_;
  remote_terminal_bridge bridge_;
  uint16_t port_ = 0;
  SOCKET client_ = INVALID_SOCKET;
};

TEST_F(TerminalBridge, TypedLinesEndInCarriageReturnsAndRepliesComeBack) {
  connect_terminal();
  const char sent[] = "HELP\r\nbattery\nREAX\x7f" "D\r";
  ASSERT_EQ(static_cast<int>(sizeof sent - 1), send(client_, sent, sizeof sent - 1, 0));
  EXPECT_EQ("HELP\rbattery\rREAX\bD\r", typed(20));

  // The connection is in place once the first bytes have come through.
  const uint8_t reply[] = "\r\n[HELP] [] [] []\r\n";
  endpoint_->write(reply, sizeof reply - 1);
  EXPECT_EQ("\r\n[HELP] [] [] []\r\n", receive_until("[]\r\n"));
}

TEST_F(TerminalBridge, ANewTerminalCanConnectAfterTheFirstLeaves) {
  connect_terminal();
  ASSERT_EQ(2, send(client_, "a\n", 2, 0));
  EXPECT_EQ("a\r", typed(2));
  closesocket(client_);
  client_ = INVALID_SOCKET;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  connect_terminal();
  ASSERT_EQ(2, send(client_, "b\n", 2, 0));
  EXPECT_EQ("b\r", typed(2));
  const uint8_t reply[] = "ok\r\n";
  endpoint_->write(reply, 4);
  EXPECT_EQ("ok\r\n", receive_until("ok\r\n"));
}

// A terminal that floods the line and leaves: what the unit had not read
// yet is not echoed to the next terminal.
TEST_F(TerminalBridge, ANewTerminalStartsWithNothingOfTheLastQueued) {
  connect_terminal();
  const std::string flood(4096, 'x');
  ASSERT_EQ(static_cast<int>(flood.size()), send(client_, flood.data(), static_cast<int>(flood.size()), 0));
  closesocket(client_);
  client_ = INVALID_SOCKET;
  connect_terminal();  // served once the first connection has been read to its end
  // The new terminal is served once the unit's writes reach it.
  DWORD short_ms = 100;
  setsockopt(client_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&short_ms), sizeof short_ms);
  bool served = false;
  for (int i = 0; i < 300 && !served; ++i) {
    const uint8_t ping[] = "+";
    endpoint_->write(ping, 1);
    char buffer[16];
    served = recv(client_, buffer, sizeof buffer, 0) > 0;
  }
  ASSERT_TRUE(served);
  ASSERT_EQ(2, send(client_, "b\n", 2, 0));
  EXPECT_EQ("b\r", typed(2));
}

// A terminal that stops reading holds the unit's writes up for a bounded
// time only: its connection is dropped.
TEST_F(TerminalBridge, ATerminalThatStopsReadingDoesNotHoldTheLineUp) {
  connect_terminal();
  ASSERT_EQ(2, send(client_, "a\n", 2, 0));
  ASSERT_EQ("a\r", typed(2));
  const std::string chunk(64 * 1024, 'x');
  auto writes = std::async(std::launch::async, [&] {
    for (int i = 0; i < 1024; ++i) {
      endpoint_->write(reinterpret_cast<const uint8_t*>(chunk.data()), chunk.size());
    }
  });
  const bool finished = writes.wait_for(std::chrono::seconds(30)) == std::future_status::ready;
  // Let a held write go before the test ends.
  closesocket(client_);
  client_ = INVALID_SOCKET;
  writes.wait();
  EXPECT_TRUE(finished) << "the unit's writes waited on the terminal";
}

}  // namespace
