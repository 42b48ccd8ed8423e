// The reader thread on the simulated stimulator: what it posts, the key
// filter, the start-up exchange through a stand-in main dialog, failed reads,
// and stopping.
#include <gtest/gtest.h>
#include <string.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "handheld/engine/tests/fake_serial_endpoint.h"
#include "handheld/engine/stimulator/main_dialog_post_capture.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/offdevice/simulated_stimulator_port.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/stimulator/stimulator_reader.h"

namespace {

using bytes = std::vector<uint8_t>;

// The main dialog's part: bytes in key mode, 'U' and message bytes, in
// posting order. Keeps the keys and the complete messages.
class dialog_stand_in {
 public:
  // Handles every notice posted so far and waits (real time) for more until
  // done() or the time limit.
  template <typename Done>
  bool pump(Done done, int timeout_ms = 5000) {
    auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
      auto all = posts.notices();
      for (; handled < all.size(); ++handled) handle(all[handled]);
      if (done()) return true;
      if (std::chrono::steady_clock::now() > limit) return false;
      posts.wait_for(handled + 1, 10);
    }
  }

  main_dialog_post_capture posts;
  size_t handled = 0;
  bytes keys;                      // bytes in key mode other than 'U'
  std::vector<bytes> messages;     // id and payload of each complete message
  int timeouts = 0;

 private:
  void handle(const mainDialogNotice& n) {
    if (n.wparam == NOTICE_STIMULATOR_BYTE) {
      uint8_t b = static_cast<uint8_t>(n.lparam);
      if (stimulator_message.message_mode) {
        take_8051_message_byte(b);
      } else if (b == 'U') {
        begin_8051_message();
      } else {
        keys.push_back(b);
      }
    } else if (n.wparam == NOTICE_STIMULATOR_MESSAGE) {
      messages.emplace_back(stimulator_message.buffer, stimulator_message.buffer + stimulator_message.count);
    } else if (n.wparam == NOTICE_TIMER_EVENT) {
      ++timeouts;
    }
  }
};

class StimulatorReader : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_reset();
    use_simulated_stimulator_port();
    ASSERT_NE(open_8051_uart(), nullptr);
    for (int k = 1; k <= 4; ++k) set_stimulator_key_disabled(k, false);
    end_8051_message();
  }
  void TearDown() override {
    EXPECT_TRUE(stop_stimulator_reader());
    close_8051_uart();
    for (int k = 1; k <= 4; ++k) set_stimulator_key_disabled(k, false);
    end_8051_message();
  }
};

void stim_send(const bytes& b) { sim_stim_send(b.data(), static_cast<uint32_t>(b.size()), 0); }

}  // namespace

TEST_F(StimulatorReader, PostsEveryByteButDisabledKeysOutsideAMessage) {
  dialog_stand_in dialog;
  set_stimulator_key_disabled(3, true);
  set_stimulator_key_disabled(0, true);  // no such key: ignored
  set_stimulator_key_disabled(5, true);
  EXPECT_FALSE(stimulator_key_disabled(0));
  EXPECT_FALSE(stimulator_key_disabled(5));
  ASSERT_TRUE(start_stimulator_reader());
  EXPECT_TRUE(stimulator_reader_running());
  EXPECT_FALSE(start_stimulator_reader());  // one reader at a time
  stim_send({'1', '3', '4', 0x07});
  ASSERT_TRUE(dialog.pump([&] { return dialog.keys.size() == 3; }));
  EXPECT_EQ(dialog.keys, (bytes{'1', '4', 0x07}));
  auto n = dialog.posts.notices();
  ASSERT_EQ(n.size(), 3u);
  EXPECT_EQ(n[0].message, 1024u);
  EXPECT_EQ(n[0].wparam, NOTICE_STIMULATOR_BYTE);
  EXPECT_EQ(n[0].lparam, '1');

  // Inside a message the same byte is data.
  const uint8_t payload[] = {'3', '3'};
  sim_stim_send_message('b', payload, 2, 0);
  ASSERT_TRUE(dialog.pump([&] { return dialog.messages.size() == 1; }));
  EXPECT_EQ(dialog.messages[0], (bytes{'b', '3', '3'}));
  stim_send({'3', '2'});
  ASSERT_TRUE(dialog.pump([&] { return dialog.keys.size() == 4; }));
  EXPECT_EQ(dialog.keys.back(), '2');
}

TEST_F(StimulatorReader, StartUpExchangeWithTheSimulatedStimulator) {
  for (bool zero_table : {false, true}) {
    sim_reset();
    double table[30] = {};
    if (zero_table) sim_stim_set_table(table);
    sim_stim_get_table(table);
    ASSERT_TRUE(start_stimulator_reader());
    dialog_stand_in dialog;

    send_8051_string("V");
    ASSERT_TRUE(dialog.pump([&] { return dialog.messages.size() == 1; }));
    EXPECT_EQ(dialog.messages[0], (bytes{'v', '0', '3', '.', '0', '1', '0'}));
    {
      std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
      for (uint8_t b : {uint8_t('l'), uint8_t(0x01), uint8_t(0xF0)}) send_8051_byte(b);
    }
    ASSERT_TRUE(dialog.pump([&] { return dialog.messages.size() == 2; }));
    uint8_t payload[240];
    ASSERT_TRUE(stimulator_calibration_payload(payload));
    double received[30];
    memcpy(received, payload, sizeof received);  // little-endian both ends
    for (int i = 0; i < 30; ++i) EXPECT_EQ(received[i], table[i]) << i;
    if (!zero_table) {
      send_8051_byte(COMMAND_CLOCK_REQUEST);
      ASSERT_TRUE(dialog.pump([&] { return dialog.messages.size() == 3; }));
      EXPECT_EQ(dialog.messages[2].size(), 9u);
      EXPECT_EQ(dialog.messages[2][0], 't');
    }
    EXPECT_TRUE(dialog.keys.empty());
    EXPECT_TRUE(stop_stimulator_reader());
  }
}

