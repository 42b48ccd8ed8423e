// The electrode result pages: the impedances (dialog 147 with both channels
// fitted, else 148) and the baselines (150, else 149), filled from
// electrode_results when they open and logged; a result that was not
// measured shows "INVALID". Both close on PAGE_CLOSE.
#ifndef HANDHELD_UI_ELECTRODE_RESULTS_H
#define HANDHELD_UI_ELECTRODE_RESULTS_H

#include <windows.h>

const int IMPEDANCE_RESULTS_BOTH = 147;
const int IMPEDANCE_RESULTS_ONE = 148;
const int BASELINE_RESULTS_ONE = 149;
const int BASELINE_RESULTS_BOTH = 150;

INT_PTR CALLBACK impedanceResultProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK baselineResultProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
