#include "platform/unit/tests/board_lines.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t kTriggerBit = 1u << 2;
}

void stim_write(std::initializer_list<uint8_t> bytes) {
  std::vector<uint8_t> b(bytes);
  sim_stim_write(b.data(), static_cast<uint32_t>(b.size()));
}

void arm_single_flash(uint32_t d) {
  // The count that stands for a period of 0.
  uint32_t count = static_cast<uint32_t>(1560 - static_cast<int32_t>(d)) & 0xFFFF;
  stim_write({'f', uint8_t(d >> 8), uint8_t(d), 1, 1, uint8_t(count >> 8), uint8_t(count)});
}

void arm_flicker(uint32_t d, uint32_t p, uint32_t count, uint8_t flashes) {
  stim_write({'f', uint8_t(d >> 8), uint8_t(d), flashes, uint8_t(p), uint8_t(count >> 8), uint8_t(count)});
}

void set_flash_trigger(SimBus& bus, bool high) {
  uint32_t word = sim_reg_read(bus.gpio, 1);
  sim_reg_write(bus.gpio, 1, high ? word | kTriggerBit : word & ~kTriggerBit);
}

bool sync_high(SimBus& bus) { return (sim_reg_read(bus.gpio, 8) & 0x20u) != 0; }

std::vector<uint64_t> sync_falls(SimBus& bus, uint64_t until_ns, uint64_t step_ns) {
  std::vector<uint64_t> falls;
  bool was_high = sync_high(bus);
  while (sim_now_ns() < until_ns) {
    sim_advance_ns(step_ns);
    bool high = sync_high(bus);
    if (was_high && !high) falls.push_back(sim_now_ns());
    was_high = high;
  }
  return falls;
}

std::vector<uint64_t> flash_times(uint64_t until_ns) {
  std::vector<uint64_t> times;
  sim_stim_state s = {};
  sim_stim_get_state(&s);
  uint32_t seen = s.flashes;
  while (sim_now_ns() < until_ns) {
    // Flashes come at least 1 ms apart here.
    sim_advance_ns(100000);
    sim_stim_get_state(&s);
    if (s.flashes != seen) times.push_back(s.last_flash_ns);
    seen = s.flashes;
  }
  return times;
}

void set_flash_drive(SimBus& bus, uint32_t output1, uint32_t output3) {
  bus.select(Select::Dac);
  for (uint32_t word : {(1u << 12) | output1, (3u << 12) | output3}) {
    bus.xfer(static_cast<uint8_t>(word >> 8));
    bus.xfer(static_cast<uint8_t>(word));
  }
  bus.select(Select::None);
}

void start_conversions(SimBus& bus, uint32_t input) {
  // A fresh selection ends what was under way; SDATAC leaves continuous mode.
  bus.select(Select::None);
  bus.select(Select::Adc);
  bus.command(0x0F);
  bus.wreg(3, {0xE0});
  bus.wreg(1, {static_cast<uint8_t>((input << 4) | 0x08)});
  EXPECT_TRUE(bus.wait_data_ready(true, 3000000));
  bus.command(0x03);
}

std::vector<Sample> read_samples(SimBus& bus, size_t count) {
  std::vector<Sample> out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (!bus.wait_data_ready(true, 1000000)) {
      ADD_FAILURE() << "no conversion at sample " << i;
      break;
    }
    uint64_t at = sim_now_ns();
    out.push_back({at, bus.continuous_sample()});
    sim_advance_ns(50000);  // of the 66.7 us to the next conversion
  }
  return out;
}

double microvolts(int32_t raw) { return raw * 0.00045 - 1930.0; }
