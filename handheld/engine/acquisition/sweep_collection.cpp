#include "handheld/engine/acquisition/sweep_collection.h"

#include <stdint.h>

#include <mutex>

#include "handheld/engine/hardware/board_options.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/hardware/sync_input.h"
#include "platform/ce/unit_clock.h"

namespace {

const uint32_t READ_OK = 3;
const int MAX_ERROR_TIMES = 5;
const uint32_t FIRST_SYNC_TIMEOUT_MS = 300;

// One collection: its blocks (b null on one channel) and how the flash is
// synchronised.
struct collection {
  samplesBlock* a;
  samplesBlock* b;
  bool synced;          // every sweep waits for a sync of the flicker train
  bool check_capacity;  // collect_sweep's note of an over-full append
  const char* name;     // "Single" or "dual", in the lost-sync message
};

void select_adc(bool selected) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_ADC_SELECT_BIT, selected ? 0 : 1);
}

void set_flash_trigger(bool high) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_FLASH_TRIGGER_BIT, high ? 1 : 0);
}

// Waits while the sync input idles high; true when it went low in time.
bool wait_for_sync(uint32_t timeout_ms) {
  return hardware.wait_while_gpio_bit(SYNC_INPUT.word, SYNC_INPUT.bit, SYNC_INPUT.mask(),
                                      timeout_ms) == 1;
}

// The last bytes out, then the converter deselected.
void release_converter() {
  hardware.wait_till_xmit_fifo_empty();
  select_adc(false);
}

uint32_t elapsed_since(uint32_t start) { return unit_tick_ms() - start; }

void note_read_error(samplesBlock& block, uint32_t elapsed_ms) {
  if (block.ErrorCount < 0) block.ErrorCount = 0;
  if (block.ErrorCount >= MAX_ERROR_TIMES) return;
  block.ErrorTimes[block.ErrorCount] = elapsed_ms;
  ++block.ErrorCount;
}

// A block's errors start afresh with each collection into it: the blocks
// are used again test after test.
void clear_errors(samplesBlock& block) {
  block.ErrorCount = 0;
  for (int e = 0; e < MAX_ERROR_TIMES; ++e) block.ErrorTimes[e] = 0;
}

// Value i after a failed conversion: the truncated mean of the three values
// before it (of the one or two there are near the block's start).
void replace_failed_value(samplesBlock& block, int i) {
  if (i > 2) {
    block.Data[i] = static_cast<int32_t>(
        (static_cast<double>(block.Data[i - 3]) + block.Data[i - 2] + block.Data[i - 1]) *
        (1.0 / 3.0));
  } else if (i > 0) {
    double sum = 0.0;
    for (int j = 0; j < i; ++j) sum += block.Data[j];
    block.Data[i] = static_cast<int32_t>(sum / i);
  } else {
    block.Data[i] = 0;
  }
}

// One conversion into value i of block k (of both channels' blocks k).
bool read_value(const collection& c, int k, int i) {
  if (c.b == nullptr) return hardware.get_1255_data(&c.a[k].Data[i]) == READ_OK;
  return hardware.get_dual_data(&c.a[k].Data[i], &c.b[k].Data[i]) == READ_OK;
}

void replace_values(const collection& c, int k, int i) {
  replace_failed_value(c.a[k], i);
  if (c.b != nullptr) replace_failed_value(c.b[k], i);
}

// The start of a block: failed conversions that open it have no value
// before them to stand in from, and take the first good one that follows
// (a raw 0 would be a spike of the full negative range in the sweep).
struct blockOpening {
  bool good_seen;
  int failed;
};

// Value i of block k: one conversion, or its stand-in; false when it failed.
bool take_value(const collection& c, int k, int i, blockOpening& opening) {
  if (read_value(c, k, i)) {
    if (!opening.good_seen) {
      for (int j = i - opening.failed; j < i; ++j) {
        c.a[k].Data[j] = c.a[k].Data[i];
        if (c.b != nullptr) c.b[k].Data[j] = c.b[k].Data[i];
      }
      opening = {true, 0};
    }
    return true;
  }
  if (opening.good_seen) {
    replace_values(c, k, i);
  } else {
    c.a[k].Data[i] = 0;
    if (c.b != nullptr) c.b[k].Data[i] = 0;
    ++opening.failed;
  }
  return false;
}

