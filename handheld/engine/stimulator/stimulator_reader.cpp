#include "handheld/engine/stimulator/stimulator_reader.h"

#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"

namespace {

std::atomic<bool> key_disabled[4];

struct readerThread {
  std::mutex lock;  // start and stop
  std::thread thread;
  std::atomic<bool> stop{false};
  std::future<void> finished;
  serialPort* port = nullptr;
};

readerThread& reader() {
  static readerThread r;
  return r;
}

// Waiting for the thread to leave a read: it is woken every this often, in
// case the wake-up came before the read began.
const std::chrono::milliseconds kStopPoll(10);
const std::chrono::seconds kStopLimit(5);

// Where the reader stands in the stimulator's frames: outside a message, or
// inside one with its length byte or n bytes (id and payload) still to come.
// A message that stops short is ended by the main dialog's time-out (n x 50
// ms from its length byte); the reader's extent ends with it, a margin
// later, so that the key filter applies again after a truncated message.
class messageExtent {
 public:
  using clock = std::chrono::steady_clock;
  bool inside(clock::time_point now) const {
    return state_ == expect_length || (state_ > 0 && now <= deadline_);
  }
  void take(uint8_t byte, clock::time_point now) {
    if (!inside(now)) state_ = outside;
    if (state_ == outside) {
      if (byte == STIMULATOR_MESSAGE_START) state_ = expect_length;
    } else if (state_ == expect_length) {
      state_ = byte > 0 ? byte : 1;  // a length of 0 still brings its id
      deadline_ = now + std::chrono::milliseconds(byte * STIMULATOR_MESSAGE_MS_PER_BYTE) + kExtentMargin;
    } else {
      --state_;
    }
  }

 private:
  // How far the main dialog may lag behind the reader.
  static constexpr std::chrono::milliseconds kExtentMargin{STIMULATOR_EXTENT_MARGIN_MS};
  static const int outside = 0;
  static const int expect_length = -1;
  int state_ = outside;
  clock::time_point deadline_;
};

}  // namespace

void set_stimulator_key_disabled(int key, bool disabled) {
  if (key >= 1 && key <= 4) key_disabled[key - 1] = disabled;
}

bool stimulator_key_disabled(int key) { return key >= 1 && key <= 4 && key_disabled[key - 1]; }

void stimulator_reader(serialPort* port, const std::atomic<bool>& stop) {
  // The main dialog sets message mode when it handles the 'U', which may be
  // after this thread has read on into the message: the reader follows the
  // message's extent itself too, from its 'U' and length byte.
  messageExtent extent;
  while (!stop) {
    uint8_t byte = 0;
    int n = serial_read(port, &byte, 1);
    if (n <= 0) {
      // A failed or empty read comes back at once when tried again at once:
      // give the line time instead of spinning.
      std::this_thread::sleep_for(std::chrono::milliseconds(STIMULATOR_READ_BACKOFF_MS));
      continue;
    }
    const auto now = std::chrono::steady_clock::now();
    bool in_message = extent.inside(now) || stimulator_message.message_mode;
    extent.take(byte, now);
    bool key = byte >= '1' && byte <= '4';
    if (key && !in_message && stimulator_key_disabled(byte - '0')) continue;
    post_to_main_dialog(NOTICE_STIMULATOR_BYTE, byte);
  }
}

bool start_stimulator_reader() {
  readerThread& r = reader();
  std::lock_guard<std::mutex> hold(r.lock);
  serialPort* port = stimulator_port();
  if (port == nullptr || r.thread.joinable()) return false;
  r.stop = false;
  r.port = port;
  std::packaged_task<void()> body([port, &r] { stimulator_reader(port, r.stop); });
  r.finished = body.get_future();
  r.thread = std::thread(std::move(body));
  return true;
}

bool stop_stimulator_reader() {
  readerThread& r = reader();
  std::lock_guard<std::mutex> hold(r.lock);
  if (!r.thread.joinable()) return true;
  r.stop = true;
  const auto give_up = std::chrono::steady_clock::now() + kStopLimit;
  do {
    serial_cancel_reads(r.port);
    if (r.finished.wait_for(kStopPoll) == std::future_status::ready) {
      r.thread.join();
      r.port = nullptr;
      return true;
    }
  } while (std::chrono::steady_clock::now() < give_up);
  // A read that never ends: leave the thread to it rather than hang.
  log_error_line("### stimulator reader: read not ended, thread left ###");
  r.thread.detach();
  r.port = nullptr;
  return false;
}

bool stimulator_reader_running() {
  readerThread& r = reader();
  std::lock_guard<std::mutex> hold(r.lock);
  return r.thread.joinable();
}
