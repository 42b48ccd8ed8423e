// The main ("intro") window's own procedure, which belongs to the desktop
// analysis windows subsystem: it turns its buttons and menu items into
// commands and accepts dropped files. The library registers the "intro"
// class with it.
//
// STAND-IN: standin_intro_window.cpp routes the main window's messages like
// any other window's until that subsystem replaces it.
#ifndef ANALYSIS_INTRO_SERVICES_H
#define ANALYSIS_INTRO_SERVICES_H

#include <windows.h>

LRESULT CALLBACK intro_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

#endif