// Calls f on block k of each channel.
template <class F>
void each_block(const collection& c, int k, F f) {
  f(c.a[k]);
  if (c.b != nullptr) f(c.b[k]);
}

// Every block of B carries the header of its block of A: the errors and
// their times, the last index, the total and the pre-flash time.
void copy_header_to_b(const collection& c, int k) {
  if (c.b == nullptr) return;
  const samplesBlock& a = c.a[k];
  samplesBlock& b = c.b[k];
  b.ErrorCount = a.ErrorCount;
  for (int e = 0; e < MAX_ERROR_TIMES; ++e) b.ErrorTimes[e] = a.ErrorTimes[e];
  b.PointCount = a.PointCount;
  b.Time = a.Time;
  b.CollectionTime = a.CollectionTime;
}

int collect(const collection& c, int pre_ms, int post_ms, int max_points, int append_flag,
            int sweep_count, int timeout_ms) {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());

  if (max_points < 1 || max_points > kSamplesPerBlock || pre_ms < 0 || post_ms < 0 || timeout_ms < 0) {
    log_mesg("*** sweep collection refused: pre %d post %d max_points %d timeout %d ***", pre_ms, post_ms,
             max_points, timeout_ms);
    return COLLECT_PRE_OVERRUN;
  }
  int i = append_flag == 1 ? c.a[0].PointCount : 0;
  if (i < 0 || i >= kSamplesPerBlock) {
    log_mesg("*** sweep collection refused: append start %d outside the block ***", i);
    return COLLECT_PRE_OVERRUN;
  }

  // An appended capture continues the values already in block 0.
  blockOpening opening{append_flag == 1 && i > 0, 0};
  if (append_flag != 1) each_block(c, 0, clear_errors);

  select_adc(true);
  if (c.check_capacity && i + max_points > kSamplesPerBlock) {
    log_mesg("*** impedance, sample buffer overflow: x %d datasize %d ***", i, max_points);
    log_mesg("*** pre %d post %d data %8.8lx append_flag %d sample_count %d ***", pre_ms, post_ms,
             static_cast<unsigned long>(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(c.a))),
             append_flag, sweep_count);
  }

  // Before the flash: values into the first block.
  const uint32_t t0 = unit_tick_ms();
  if (pre_ms != 0) {
    while (elapsed_since(t0) < static_cast<uint32_t>(pre_ms)) {
      // An overrun is a value with no room left: a block filled to its
      // last value is a whole sweep.
      if (i > max_points - 1) {
        log_mesg("*** Data overrun (%d) during 'pre' data collection. ***", max_points);
        release_converter();
        return COLLECT_PRE_OVERRUN;
      }
      if (!take_value(c, 0, i, opening)) note_read_error(c.a[0], elapsed_since(t0));
      ++i;
    }
  }

  if (post_ms == 0) {
    const uint32_t elapsed = elapsed_since(t0);
    each_block(c, 0, [&](samplesBlock& block) {
      block.Time = append_flag == 1 ? block.Time + elapsed : elapsed;
      block.Divisor = 1.0;
      block.PointCount = i - 1;
    });
    release_converter();
    return 0;
  }

  const uint32_t pre_elapsed = elapsed_since(t0);
  each_block(c, 0, [&](samplesBlock& block) { block.CollectionTime = pre_elapsed; });

  // A flicker collection of no sweeps ends here, its trigger never lowered.
  if (c.synced && sweep_count < 1) {
    release_converter();
    return 0;
  }

  // The flash.
  set_flash_trigger(false);
  if (!c.synced) {
    if (sweep_count == 1 && !wait_for_sync(FIRST_SYNC_TIMEOUT_MS)) {
      release_converter();
      log_mesg("1) (%s) Timeout waiting for sync", c.name);
      set_flash_trigger(true);
      return COLLECT_LOST_SYNC;
    }
    set_flash_trigger(true);
  }

  int completed = 0;
  for (int k = 0; k < sweep_count; ++k) {
    // A later block starts at the flash: no pre-flash time of its own.
    if (k > 0) {
      each_block(c, k, [](samplesBlock& block) {
        block.CollectionTime = 0;
        clear_errors(block);
      });
      opening = {false, 0};
    }
    each_block(c, k, [](samplesBlock& block) { block.Time = block.CollectionTime; });

    const bool wait = c.synced || sweep_count - k > 1;
    if (wait && !wait_for_sync(static_cast<uint32_t>(timeout_ms))) {
      release_converter();
      set_flash_trigger(true);
      // One channel's flicker train that never started is a lost sync; on
      // both channels it is a collection of no sweeps.
      if (c.synced && completed == 0 && c.b == nullptr) {
        log_mesg("1) (%s) Timeout waiting for sync", c.name);
        return COLLECT_LOST_SYNC;
      }
      return completed;
    }
    if (c.synced) set_flash_trigger(true);

    const uint32_t t1 = unit_tick_ms();
    while (elapsed_since(t1) < static_cast<uint32_t>(post_ms)) {
      if (i > max_points - 1) {
        log_mesg("*** Data overrun (%d) during 'post' data collection. ***", max_points);
        release_converter();
        // The flash-synchronised collection on both channels counts it as
        // no sweep.
        return c.b != nullptr && !c.synced ? 0 : COLLECT_POST_OVERRUN;
      }
      if (!take_value(c, k, i, opening)) {
        const uint32_t elapsed = elapsed_since(t1);
        each_block(c, k, [&](samplesBlock& block) { note_read_error(block, elapsed); });
      }
      ++i;
    }
    const uint32_t post_elapsed = elapsed_since(t1);
    each_block(c, k, [&](samplesBlock& block) {
      block.PointCount = i - 1;
      block.Time += post_elapsed;
      block.Divisor = 1.0;
    });
    copy_header_to_b(c, k);
    ++completed;
    i = 0;
  }

  release_converter();
  return completed;
}

}  // namespace

