// For pictures of a window test's screen: with ERG_PICTURE_PAUSE_MS set, a
// test that calls picture_pause keeps its windows alive (dispatching their
// messages) that many milliseconds, while a picture is taken from outside
// (import -window root). Without it, nothing happens.
#ifndef DESKTOP_WINLIB_TESTS_PICTURE_PAUSE_H
#define DESKTOP_WINLIB_TESTS_PICTURE_PAUSE_H

#include <windows.h>

void picture_pause();
// The same with the window raised to the top of the display first.
void picture_pause(HWND window);

#endif
