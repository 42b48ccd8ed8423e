// The calibration procedures' graphs, drawn by the graph plotter as its
// paint callbacks: each procedure's fit against its points (with the old
// and new values as texts), and the data calibration's capture.
#ifndef HANDHELD_UI_MENUS_SETUP_CALIBRATION_GRAPHS_H
#define HANDHELD_UI_MENUS_SETUP_CALIBRATION_GRAPHS_H

#include <windows.h>

void plot_flash_calibration(HDC dc);
void plot_background_calibration(HDC dc);
void plot_datapoint_acquisition(HDC dc);
void plot_data_calibration(HDC dc);
void plot_impedance_calibration(HDC dc);

// The fit's graph of a procedure (calibrationMode).
using calibrationPainter = void (*)(HDC dc);
calibrationPainter calibration_fit_painter(int mode);

#endif
