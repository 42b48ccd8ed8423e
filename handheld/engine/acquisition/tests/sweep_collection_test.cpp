// The four collectors and the battery reading on the simulated unit.
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <numeric>
#include <vector>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/tests/engine_message_capture.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/storage/record_init.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/engine/acquisition/sweep_collection.h"
#include "handheld/engine/hardware/thread_priority.h"
#include "platform/ce/unit_clock.h"

namespace {

// Consecutive blocks, initialised.
std::unique_ptr<samplesBlock[]> fresh_blocks(int n) {
  std::unique_ptr<samplesBlock[]> blocks(new samplesBlock[n]);
  for (int k = 0; k < n; ++k) init_samples_block(blocks[k]);
  return blocks;
}

// Input 0 counts conversions: value n at conversion n.
void count_conversions(uint32_t input = 0) {
  std::vector<int32_t> ramp(1 << 20);
  std::iota(ramp.begin(), ramp.end(), 0);
  sim_adc_set_sequence(input, ramp.data(), static_cast<uint32_t>(ramp.size()));
}

// Index of the first value read after the flash: the first gap in a ramp.
int flash_index(const samplesBlock& block) {
  for (int i = 1; i <= block.PointCount; ++i) {
    if (block.Data[i] - block.Data[i - 1] > 3) return i;
  }
  return -1;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The board's input as microvolts through the default data calibration.
double microvolts(int32_t raw) { return raw * 0.00045 - 1930.0; }

// Milliseconds after the flash of value i, on the block's own time scale.
double ms_after_flash(const samplesBlock& b, int i) {
  return i * static_cast<double>(b.Time) / (b.PointCount + 1) - b.CollectionTime;
}

// The ERG's a-wave trough and b-wave peak (ms after the flash).
struct ergTimes {
  double trough_ms, peak_ms, depth_uv, height_uv;
};
ergTimes erg_times(const samplesBlock& b) {
  // The baseline: the mean before the flash.
  double base = 0;
  int pre = 0;
  for (int i = 0; i <= b.PointCount && ms_after_flash(b, i) < 0; ++i, ++pre) base += microvolts(b.Data[i]);
  base = pre > 0 ? base / pre : microvolts(b.Data[0]);
  int low = 0, high = 0;
  for (int i = 1; i <= b.PointCount; ++i) {
    if (b.Data[i] < b.Data[low]) low = i;
    if (b.Data[i] > b.Data[high]) high = i;
  }
  return {ms_after_flash(b, low), ms_after_flash(b, high), base - microvolts(b.Data[low]),
          microvolts(b.Data[high]) - base};
}

uint32_t flashes() {
  sim_stim_state state;
  sim_stim_get_state(&state);
  return state.flashes;
}

// Collections on the simulated unit with its stimulator: the first 'f' arms
// its flash trigger, a flicker period makes it flash on its own.
class Collection : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    load_default_calibration();  // before the port opens: nothing sent
    open_stimulator();
  }
  void TearDown() override {
    send_8051_byte(COMMAND_DONE);
    reset_calibration_table();
    SimulatedUnit::TearDown();
  }
};

TEST_F(Collection, SingleFlashSweepHoldsTheResponseAtThePreFlashTime) {
  sim_signal signal;
  sim_signal_defaults(0, &signal);
  signal.response = SIM_RESPONSE_SHAPE;
  sim_signal_set(0, &signal);
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  auto blocks = fresh_blocks(1);
  const samplesBlock& b = blocks[0];
  EXPECT_EQ(1, collect_sweep(20, 180, blocks.get(), 12000, 0, 1, 300));
  EXPECT_EQ(1u, flashes());
  EXPECT_EQ(1.0, b.Divisor);
  EXPECT_EQ(0, b.ErrorCount);
  EXPECT_EQ(20u, b.CollectionTime);
  EXPECT_NEAR(200.0, b.Time, 1.0);
  // About 15000 conversions a second.
  EXPECT_NEAR(2999, b.PointCount, 60);
  // The a-wave trough 15 ms and the b-wave peak 40 ms after the flash, on
  // the block's own time scale, for a flash of 1.006 V x 5 ms.
  const ergTimes erg = erg_times(b);
  EXPECT_NEAR(15.0, erg.trough_ms, 1.5);
  EXPECT_NEAR(40.0, erg.peak_ms, 1.5);
  EXPECT_NEAR(40 * 5.03, erg.depth_uv, 15.0);
  EXPECT_NEAR(80 * 5.03, erg.height_uv, 15.0);
}

