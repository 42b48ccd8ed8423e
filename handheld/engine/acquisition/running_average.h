// The running average of a channel's sweeps: the record's second block, in
// raw counts, with Divisor the number of sweeps summed (0.0 when empty).
#ifndef HANDHELD_ENGINE_ACQUISITION_RUNNING_AVERAGE_H
#define HANDHELD_ENGINE_ACQUISITION_RUNNING_AVERAGE_H

#include "handheld/engine/storage/stored_records.h"

// Adds (add == 1) or removes (any other value) a sweep to or from the
// record's average, resampling it onto the average's time scale. A null sweep
// means the record's own last-sweep block. An empty average takes a copy of
// the sweep, whether adding or removing.
void add_to_average_sample(testFileRecord& record, const samplesBlock* sweep, int add);

#endif
