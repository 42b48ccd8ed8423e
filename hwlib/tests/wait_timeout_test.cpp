// The bit waits on the virtual clock: a limit of N ms gives up after at least
// N and at most N+1 ms, a condition already met returns at once, and a wait
// keeps its own start whatever other threads wait on.
#include <atomic>
#include <thread>

#include "hwlib/tests/sim_board_fixture.h"

namespace {

const uint64_t kMs = 1000000;

using wait_test = sim_board_test;

struct endless_wait {
  const char* name;
  int fault;  // 0: none
  uint32_t (*call)(uint32_t limit_ms);
};

const endless_wait kEndless[] = {
    {"data ready stuck high", SIM_FAULT_DRDY_STUCK_HIGH,
     [](uint32_t n) { return wait_while_gpio_bit(12, 0, 1, n); }},
    {"gpio bit stays clear", 0, [](uint32_t n) { return wait_while_gpio_bit(13, 2, 0, n); }},
    {"gpio bit 32 against state 0", 0, [](uint32_t n) { return wait_while_gpio_bit(13, 32, 0, n); }},
    {"spi bit 200 against state 0", 0, [](uint32_t n) { return wait_while_spi_bit(5, 200, 0, n); }},
    {"transmitter never idle", SIM_FAULT_TX_NEVER_IDLE,
     [](uint32_t n) { return wait_while_spi_bit(5, 7, 0, n); }},
};

TEST_F(wait_test, TimeOutsAreExactOnTheVirtualClock) {
  const uint32_t limits[] = {0, 1, 2, 5, 100};
  const uint64_t phases[] = {100000, 500000, 900000};
  for (const endless_wait& w : kEndless) {
    for (uint32_t limit : limits) {
      for (uint64_t phase : phases) {
        SCOPED_TRACE(testing::Message() << w.name << ", " << limit << " ms, phase " << phase);
        put_gpio_reg(13, 0);
        if (w.fault != 0) sim_fault_set(w.fault, 0);
        align_clock(phase);
        const uint64_t start = sim_now_ns();
        EXPECT_EQ(0u, w.call(limit));
        const uint64_t elapsed = sim_now_ns() - start;
        EXPECT_GE(elapsed, limit * kMs);
        EXPECT_LE(elapsed, (limit + 1) * kMs);
        if (w.fault != 0) sim_fault_clear(w.fault);
      }
    }
  }
}

TEST_F(wait_test, TransmitterWaitGivesUpAfterTenMilliseconds) {
  sim_fault_set(SIM_FAULT_TX_NEVER_IDLE, 0);
  for (uint64_t phase : {100000u, 900000u}) {
    align_clock(phase);
    const uint64_t start = sim_now_ns();
    EXPECT_EQ(0u, wait_till_xmit_fifo_empty());
    const uint64_t elapsed = sim_now_ns() - start;
    EXPECT_GE(elapsed, 10 * kMs);
    EXPECT_LE(elapsed, 11 * kMs);
  }
}

TEST_F(wait_test, ConditionAlreadyMetReturnsAtOnce) {
  struct row {
    const char* name;
    uint32_t (*call)();
  };
  const row rows[] = {
      {"gpio bit set, waiting while clear", [] { return wait_while_gpio_bit(13, 2, 0, 100); }},
      {"gpio bit set, waiting while it is 1", [] { return wait_while_gpio_bit(13, 3, 1, 100); }},
      {"gpio bit 40 against state 1", [] { return wait_while_gpio_bit(13, 40, 1, 100); }},
      {"transmitter idle", [] { return wait_while_spi_bit(5, 7, 0, 100); }},
      {"transmit FIFO empty", [] { return wait_till_xmit_fifo_empty(); }},
  };
  put_gpio_reg(13, 0x0C);
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    const uint64_t start = sim_now_ns();
    EXPECT_EQ(1u, r.call());
    EXPECT_LT(sim_now_ns() - start, 10000u);
  }
}

TEST_F(wait_test, DataReadyWaitEndsWithTheNextConversion) {
  // The program's wait: data ready low within 100 ms. After a read, the next
  // conversion at 15000 per second comes within 67 microseconds.
  int32_t value;
  select_adc();
  ASSERT_EQ(1u, put_1255_reg(3, 0xE0));
  ASSERT_EQ(3u, get_1255_data(&value));
  EXPECT_EQ(1u, get_gpio_reg(12) & 1u);
  const uint64_t start = sim_now_ns();
  EXPECT_EQ(1u, wait_while_gpio_bit(12, 0, 1, 100));
  EXPECT_LT(sim_now_ns() - start, 70000u);
  EXPECT_EQ(0u, get_gpio_reg(12) & 1u);
}

TEST_F(wait_test, AWaitOnAnotherThreadDoesNotRestartThisOne) {
  // Another thread keeps starting short waits for far longer than this
  // thread's limit; this wait must still end on its own time.
  std::atomic<int> other_waits{0};
  std::atomic<bool> other_running{true};
  std::thread other([&] {
    for (int i = 0; i < 300; ++i) {
      wait_while_gpio_bit(13, 32, 0, 2);
      ++other_waits;
    }
    other_running = false;
  });
  while (other_waits == 0) std::this_thread::yield();

  sim_fault_set(SIM_FAULT_DRDY_STUCK_HIGH, 0);
  const uint64_t start = sim_now_ns();
  EXPECT_EQ(0u, wait_while_gpio_bit(12, 0, 1, 20));
  const uint64_t elapsed = sim_now_ns() - start;
  const bool ended_while_other_waited = other_running;
  other.join();

  EXPECT_TRUE(ended_while_other_waited);
  EXPECT_GE(elapsed, 20 * kMs);
}

}  // namespace