TEST_F(Collection, DualSweepFillsBothChannelsWithOneHeader) {
  for (uint32_t input : {0u, 1u}) {
    sim_signal signal;
    sim_signal_defaults(input, &signal);
    signal.response = SIM_RESPONSE_SHAPE;
    signal.b_wave_uv = input == 0 ? 80 : 40;
    sim_signal_set(input, &signal);
  }
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  auto a = fresh_blocks(1);
  auto b = fresh_blocks(1);
  EXPECT_EQ(1, collect_dual_sweeps(20, 180, a.get(), b.get(), 12000, 0, 1, 300));
  EXPECT_EQ(20u, a[0].CollectionTime);
  EXPECT_NEAR(200.0, a[0].Time, 1.0);
  EXPECT_GT(a[0].PointCount, 300);  // each pair of values takes two conversions and a restart
  for (samplesBlock* block : {&a[0], &b[0]}) {
    SCOPED_TRACE(block == &a[0] ? "A" : "B");
    EXPECT_EQ(a[0].PointCount, block->PointCount);
    EXPECT_EQ(a[0].Time, block->Time);
    EXPECT_EQ(a[0].CollectionTime, block->CollectionTime);
    EXPECT_EQ(1.0, block->Divisor);
    const ergTimes erg = erg_times(*block);
    EXPECT_NEAR(40.0, erg.peak_ms, 2.5);
    EXPECT_NEAR(block == &a[0] ? 402 : 201, erg.height_uv, 20.0);
  }
}

TEST_F(Collection, SeveralFlashSweepsWaitForEachSyncButTheLast) {
  count_conversions();
  ASSERT_EQ(1, set_flash(20000, 2, 100, 0, 0));  // two flashes
  auto blocks = fresh_blocks(3);
  blocks[1].CollectionTime = 77;  // left over from an earlier collection
  const uint64_t start = now_us();
  EXPECT_EQ(3, collect_sweep(10, 50, blocks.get(), 12000, 0, 3, 300));
  // Two flashes 100 ms apart, the third sweep straight after the second.
  EXPECT_NEAR(10 + 100 + 50 + 50, (now_us() - start) / 1000.0, 3.0);
  EXPECT_EQ(10u, blocks[0].CollectionTime);
  EXPECT_NEAR(60.0, blocks[0].Time, 1.0);
  EXPECT_NEAR(150 + 750 - 1, blocks[0].PointCount, 30);
  for (int k = 1; k < 3; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(0u, blocks[k].CollectionTime);
    EXPECT_NEAR(50.0, blocks[k].Time, 1.0);
    EXPECT_NEAR(749, blocks[k].PointCount, 30);
    EXPECT_EQ(-1, flash_index(blocks[k]));
  }
}

TEST_F(Collection, FlickerSweepsStartAtEverySync) {
  for (bool dual : {false, true}) {
    SCOPED_TRACE(dual);
    ASSERT_EQ(1, set_flash(20000, 5, 50, 0, 0));  // five flashes
    auto a = fresh_blocks(5);
    auto b = fresh_blocks(5);
    const uint64_t start = now_us();
    const int n = dual ? collect_dual_synced_sweeps(0, 40, a.get(), b.get(), 12000, 0, 5, 120)
                       : collect_synced_sweeps(0, 40, a.get(), 12000, 0, 5, 120);
    EXPECT_EQ(5, n);
    EXPECT_NEAR(4 * 50 + 40, (now_us() - start) / 1000.0, 2.0);
    for (int k = 0; k < 5; ++k) {
      EXPECT_EQ(0u, a[k].CollectionTime);
      EXPECT_NEAR(40.0, a[k].Time, 1.0);
      EXPECT_GT(a[k].PointCount, dual ? 60 : 550);
      if (dual) {
        EXPECT_EQ(a[k].PointCount, b[k].PointCount);
      }
    }
    send_8051_byte(COMMAND_DONE);
  }
}

