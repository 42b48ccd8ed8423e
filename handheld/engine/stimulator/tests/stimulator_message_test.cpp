// Framing of the stimulator's messages: completion and its notice, the
// time-out timer, the time-out report, and the calibration payload.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handheld/engine/log/engine_messages.h"
#include "handheld/engine/tests/log_fixture.h"
#include "handheld/engine/stimulator/main_dialog_post_capture.h"
#include "handheld/engine/stimulator/stimulator_message.h"

namespace {

using bytes = std::vector<uint8_t>;

// Records the timer's starts and stops.
struct fake_timer {
  std::vector<uint32_t> starts;
  int stops = 0;
  stimulatorMessageTimer previous;
  fake_timer() {
    previous = set_8051_message_timer(stimulatorMessageTimer{
        [](void* c, uint32_t ms) { static_cast<fake_timer*>(c)->starts.push_back(ms); },
        [](void* c) { ++static_cast<fake_timer*>(c)->stops; }, this});
  }
  ~fake_timer() { set_8051_message_timer(previous); }
};

// What the main dialog does with the bytes after 'U'.
void receive(const bytes& b) {
  begin_8051_message();
  for (uint8_t byte : b) take_8051_message_byte(byte);
}

std::vector<std::string> shown;
void record_shown(int kind, const char* text) { shown.push_back(std::to_string(kind) + ":" + text); }

class StimulatorMessage : public LogFixture {};

}  // namespace

TEST_F(StimulatorMessage, MessagesCompleteWhenTheCountReachesTheLength) {
  bytes table(240);
  for (int i = 0; i < 240; ++i) table[i] = static_cast<uint8_t>(i * 7);
  struct {
    const char* what;
    bytes after_u;
    int id;
    bytes stored;  // id and payload
    uint32_t timer_ms;
  } cases[] = {
      {"status", {2, 's', 0x41}, 's', {'s', 0x41}, 100},
      {"empty payload", {1, 'a'}, 'a', {'a'}, 50},
      {"length 0", {0, 't'}, 't', {'t'}, 0},
      {"key bytes inside are data", {4, 'b', '3', 'U', '1'}, 'b', {'b', '3', 'U', '1'}, 200},
  };
  for (const auto& c : cases) {
    main_dialog_post_capture posts;
    fake_timer timer;
    receive(c.after_u);
    auto n = posts.notices();
    ASSERT_EQ(n.size(), 1u) << c.what;
    EXPECT_EQ(n[0].message, 1024u);
    EXPECT_EQ(n[0].wparam, NOTICE_STIMULATOR_MESSAGE);
    EXPECT_EQ(n[0].lparam, c.id);
    EXPECT_FALSE(stimulator_message.message_mode) << c.what;
    EXPECT_EQ(stimulator_message.count, static_cast<int>(c.stored.size()));
    EXPECT_EQ(bytes(stimulator_message.buffer, stimulator_message.buffer + c.stored.size()), c.stored) << c.what;
    EXPECT_EQ(stimulator_message.buffer[c.stored.size()], 0);
    EXPECT_EQ(timer.starts, std::vector<uint32_t>{c.timer_ms}) << c.what;
    EXPECT_EQ(timer.stops, 1);
  }

  // While a message is under way nothing is posted and message mode holds.
  main_dialog_post_capture posts;
  fake_timer timer;
  begin_8051_message();
  EXPECT_TRUE(stimulator_message.message_mode);
  take_8051_message_byte(241);
  take_8051_message_byte('l');
  for (int i = 0; i < 239; ++i) take_8051_message_byte(table[i]);
  EXPECT_TRUE(posts.notices().empty());
  EXPECT_TRUE(stimulator_message.message_mode);
  uint8_t out[240] = {};
  EXPECT_FALSE(stimulator_calibration_payload(out));  // not complete yet
  take_8051_message_byte(table[239]);
  ASSERT_EQ(posts.notices().size(), 1u);
  EXPECT_EQ(timer.starts, std::vector<uint32_t>{241 * 50});
  ASSERT_TRUE(stimulator_calibration_payload(out));
  EXPECT_EQ(bytes(out, out + 240), table);

  // A fresh 'U' empties the buffer.
  begin_8051_message();
  EXPECT_EQ(stimulator_message.count, 0);
  EXPECT_EQ(stimulator_message.buffer[0], 0);
  end_8051_message();
}

TEST_F(StimulatorMessage, OnlyAWhole240ByteTableIsTheCalibrationPayload) {
  struct {
    const char* what;
    bytes after_u;
    bool taken;
  } cases[] = {
      {"whole", [] { bytes b = {241, 'l'}; b.resize(242, 0x11); return b; }(), true},
      {"short, announced short", [] { bytes b = {101, 'l'}; b.resize(102, 0x11); return b; }(), false},
      {"longer than a table", [] { bytes b = {250, 'l'}; b.resize(251, 0x11); return b; }(), false},
      {"another id", [] { bytes b = {241, 'v'}; b.resize(242, 0x11); return b; }(), false},
  };
  for (const auto& c : cases) {
    main_dialog_post_capture posts;
    receive(c.after_u);
    uint8_t out[240] = {};
    EXPECT_EQ(stimulator_calibration_payload(out), c.taken) << c.what;
    EXPECT_EQ(out[0], c.taken ? 0x11 : 0) << c.what;
  }
  // A message cut short by its time-out is never a table.
  receive({241, 'l', 1, 2, 3});
  stimulator_message_timed_out();
  uint8_t out[240];
  EXPECT_FALSE(stimulator_calibration_payload(out));
  EXPECT_FALSE(stimulator_calibration_payload(nullptr));
}

TEST_F(StimulatorMessage, TimeOutEndsTheMessageAndIsReported) {
  main_dialog_post_capture posts;
  fake_timer timer;
  shown.clear();
  set_show_message_handler(record_shown);
  receive({5, 'v', '0', '3'});
  EXPECT_EQ(timer.starts, std::vector<uint32_t>{250});
  EXPECT_TRUE(posts.notices().empty());

  stimulator_message_timed_out();
  EXPECT_FALSE(stimulator_message.message_mode);
  EXPECT_EQ(timer.stops, 1);
  auto n = posts.notices();
  ASSERT_EQ(n.size(), 1u);
  EXPECT_EQ(n[0].wparam, NOTICE_TIMER_EVENT);
  EXPECT_EQ(n[0].lparam, STIMULATOR_MESSAGE_TIMER);

  report_8051_message_timeout();
  EXPECT_NE(log_text().find("8051_MESSAGE_TIMEOUT"), std::string::npos) << log_text();
  EXPECT_NE(log_text().find("#### id = v expected 5 chars, got 3 chars. ####"), std::string::npos) << log_text();
  const std::string pad = "\n\t\t" + std::string(31, ' ');
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "0:########" + pad + "8051 MESSAGE TIMEOUT," + pad + "id = v" + pad +
                          "expected 5 chars, got 3 chars" + pad + "########");

  // Timed out before its id: the id is shown as '?', not as a NUL that would
  // cut the text.
  shown.clear();
  receive({9});
  stimulator_message_timed_out();
  report_8051_message_timeout();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("id = ?" + pad + "expected 9 chars, got 0 chars"), std::string::npos);
}

TEST(StimulatorTrace, TheHookDoesNothing) {
  const uint8_t payload[8] = {1, 0, 0, 0, 2, 0, 0, 0};
  EXPECT_EQ(trace_8051_message(payload), 0);
  EXPECT_EQ(trace_8051_message(nullptr), 0);
  EXPECT_EQ(trace_hook(13, "-", 1, 2), 0);
}
