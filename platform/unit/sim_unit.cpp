// The C entry points: each takes the board's lock for the whole call.
#include "platform/unit/sim_unit.h"

#include <memory>
#include <utility>
#include <vector>

#include "platform/unit/board.h"

using Locked = simunit::LockedBoard;

void* sim_map_block(uint64_t physical_address, uint32_t bytes) {
  Locked l;
  return l.board.map_block(physical_address, bytes);
}

uint32_t sim_reg_read(void* block, uint32_t word) {
  Locked l;
  return l.board.reg_read(block, word);
}

void sim_reg_write(void* block, uint32_t word, uint32_t value) {
  Locked l;
  l.board.reg_write(block, word, value);
}

uint32_t sim_tick_ms(void) {
  Locked l;
  return l.board.tick_ms();
}

uint64_t sim_now_ns(void) {
  Locked l;
  return l.board.now_ns();
}

void sim_advance_ns(uint64_t ns) {
  Locked l;
  l.board.advance(ns);
}

void sim_reset(void) {
  Locked l;
  l.board.reset();
}

void sim_set_platform(int older) {
  Locked l;
  l.board.set_platform(older != 0);
}

void sim_gpio_set_input(uint32_t word, uint32_t bit, int level) {
  Locked l;
  l.board.set_gpio_input(word, bit, level != 0);
}

void sim_adc_set_constant(uint32_t input, int32_t value) {
  Locked l;
  l.board.adc().set_source(input, std::make_unique<simunit::ConstantSource>(value));
}

void sim_adc_set_sequence(uint32_t input, const int32_t* values, uint32_t count) {
  if (!values || count == 0) return;  // nothing to play: the input keeps its source
  std::vector<int32_t> copy(values, values + count);
  Locked l;
  l.board.adc().set_source(input, std::make_unique<simunit::SequenceSource>(std::move(copy)));
}

void sim_adc_set_options(uint32_t nibble) {
  Locked l;
  l.board.adc().set_options(nibble);
}

uint32_t sim_adc_register(uint32_t reg) {
  Locked l;
  return l.board.adc().stored_register(reg);
}

int sim_adc_continuous(void) {
  Locked l;
  return l.board.adc().continuous() ? 1 : 0;
}

int sim_adc_standby(void) {
  Locked l;
  return l.board.adc().standby() ? 1 : 0;
}

uint32_t sim_adc_rate(void) {
  Locked l;
  return l.board.adc().rate_sps();
}

uint32_t sim_adc_self_calibrations(void) {
  Locked l;
  return l.board.adc().self_calibrations();
}

uint32_t sim_adc_resets(void) {
  Locked l;
  return l.board.adc().resets();
}

uint32_t sim_dac_output(uint32_t channel) {
  Locked l;
  return l.board.dac().output(channel);
}

uint32_t sim_dac_control(void) {
  Locked l;
  return l.board.dac().control();
}

uint32_t sim_dac_writes(void) {
  Locked l;
  return l.board.dac().writes();
}

void sim_fault_set(int fault, int64_t param) {
  Locked l;
  l.board.set_fault(fault, param);
}

void sim_fault_clear(int fault) {
  Locked l;
  l.board.clear_fault(fault);
}

void sim_get_counters(struct sim_counters* out) {
  if (!out) return;
  Locked l;
  *out = l.board.counters();
}

uint32_t sim_bus_log(struct sim_bus_byte* out, uint32_t max) {
  Locked l;
  return l.board.bus_log(out, max);
}

void sim_bus_log_clear(void) {
  Locked l;
  l.board.clear_bus_log();
}

uint32_t sim_map_log(uint64_t* out, uint32_t max) {
  Locked l;
  return l.board.map_log(out, max);
}