int collect_sweep(int pre_ms, int post_ms, samplesBlock* blocks, int max_points, int append_flag,
                  int sweep_count, int timeout_ms) {
  if (blocks == nullptr) return COLLECT_PRE_OVERRUN;
  return collect({blocks, nullptr, false, true, "Single"}, pre_ms, post_ms, max_points,
                 append_flag, sweep_count, timeout_ms);
}

int collect_dual_sweeps(int pre_ms, int post_ms, samplesBlock* blocks_a, samplesBlock* blocks_b,
                        int max_points, int append_flag, int sweep_count, int timeout_ms) {
  if (blocks_a == nullptr || blocks_b == nullptr) return COLLECT_PRE_OVERRUN;
  return collect({blocks_a, blocks_b, false, false, "dual"}, pre_ms, post_ms, max_points,
                 append_flag, sweep_count, timeout_ms);
}

int collect_synced_sweeps(int pre_ms, int post_ms, samplesBlock* blocks, int max_points,
                          int append_flag, int sweep_count, int timeout_ms) {
  if (blocks == nullptr) return COLLECT_PRE_OVERRUN;
  return collect({blocks, nullptr, true, false, "Single"}, pre_ms, post_ms, max_points,
                 append_flag, sweep_count, timeout_ms);
}

int collect_dual_synced_sweeps(int pre_ms, int post_ms, samplesBlock* blocks_a,
                               samplesBlock* blocks_b, int max_points, int append_flag,
                               int sweep_count, int timeout_ms) {
  if (blocks_a == nullptr || blocks_b == nullptr) return COLLECT_PRE_OVERRUN;
  return collect({blocks_a, blocks_b, true, false, "dual"}, pre_ms, post_ms, max_points,
                 append_flag, sweep_count, timeout_ms);
}

double read_battery_volts(int input) {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  setup_adc(15000, input, 8, 0);
  select_adc(true);

  const int options = static_cast<int>(hardware.get_1255_reg(4) & 0xFF);
  board_options = options;
  const bool link = (options & BOARD_MASTER_LINK) != 0;
  const bool master = link && master_enabled.load() != 0;
  is_master = master ? 1 : 0;
  is_slave = link && !master ? 1 : 0;
  if (!master) hardware.put_gpio_bit(13, 1, 0);

  double sum = 0.0;
  int good = 0;
  int failed = 0;
  while (good < 5 && failed < BATTERY_FAILED_READ_LIMIT) {
    int32_t value = 0;
    if (hardware.get_1255_data(&value) == READ_OK) {
      sum += value;
      ++good;
    } else {
      ++failed;
    }
  }
  release_converter();
  if (good < 5) {
    log_error_line("### read_battery_volts: %d FAILED CONVERSIONS, %d GOOD ###", failed, good);
    return BATTERY_NOT_READ;
  }
  return sum * 1.6001462936401368e-7;
}