TEST_F(Collection, FlickerTrainEndingEarlyGivesTheSweepsCompleted) {
  for (bool dual : {false, true}) {
    SCOPED_TRACE(dual);
    ASSERT_EQ(1, set_flash(20000, 5, 50, 0, 0));
    auto a = fresh_blocks(5);
    auto b = fresh_blocks(5);
    // The syncs stop during the third sweep (flashes at 0, 50 and 100 ms).
    const uint64_t start = now_us();
    set_read_hook([start](int) {
      if (now_us() - start > 110000) sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
      return true;
    });
    const int n = dual ? collect_dual_synced_sweeps(0, 40, a.get(), b.get(), 12000, 0, 5, 120)
                       : collect_synced_sweeps(0, 40, a.get(), 12000, 0, 5, 120);
    EXPECT_EQ(3, n);
    EXPECT_EQ(12000, a[3].PointCount);  // untouched
    sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);
    set_read_hook(nullptr);
    send_8051_byte(COMMAND_DONE);
  }
}

// A flicker collection of no sweeps ends after its pre-flash values, the
// flash trigger never lowered.
TEST_F(Collection, FlickerCollectionOfNoSweepsLeavesTheTriggerHigh) {
  ASSERT_EQ(1, set_flash(20000, 2, 50, 0, 0));
  for (int count : {0, -1}) {
    for (bool dual : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "count " << count << " dual " << dual);
      auto a = fresh_blocks(1);
      auto b = fresh_blocks(1);
      const int n = dual ? collect_dual_synced_sweeps(10, 40, a.get(), b.get(), 12000, 0, count, 120)
                         : collect_synced_sweeps(10, 40, a.get(), 12000, 0, count, 120);
      EXPECT_EQ(0, n);
      EXPECT_EQ(10u, a[0].CollectionTime);
      EXPECT_NE(0u, hardware.get_gpio_reg(GPIO_CONVERTER_WORD) & (1u << GPIO_FLASH_TRIGGER_BIT));
      EXPECT_NE(0u, hardware.get_gpio_reg(GPIO_CONVERTER_WORD) & (1u << GPIO_ADC_SELECT_BIT));
    }
  }
  send_8051_byte(COMMAND_DONE);
}

// A sync that never comes is a lost sync with its message, except on the
// flicker collector of both channels: a collection of no sweeps, silently.
TEST_F(Collection, MissingSyncIsALostSyncButForTheDualFlicker) {
  struct Case {
    const char* name;
    int (*run)(samplesBlock*, samplesBlock*);
    int result;
    const char* message;  // null: nothing logged
    uint64_t waited_ms;
  } cases[] = {
      {"single", [](samplesBlock* a, samplesBlock*) { return collect_sweep(20, 180, a, 12000, 0, 1, 1000); },
       COLLECT_LOST_SYNC, "1) (Single) Timeout waiting for sync", 20 + 300},
      {"dual", [](samplesBlock* a, samplesBlock* b) { return collect_dual_sweeps(20, 180, a, b, 12000, 0, 1, 1000); },
       COLLECT_LOST_SYNC, "1) (dual) Timeout waiting for sync", 20 + 300},
      {"synced", [](samplesBlock* a, samplesBlock*) { return collect_synced_sweeps(0, 40, a, 12000, 0, 50, 120); },
       COLLECT_LOST_SYNC, "1) (Single) Timeout waiting for sync", 120},
      {"dual synced",
       [](samplesBlock* a, samplesBlock* b) { return collect_dual_synced_sweeps(0, 40, a, b, 12000, 0, 50, 120); },
       0, nullptr, 120},
  };
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  sim_fault_set(SIM_FAULT_STIM_NO_SYNC, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto a = fresh_blocks(1);
    auto b = fresh_blocks(1);
    const std::string before = log_text();
    const uint64_t start = now_us();
    EXPECT_EQ(c.result, c.run(a.get(), b.get()));
    EXPECT_NEAR(static_cast<double>(c.waited_ms), (now_us() - start) / 1000.0, 3.0);
    if (c.message != nullptr) {
      EXPECT_TRUE(contains(log_text().substr(before.size()), c.message));
    } else {
      EXPECT_FALSE(contains(log_text().substr(before.size()), "Timeout"));
    }
    EXPECT_NE(0u, hardware.get_gpio_reg(GPIO_CONVERTER_WORD) & (1u << GPIO_FLASH_TRIGGER_BIT));
  }
  sim_fault_clear(SIM_FAULT_STIM_NO_SYNC);
}

