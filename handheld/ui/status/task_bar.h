// The shell's task bar, hidden on the newer platform once the clock is
// known, so that the unit's screen is the program's alone.
#ifndef HANDHELD_UI_STATUS_TASK_BAR_H
#define HANDHELD_UI_STATUS_TASK_BAR_H

// Looks for the task bar window ("HHTaskBar") up to three times, 200 ms
// apart, closes it and hides the cursor; when it is not found, writes "***
// TASKBAR HANDLE IS NULL ***\r\n" on the remote-control line and hides the
// cursor. Once found it is left alone.
void hide_task_bar();

#endif
