// The electrode check window: over the graph template (dialog 127), one
// panel per channel in use with the noise and the eye and reference
// impedances, four lamps (baseline, noise, eye, reference; each in the
// colour of its status) and a baseline meter with its tolerance funnel,
// and a status line " Running " or " Paused  ". The electrode monitor
// publishes its values and tells the window (ELECTRODE_VALUES_READY); the
// window shows what changed and wakes the monitor for its next pass. In automatic mode
// four all-good updates in a row end the check (the fourth soft key).
#ifndef HANDHELD_UI_MENUS_SETUP_ELECTRODE_WINDOW_H
#define HANDHELD_UI_MENUS_SETUP_ELECTRODE_WINDOW_H

#include <windows.h>

#include <atomic>
#include <string>

// Flags shared with the monitor's menu.
struct electrodeCheckFlags {
  std::atomic<int> running{0};    // 1 running, 0 paused
  std::atomic<int> automatic{0};  // the check ends itself
  std::atomic<int> impedance{0};  // impedance measured too
  std::atomic<int> open{0};       // the window shows
};
extern electrodeCheckFlags electrode_check;

INT_PTR CALLBACK electrodeWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The open window (0 when none).
HWND electrode_window();

// ELECTRODE_VALUES_READY: takes over the published values; paints the whole window.
void update_electrode_window();
void paint_electrode_window(HDC dc);

// Logs the check ("ELECTRODES"), keeps each channel's noise check for
// report_electrode_noise and shows the ending label.
void end_electrode_check();

// An impedance or baseline run's end (ELECTRODE_MODE_...): each measured
// channel's noise check is the noise its stabilisation read; a channel that
// did not settle for its noise raises the noise failure, any other failed
// measurement the electrode failure, and both leave no noise check.
void note_electrode_measurement(int mode);

// After a test: 0 when both channels' noise checks have a value; otherwise
// the failure shown (noisy channel, or electrodes to check) and 1.
int report_electrode_noise();
// No check yet (a new run of the program).
void forget_electrode_checks();
// The checks report_electrode_noise reads, as the last check left them.
double electrode_noise_check(int channel);
bool electrode_noise_failed();
bool electrode_check_failed();

// The meter's geometry: the funnel's half-heights at the right (R) and left
// (L) ends, and the line's offset of a value in pixels.
int funnel_right_half();
int funnel_left_half();
int meter_offset(double microvolts);

// The window's texts: a panel's value label ("noise", "eye", "ref") and the
// status label.
std::wstring electrode_window_text(int channel, const char* label);
std::wstring electrode_status_text();
// The auto-finish count of the open window.
int electrode_auto_finish_count();

#endif
