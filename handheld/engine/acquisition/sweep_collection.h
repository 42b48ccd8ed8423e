// Sweep collection: converter values read as fast as the converter delivers
// them for a pre-flash time, then the flash (or the stimulator's own flicker
// flashes), then for a post-flash time, into samplesBlock records; on one
// recording channel or on both at once. The battery reading, which also
// reads the board's option flags, uses the same converter.
//
// The blocks argument is an array of consecutive blocks: sweep k (from 0)
// goes into block k. Only the first block holds pre-flash values; every
// later block starts at the flash. Header words written (32-bit words from
// the start of the block):
//   0-1  divisor 1.0
//   2    read errors noted (0..5); 3-7 their elapsed milliseconds
//   9    index of the last value stored (values stored - 1)
//   10   total milliseconds of the block (its pre-flash time + post-flash time)
//   11   the block's pre-flash milliseconds (0 for a block that starts at the
//        flash)
// A failed conversion stores the truncated mean of the three values before
// it (0 among the first three values of a phase) and notes the time.
//
// The caller sets the converter up first (setup_adc) and runs the collection
// at the highest thread priority. Each collector holds the converter lock
// from its first step to its return, and leaves both the converter
// deselected and the flash trigger high.
//
// Results:
//   >= 0  sweeps collected
//   -1    the flash's sync never came (single sweep, or the first sync of a
//         flicker train)
//   -2    more than max_points values before the flash, or a collection
//         refused (max_points outside 1..12000, a negative time, an append
//         start outside the block)
//   -3    more than max_points values after the flash (collect_dual_sweeps:
//         0, no sweep)
#ifndef HANDHELD_ENGINE_ACQUISITION_SWEEP_COLLECTION_H
#define HANDHELD_ENGINE_ACQUISITION_SWEEP_COLLECTION_H

#include "handheld/engine/storage/stored_records.h"

const int COLLECT_LOST_SYNC = -1;
const int COLLECT_PRE_OVERRUN = -2;
const int COLLECT_POST_OVERRUN = -3;

// Flash-synchronised: the unit triggers the flash (the flash trigger goes
// low, then high). With sweep_count 1 it waits at most 300 ms for the sync;
// with more sweeps, every sweep but the last waits at most timeout_ms for a
// sync and a missing one ends the collection with the sweeps completed.
// With append_flag 1 the values continue at word 9 of the first block (an
// index outside 0..11999 is refused).
int collect_sweep(int pre_ms, int post_ms, samplesBlock* blocks, int max_points, int append_flag,
                  int sweep_count, int timeout_ms);
// Both channels: input 0 into blocks_a, input 1 into blocks_b; every block
// of B carries the header of its block of A.
int collect_dual_sweeps(int pre_ms, int post_ms, samplesBlock* blocks_a, samplesBlock* blocks_b,
                        int max_points, int append_flag, int sweep_count, int timeout_ms);

// Flicker-synchronised: the flash trigger goes low once, and every sweep
// starts at a sync from the stimulator, waited for at most timeout_ms. A
// missing sync ends the collection with the sweeps completed; when there
// were none, collect_synced_sweeps logs the time-out and gives -1, and
// collect_dual_synced_sweeps gives 0 without a message.
int collect_synced_sweeps(int pre_ms, int post_ms, samplesBlock* blocks, int max_points,
                          int append_flag, int sweep_count, int timeout_ms);
int collect_dual_synced_sweeps(int pre_ms, int post_ms, samplesBlock* blocks_a,
                               samplesBlock* blocks_b, int max_points, int append_flag,
                               int sweep_count, int timeout_ms);

// The battery's volts on a converter input (setup_adc's positive input
// nibble, e.g. 32 for input 2): the sum of five good conversions x
// 1.6001462936401368e-7. Reads the board's option flags on the way
// (board_options.h) and clears the synchronisation output (GPIO word 13
// bit 1) unless the unit is master. When the converter fails
// BATTERY_FAILED_READ_LIMIT conversions before it has given five good ones,
// the reading gives up: the failure is logged and the result is
// BATTERY_NOT_READ.
const int BATTERY_FAILED_READ_LIMIT = 50;
const double BATTERY_NOT_READ = -1.11111e308;
double read_battery_volts(int input);

#endif
