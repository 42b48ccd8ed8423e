// The recording channels as the operator chooses them: the label of the
// selection on the graph, and the nine-step selection cycle of the
// "Channel" key.
#ifndef HANDHELD_UI_STATUS_CHANNEL_CYCLE_H
#define HANDHELD_UI_STATUS_CHANNEL_CYCLE_H

// The label of the channel selection and eye codes ("" with neither
// channel on).
const wchar_t* channel_label();
// Writes it on the graph's row -2, column 0, colour 5.
void show_channel_label();
// One step of the cycle: both channels (no eyes), A OD with B OS, A OS
// with B OD, A alone without an eye, OD, OS, B alone likewise, then back.
void next_channel_selection();

#endif
