// The program's timers, all on the main window. The message loop hands
// every WM_TIMER to timer_handler; tests call it directly.
#ifndef HANDHELD_UI_FRAME_TIMERS_H
#define HANDHELD_UI_FRAME_TIMERS_H

#include <windows.h>

#include <atomic>

const UINT_PTR TIMER_IDLE = 100;      // every minute: idle minutes against [SHUTDOWN]
const UINT_PTR TIMER_WARNING = 101;   // 10 s after the shutdown warning
const UINT_PTR TIMER_MESSAGE = 103;   // a stimulator message that takes too long
const UINT_PTR TIMER_STATUS = 104;    // every second: the status page

const UINT IDLE_PERIOD_MS = 60000;
const UINT WARNING_PERIOD_MS = 10000;
const UINT STATUS_PERIOD_MS = 1000;

// Minutes without a soft key or a byte from the stimulator.
extern std::atomic<int> idle_minutes;
// Refreshes of the status page since the battery line was last rewritten.
extern std::atomic<int> status_ticks;
// Cleared when the status page opens; the first refresh draws it whole.
extern std::atomic<bool> status_page_drawn;

// Starts (or restarts) a timer on the main window and keeps its id; false
// when it cannot be started.
bool start_timer(UINT_PTR id, UINT periodMs);
void kill_timer(UINT_PTR id);
// The kept id of a timer (0 when it is not running).
bool timer_running(UINT_PTR id);

void timer_handler(UINT_PTR id);

// Every timer stopped and the counts back to 0.
void reset_timers();

#endif