// Set-ups, resets and standbys one after another, with no collection to
// drain the receive FIFO between them: the converter's replies are all read
// back (the fixture's end checks that nothing overran).
TEST_F(Collection, RepeatedSetUpsLeaveNoRepliesBehind) {
  for (int i = 0; i < 6; ++i) {
    reset_adc();
    setup_adc(15000, i % 2 == 0 ? 0 : 16, 8, 0);
    standby_converters();
  }
  EXPECT_EQ(0u, hardware.get_spi_reg(5) & 0x04u) << "replies left in the receive FIFO";
}

// A sweep that fills its block to the last value is whole. Sweeps of one
// step differ by a few values with the converter's phase, so the limit
// follows the sweeps: one past it (an overrun) raises it by a value, a
// shorter one lowers it to that sweep's length, until a sweep is exactly as
// long as its limit.
TEST_F(Collection, ASweepFillingItsBlockExactlyIsWhole) {
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  auto blocks = fresh_blocks(1);
  ASSERT_EQ(1, collect_sweep(20, 180, blocks.get(), 12000, 0, 1, 300));
  int limit = blocks[0].PointCount + 1;
  bool filled = false;
  for (int attempt = 0; attempt < 40 && !filled; ++attempt) {
    const int result = collect_sweep(20, 180, blocks.get(), limit, 0, 1, 300);
    if (result == COLLECT_POST_OVERRUN) {
      ++limit;
    } else {
      ASSERT_EQ(1, result);
      filled = blocks[0].PointCount == limit - 1;
      limit = blocks[0].PointCount + 1;
    }
  }
  EXPECT_TRUE(filled) << "no sweep filled its block to the last value";
}

TEST_F(Collection, OverrunsEndTheCollection) {
  struct Case {
    const char* name;
    int result;
    int (*run)(samplesBlock*, samplesBlock*);
    const char* message;
  } cases[] = {
      {"pre", COLLECT_PRE_OVERRUN,
       [](samplesBlock* a, samplesBlock*) { return collect_sweep(20, 180, a, 200, 0, 1, 300); },
       "*** Data overrun (200) during 'pre' data collection. ***"},
      {"post", COLLECT_POST_OVERRUN,
       [](samplesBlock* a, samplesBlock*) { return collect_sweep(20, 180, a, 1000, 0, 1, 300); },
       "*** Data overrun (1000) during 'post' data collection. ***"},
      {"dual post", 0,  // no sweep
       [](samplesBlock* a, samplesBlock* b) { return collect_dual_sweeps(20, 180, a, b, 200, 0, 1, 300); },
       "*** Data overrun (200) during 'post' data collection. ***"},
      {"synced post", COLLECT_POST_OVERRUN,
       [](samplesBlock* a, samplesBlock*) { return collect_synced_sweeps(0, 180, a, 1000, 0, 1, 300); },
       "*** Data overrun (1000) during 'post' data collection. ***"},
      {"dual synced post", COLLECT_POST_OVERRUN,
       [](samplesBlock* a, samplesBlock* b) { return collect_dual_synced_sweeps(0, 180, a, b, 200, 0, 1, 300); },
       "*** Data overrun (200) during 'post' data collection. ***"},
  };
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto a = fresh_blocks(1);
    auto b = fresh_blocks(1);
    const std::string before = log_text();
    EXPECT_EQ(c.result, c.run(a.get(), b.get()));
    EXPECT_TRUE(contains(log_text().substr(before.size()), c.message));
    // The converter is released even so.
    EXPECT_NE(0u, hardware.get_gpio_reg(GPIO_CONVERTER_WORD) & (1u << GPIO_ADC_SELECT_BIT));
    unit_sleep_ms(5);  // the sync pulse over
  }
}

