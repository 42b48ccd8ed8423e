// The program's entry and its main (frame) window: the window class
// "VANDU", the window that builds the main dialog (resource 104) when it is
// created, the message loop and the steps after it.
#ifndef HANDHELD_UI_FRAME_MAIN_WINDOW_H
#define HANDHELD_UI_FRAME_MAIN_WINDOW_H

#include <windows.h>

#include <atomic>

extern HINSTANCE instance;
extern HWND main_window;
// 1 ends the message loop.
extern std::atomic<unsigned char> quit_flag;
// GetTickCount when the main dialog started up.
extern DWORD start_ticks;

// The unit's screen: the main window's client area.
const int SCREEN_WIDTH = 240;
const int SCREEN_HEIGHT = 320;

// String table entries.
const UINT STRING_TITLE = 1;
const UINT STRING_DESCRIPTION = 2;
const UINT STRING_CLASS = 3;
const int MAIN_ICON = 101;
const int MAIN_DIALOG_RESOURCE = 104;

ATOM register_main_window_class(HINSTANCE instance, const wchar_t* className);
// Registers the class and creates the window (a 240 x 320 client area);
// 1, or 0 when the window cannot be created.
int init_instance(HINSTANCE instance, int showCommand);
LRESULT CALLBACK mainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// One message as the loop routes it: a WM_TIMER to the timer handler,
// whatever window it is for; else to the top page dialog, then to the main
// dialog; else translated and dispatched.
void route_message(MSG& message);

// The loop: until quit_flag is set. Returns the last message's wParam.
WPARAM run_message_loop();

// After the loop: the unit's power hold released (GPIO word 12 bit 2),
// 100 ms, then 'X' to the stimulator.
void exit_sequence();

// The whole program: window, loop, exit sequence. The wParam of the last
// message, or 0 when the window could not be created.
int vandu_main(HINSTANCE instance, int showCommand);

#endif
