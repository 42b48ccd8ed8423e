// Sending to the stimulator: one write per call, a millisecond a byte on the
// unit's clock, and whole records under the stimulator lock.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/unit/sim_unit.h"
#include "handheld/engine/offdevice/simulated_stimulator_port.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "platform/ce/unit_clock.h"

namespace {

using bytes = std::vector<uint8_t>;

bytes received() {
  bytes b(sim_stim_received(nullptr, 0));
  sim_stim_received(b.data(), static_cast<uint32_t>(b.size()));
  return b;
}

std::vector<sim_stim_record> records() {
  std::vector<sim_stim_record> r(sim_stim_records(nullptr, 0));
  r.resize(sim_stim_records(r.data(), static_cast<uint32_t>(r.size())));
  return r;
}

class StimulatorLink : public ::testing::Test {
 protected:
  void SetUp() override {
    sim_reset();
    use_simulated_stimulator_port();
    ASSERT_NE(open_8051_uart(), nullptr);
  }
  void TearDown() override { close_8051_uart(); }
};

}  // namespace

TEST_F(StimulatorLink, SendsAndSleepsAMillisecondAByte) {
  struct {
    const char* what;
    void (*send)();
    bytes sent;
  } cases[] = {
      {"bytes", [] { const uint8_t b[] = {'L', 0, 8, 1, 2, 3, 4, 5, 6, 7, 8}; send_8051(b, 11); },
       {'L', 0, 8, 1, 2, 3, 4, 5, 6, 7, 8}},
      {"byte", [] { send_8051_byte(COMMAND_DONE); }, {'D'}},
      {"string", [] { send_8051_string("TS"); }, {'T', 'S'}},
      {"empty string", [] { send_8051_string(""); }, {}},
  };
  for (const auto& c : cases) {
    sim_stim_clear_logs();
    uint64_t before = sim_now_ns();
    c.send();
    EXPECT_EQ(received(), c.sent) << c.what;
    EXPECT_EQ(sim_now_ns() - before, c.sent.size() * 1000000u) << c.what;
  }
  EXPECT_EQ(stimulator_port() != nullptr, true);
}

TEST_F(StimulatorLink, WithoutThePortNothingIsWrittenButThePaceIsKept) {
  close_8051_uart();
  EXPECT_EQ(stimulator_port(), nullptr);
  uint64_t before = sim_now_ns();
  send_8051_string("V");
  EXPECT_TRUE(received().empty());
  EXPECT_EQ(sim_now_ns() - before, 1000000u);
}

TEST_F(StimulatorLink, RecordsSentInPartsStayWholeUnderTheLock) {
  const uint8_t body[6] = {0x61, 0xA7, 0x01, 0x02, 0x95, 0x88};
  std::atomic<bool> done{false};
  // Another thread keeps asking for the version meanwhile.
  std::thread other([&] {
    while (!done) send_8051_byte(COMMAND_VERSION);
  });
  for (int i = 0; i < 50; ++i) {
    std::lock_guard<std::recursive_mutex> hold(stimulator_lock());
    send_8051_byte(COMMAND_FLASH);
    unit_sleep_ms(2);
    std::this_thread::yield();
    send_8051(body, 6);
  }
  done = true;
  other.join();
  sim_stim_state s = {};
  sim_stim_get_state(&s);
  EXPECT_EQ(s.bad_records, 0u);
  EXPECT_EQ(s.partial, 0u);
  int flash_records = 0;
  for (const sim_stim_record& r : records()) {
    if (r.bytes[0] != 'f') continue;
    ++flash_records;
    EXPECT_EQ(bytes(r.bytes + 1, r.bytes + 7), bytes(body, body + 6));
  }
  EXPECT_EQ(flash_records, 50);
}