TEST_F(StimulatorReader, AShortReplyTimesOutAndALaterOneIsStillTaken) {
  dialog_stand_in dialog;
  ASSERT_TRUE(start_stimulator_reader());
  sim_fault_set(SIM_FAULT_STIM_REPLY_SHORT, 200);
  send_8051_string("l\x01\xF0");
  // 'U', 241, 'l' and 40 bytes arrive; the message waits.
  ASSERT_TRUE(dialog.pump([&] { return dialog.handled == 43; }));
  EXPECT_TRUE(stimulator_message.message_mode);
  EXPECT_EQ(stimulator_message.count, 41);
  // The timer fires: the message is dropped.
  stimulator_message_timed_out();
  ASSERT_TRUE(dialog.pump([&] { return dialog.timeouts == 1; }));
  uint8_t payload[240];
  EXPECT_FALSE(stimulator_calibration_payload(payload));
  // The next request gets the whole table.
  send_8051_string("l\x01\xF0");
  ASSERT_TRUE(dialog.pump([&] { return dialog.messages.size() == 1; }));
  EXPECT_TRUE(stimulator_calibration_payload(payload));
}

TEST_F(StimulatorReader, AMessageThatStopsShortDoesNotHoldTheKeyFilterOff) {
  dialog_stand_in dialog;
  set_stimulator_key_disabled(3, true);
  ASSERT_TRUE(start_stimulator_reader());
  stim_send({'U', 4, 's'});  // the three bytes after the id never come
  ASSERT_TRUE(dialog.pump([&] { return dialog.handled == 3; }));
  stimulator_message_timed_out();
  ASSERT_TRUE(dialog.pump([&] { return dialog.timeouts == 1; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(4 * 50 + STIMULATOR_EXTENT_MARGIN_MS + 100));
  stim_send({'3', '2'});
  ASSERT_TRUE(dialog.pump([&] { return !dialog.keys.empty() && dialog.keys.back() == '2'; }));
  EXPECT_EQ(dialog.keys, (bytes{'2'}));
}

TEST_F(StimulatorReader, NotStartedWithoutAPortAndStopsCleanly) {
  // Stopping a reader that is not running does nothing.
  EXPECT_TRUE(stop_stimulator_reader());
  close_8051_uart();
  EXPECT_FALSE(start_stimulator_reader());
  EXPECT_FALSE(stimulator_reader_running());

  // A reader blocked in its read stops at once, and posts nothing after.
  for (int round = 0; round < 3; ++round) {
    ASSERT_NE(open_8051_uart(), nullptr);
    dialog_stand_in dialog;
    ASSERT_TRUE(start_stimulator_reader());
    stim_send({'1'});
    ASSERT_TRUE(dialog.pump([&] { return dialog.keys.size() == 1; })) << round;
    auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(stop_stimulator_reader());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(stimulator_reader_running());
    stim_send({'2'});
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(dialog.posts.notices().size(), 1u);
    uint8_t left = 0;  // nobody took it
    EXPECT_EQ(sim_stim_read(&left, 1), 1u);
    EXPECT_EQ(left, '2');
    close_8051_uart();
  }
}

TEST(StimulatorReaderLoop, BacksOffAfterAFailedRead) {
  auto line = std::make_shared<fake_serial_endpoint>();
  line->failing = true;
  register_serial_endpoint(L"COM6:", line);
  serialPort* port = open_serial_port(L"COM6:", 9600);
  ASSERT_NE(port, nullptr);
  main_dialog_post_capture posts;
  std::atomic<bool> stop{false};
  std::thread reader([&] { stimulator_reader(port, stop); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  stop = true;
  reader.join();
  // 200 ms at 20 ms a try: about ten reads, not thousands.
  EXPECT_GE(line->reads.load(), 2);
  EXPECT_LE(line->reads.load(), 20);
  EXPECT_TRUE(posts.notices().empty());

  // When the line recovers, the bytes come through.
  line->failing = false;
  line->feed({'4'});
  stop = false;
  std::thread again([&] { stimulator_reader(port, stop); });
  EXPECT_TRUE(posts.wait_for(1, 5000));
  stop = true;
  serial_cancel_reads(port);
  again.join();
  ASSERT_EQ(posts.notices().size(), 1u);
  EXPECT_EQ(posts.notices()[0].lparam, '4');
  close_serial_port(port);
  register_serial_endpoint(L"COM6:", nullptr);
}