TEST_F(Collection, FailedReadsAreReplacedByTheMeanOfTheThreeBefore) {
  std::vector<int32_t> values = {10, 20, 31, 40, 50, 60, 70, 80, 90, 100};
  sim_adc_set_sequence(0, values.data(), static_cast<uint32_t>(values.size()));
  // Read 1 fails, then read 5, then seven reads in a row from read 20.
  set_read_hook([](int n) { return n != 1 && n != 5 && !(n >= 20 && n < 27); });
  auto blocks = fresh_blocks(1);
  samplesBlock& b = blocks[0];
  EXPECT_EQ(0, collect_sweep(5, 0, blocks.get(), 12000, 0, 1, 300));
  EXPECT_EQ(b.Data[0], b.Data[1]);  // the one value before it
  EXPECT_EQ(static_cast<int32_t>((static_cast<double>(b.Data[2]) + b.Data[3] + b.Data[4]) / 3.0), b.Data[5]);
  for (int i = 20; i < 27; ++i) {
    ASSERT_EQ(static_cast<int32_t>((static_cast<double>(b.Data[i - 3]) + b.Data[i - 2] + b.Data[i - 1]) / 3.0),
              b.Data[i]) << i;
  }
  // Nine failures: the first five times are noted.
  EXPECT_EQ(5, b.ErrorCount);
  for (int e = 1; e < 5; ++e) EXPECT_LE(b.ErrorTimes[e - 1], b.ErrorTimes[e]);
  EXPECT_LE(b.ErrorTimes[4], 5u);
}

// Failed reads opening a block have no value before them: they take the
// first good one, not a raw 0 (the full negative range). A block used again
// holds only its new collection's errors.
TEST_F(Collection, FailedReadsOpeningABlockTakeTheFirstGoodValueAndErrorsStartAfresh) {
  sim_adc_set_constant(0, 3000);
  unit_sleep_ms(1);  // conversions of the new value
  auto blocks = fresh_blocks(1);
  samplesBlock& b = blocks[0];
  set_read_hook([](int n) { return n >= 2; });
  EXPECT_EQ(0, collect_sweep(5, 0, blocks.get(), 12000, 0, 1, 300));
  EXPECT_EQ(2, b.ErrorCount);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(3000, b.Data[i]) << i;

  set_read_hook(nullptr);
  EXPECT_EQ(0, collect_sweep(5, 0, blocks.get(), 12000, 0, 1, 300));
  EXPECT_EQ(0, b.ErrorCount);
  EXPECT_EQ(0u, b.ErrorTimes[0]);
}

TEST_F(Collection, AConversionThatComesLateIsAFailedRead) {
  sim_adc_set_constant(0, 3000);
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  auto blocks = fresh_blocks(1);
  // After the flash the converter misses its next conversion by 3 ms: one
  // read gives up.
  set_read_hook([](int n) {
    if (n == 1000) sim_fault_set(SIM_FAULT_CONVERSION_LATE, 3000);
    return true;
  });
  EXPECT_EQ(1, collect_sweep(20, 100, blocks.get(), 12000, 0, 1, 300));
  const samplesBlock& b = blocks[0];
  EXPECT_EQ(1, b.ErrorCount);
  // Read 1000 is some 45 ms after the flash.
  EXPECT_NEAR(45.0, static_cast<double>(b.ErrorTimes[0]), 10.0);
  // (Value 0 is the conversion made before the source was set.)
  for (int i = 1; i <= b.PointCount; ++i) ASSERT_EQ(3000, b.Data[i]) << i;
}

