// The electrode measurements' screen on the graph plotter: the
// stabilisation's window means, quality marks and limits, the impedance
// sinewave's captures and levels, the baseline's average, and their texts.
// Drawn only while a graph is open; without one the measurements run
// without drawing.
#ifndef HANDHELD_UI_PLOTTER_ELECTRODE_GRAPH_H
#define HANDHELD_UI_PLOTTER_ELECTRODE_GRAPH_H

// Installs it (false: the measurements draw nothing).
void install_electrode_graph(bool install);

#endif
