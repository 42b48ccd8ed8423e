// The C entry points of the stimulator: each takes the board's lock for the
// whole call.
#include "platform/unit/board.h"
#include "platform/unit/sim_unit.h"

using Locked = simunit::LockedBoard;

void sim_stim_write(const uint8_t* bytes, uint32_t n) {
  if (!bytes) return;
  Locked l;
  l.board.stimulator().receive(bytes, n, l.board.now_ns());
}

uint32_t sim_stim_read(uint8_t* out, uint32_t max) {
  if (!out) return 0;
  Locked l;
  return l.board.stimulator().transmit(out, max, l.board.now_ns());
}

void sim_stim_get_config(struct sim_stim_config* out) {
  if (!out) return;
  Locked l;
  *out = l.board.stimulator().config();
}

void sim_stim_set_config(const struct sim_stim_config* config) {
  if (!config) return;
  Locked l;
  l.board.stimulator().set_config(*config);
}

void sim_stim_set_table(const double* entries) {
  if (!entries) return;
  Locked l;
  l.board.stimulator().set_table(entries);
}

void sim_stim_get_table(double* out) {
  if (!out) return;
  Locked l;
  l.board.stimulator().get_table(out);
}

void sim_stim_set_clock(uint64_t filetime) {
  Locked l;
  l.board.stimulator().set_clock(filetime, l.board.now_ns());
}

void sim_stim_get_state(struct sim_stim_state* out) {
  if (!out) return;
  Locked l;
  *out = l.board.stimulator().state(l.board.now_ns());
}

uint32_t sim_stim_records(struct sim_stim_record* out, uint32_t max) {
  Locked l;
  return l.board.stimulator().records(out, max);
}

uint32_t sim_stim_received(uint8_t* out, uint32_t max) {
  Locked l;
  return l.board.stimulator().received(out, max);
}

void sim_stim_clear_logs(void) {
  Locked l;
  l.board.stimulator().clear_logs();
}

void sim_stim_send(const uint8_t* bytes, uint32_t n, uint32_t delay_us) {
  if (!bytes) return;
  Locked l;
  l.board.stimulator().send(bytes, n, l.board.now_ns() + static_cast<uint64_t>(delay_us) * 1000u);
}

void sim_stim_send_message(uint8_t id, const uint8_t* payload, uint32_t n, uint32_t delay_us) {
  Locked l;
  l.board.stimulator().send_message(id, payload, n, l.board.now_ns() + static_cast<uint64_t>(delay_us) * 1000u);
}