TEST_F(Collection, DualFailedReadsAfterTheFlashAreNotedInBothBlocks) {
  sim_adc_set_constant(0, 300);
  sim_adc_set_constant(1, -600);
  ASSERT_EQ(1, set_flash(20000, 1, 0, 0, 0));
  auto a = fresh_blocks(1);
  auto b = fresh_blocks(1);
  int failed_at = -1;
  set_read_hook([&](int n) {
    if (n != 100) return true;
    failed_at = n;
    return false;
  });
  EXPECT_EQ(1, collect_dual_sweeps(20, 100, a.get(), b.get(), 12000, 0, 1, 300));
  ASSERT_EQ(100, failed_at);
  EXPECT_EQ(1, a[0].ErrorCount);
  EXPECT_EQ(1, b[0].ErrorCount);
  EXPECT_EQ(a[0].ErrorTimes[0], b[0].ErrorTimes[0]);
  EXPECT_EQ(300, a[0].Data[100]);
  EXPECT_EQ(-600, b[0].Data[100]);
}

TEST_F(Collection, NoTimeAtAllReadsNothing) {
  auto blocks = fresh_blocks(1);
  blocks[0].Data[0] = 1234;
  EXPECT_EQ(0, collect_sweep(0, 0, blocks.get(), 12000, 0, 1, 300));
  EXPECT_EQ(-1, blocks[0].PointCount);
  EXPECT_EQ(0u, blocks[0].Time);
  EXPECT_EQ(1.0, blocks[0].Divisor);
  EXPECT_EQ(1234, blocks[0].Data[0]);
  EXPECT_EQ(0u, flashes());
}

TEST_F(Collection, AppendContinuesAtTheLastIndexAndRefusesOneOutsideTheBlock) {
  sim_adc_set_constant(0, 5);
  auto blocks = fresh_blocks(1);
  samplesBlock& b = blocks[0];
  ASSERT_EQ(0, collect_sweep(10, 0, blocks.get(), 12000, 0, 1, 300));
  const int first = b.PointCount;
  const uint32_t first_time = b.Time;
  sim_adc_set_constant(0, 7);
  ASSERT_EQ(0, collect_sweep(10, 0, blocks.get(), 12000, 1, 1, 300));
  EXPECT_EQ(5, b.Data[first - 1]);
  EXPECT_EQ(7, b.Data[first]);
  EXPECT_NEAR(2 * first, b.PointCount, 10);
  EXPECT_NEAR(first_time + 10.0, b.Time, 1.0);

  // Nothing is read for a collection that cannot be made.
  EXPECT_EQ(COLLECT_PRE_OVERRUN, collect_sweep(10, 0, blocks.get(), 12001, 0, 1, 300));
  EXPECT_EQ(COLLECT_PRE_OVERRUN, collect_sweep(-1, 0, blocks.get(), 12000, 0, 1, 300));
  EXPECT_EQ(COLLECT_PRE_OVERRUN, collect_sweep(10, 10, blocks.get(), 12000, 0, 1, -300));
  EXPECT_EQ(7, b.Data[first]);

  for (int start : {-1, 12000, 50000}) {
    SCOPED_TRACE(start);
    b.PointCount = start;
    const std::string before = log_text();
    EXPECT_EQ(COLLECT_PRE_OVERRUN, collect_sweep(10, 0, blocks.get(), 12000, 1, 1, 300));
    EXPECT_EQ(start, b.PointCount);
    EXPECT_TRUE(contains(log_text().substr(before.size()), "outside the block"));
  }
}

