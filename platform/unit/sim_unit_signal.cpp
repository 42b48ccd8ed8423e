// The C entry points of the eye and its electrodes.
#include "platform/unit/board.h"
#include "platform/unit/signal_source.h"
#include "platform/unit/sim_unit.h"

using Locked = simunit::LockedBoard;

void sim_signal_defaults(uint32_t input, struct sim_signal* out) {
  if (out) *out = simunit::default_signal(input);
}

void sim_signal_set(uint32_t input, const struct sim_signal* signal) {
  if (!signal || input >= simunit::Adc::kInputs) return;
  Locked l;
  l.board.set_signal(input, *signal);
}

void sim_electrode_set(uint32_t channel, uint32_t electrode, const struct sim_electrode* e) {
  if (!e) return;
  Locked l;
  l.board.set_electrode(channel, electrode, *e);
}
