// The main dialog's start-up, in this order: brushes, pens, fonts and test
// records; the key log; the stimulator's port and reader; the remote-control
// line; the hardware library; the worker threads; start-up failures framed
// on the remote-control line; the converters; the stimulator's version
// request; the idle timer; the system parameters and the ini file; the
// card's room; the main menu; "-- WE'RE UP".
#ifndef HANDHELD_UI_FRAME_STARTUP_H
#define HANDHELD_UI_FRAME_STARTUP_H

#include <windows.h>

#include <string>

void start_up_main_dialog(HWND dialog);

// Writes errors between two rows of 25 asterisks on the remote-control
// line; nothing when empty.
void write_framed_errors(const std::string& errors);

#endif