TEST_F(Collection, TheConverterLockIsHeldThroughout) {
  sim_adc_set_constant(0, 1);
  std::vector<bool> free_while_reading;
  set_read_hook([&](int n) {
    if (n % 100 == 0) {
      free_while_reading.push_back(std::async(std::launch::async, [] {
        if (!converter_lock().try_lock()) return false;
        converter_lock().unlock();
        return true;
      }).get());
    }
    return true;
  });
  auto blocks = fresh_blocks(1);
  ASSERT_EQ(0, collect_sweep(10, 0, blocks.get(), 12000, 0, 1, 300));
  ASSERT_FALSE(free_while_reading.empty());
  for (bool free : free_while_reading) EXPECT_FALSE(free);
}

class Battery : public SimulatedUnit {};

TEST_F(Battery, FiveConstantReadingsGiveTheirVolts) {
  sim_adc_set_constant(2, 1000000);
  EXPECT_NEAR(0.80007, read_battery_volts(32), 0.000005);
  EXPECT_EQ(0x28u, sim_adc_register(1));
}

// The unit as it powers on carries a charged battery: above the 3.7 V of a
// good one.
TEST_F(Battery, APoweredOnUnitReadsAChargedBattery) {
  const double volts = read_battery_volts(32);
  EXPECT_GT(volts, 3.7);
  EXPECT_LT(volts, 4.3);
}

TEST_F(Battery, OptionFlagsFollowTheConverterIoRegister) {
  struct Case {
    uint32_t nibble;
    int master_parameter;
    int master, slave;
    bool sync_output_cleared;
  } cases[] = {
      {0, 1, 0, 0, true},  {2, 1, 1, 0, false}, {2, 0, 0, 1, true},
      {4, 1, 0, 0, true},  {8, 1, 0, 0, true},  {14, 1, 1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nibble * 10 + c.master_parameter);
    sim_adc_set_options(c.nibble);
    master_enabled = c.master_parameter;
    hardware.put_gpio_bit(13, 1, 1);
    read_battery_volts(32);
    EXPECT_EQ(static_cast<int>(c.nibble), board_options.load() & 0x0F);
    EXPECT_EQ((c.nibble & 8) != 0, dual_dome_fitted());
    EXPECT_EQ((c.nibble & 4) != 0, fill_in_fitted());
    EXPECT_EQ((c.nibble & 2) != 0, master_link_fitted());
    EXPECT_EQ(c.master, is_master.load());
    EXPECT_EQ(c.slave, is_slave.load());
    EXPECT_EQ(c.sync_output_cleared, (hardware.get_gpio_reg(13) & 2u) == 0);
  }
  master_enabled = 1;
}

TEST_F(Battery, AConverterThatNeverDeliversGivesUpAndSaysSo) {
  sim_fault_set(SIM_FAULT_DRDY_STUCK_HIGH, 0);
  const uint64_t start = now_us();
  EXPECT_EQ(BATTERY_NOT_READ, read_battery_volts(32));
  EXPECT_LT((now_us() - start) / 1000, 2000u);
  EXPECT_TRUE(contains(log_text(), "read_battery_volts: 50 FAILED CONVERSIONS, 0 GOOD"));
  sim_fault_clear(SIM_FAULT_DRDY_STUCK_HIGH);
}

#ifdef _WIN32
TEST(CollectionPriority, AFailedChangeIsShown) {
  engine_message_capture shown;
  EXPECT_TRUE(set_thread_priority_for("SPL1", COLLECTION_PRIORITY));
  EXPECT_TRUE(set_thread_priority_for("SPL2", WORKER_PRIORITY));
  EXPECT_FALSE(set_thread_priority_for("datacal", 256));
  ASSERT_EQ(1u, shown.messages().size());
  EXPECT_EQ(4, shown.messages()[0].first);
  EXPECT_EQ("### datacal: UNABLE TO SET THREAD PRIORITY FOR TEST ###\n[error 87]\nhandle : fffffffe",
            shown.messages()[0].second);
}
#endif

}  // namespace
