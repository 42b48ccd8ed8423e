// The result graph: a channel's recorded test on the plotter, at the end of
// a protocol and on the result pages.
#ifndef HANDHELD_UI_PLOTTER_RESULT_GRAPH_H
#define HANDHELD_UI_PLOTTER_RESULT_GRAPH_H

#include "handheld/engine/storage/stored_records.h"

// The current channel's record and its two blocks, by the three flags.
void show_result_channels(bool last_sweep, bool average, bool record_texts);
// Draws the result: axes scaled to the average (else the last sweep), the
// last sweep in red under the average in blue, the record's texts, and
// "END OF PROTOCOL" when no protocol runs. Nothing when all three are
// absent.
void show_test_result(const testFileRecord* record, const samplesBlock* average, const samplesBlock* last_sweep);

// The current channel's data calibration (scale, offset).
void channel_data_calibration(double& scale, double& offset);

#endif
