// The desktop program's entry: the instance, the library's start-up, the
// start-up file of the command line, the main window and the message loop;
// the window openers are filled before the first window.
#include <windows.h>

#include "desktop/windows/main/intro_window.h"
#include "desktop/windows/openers/register_openers.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int) {
  register_all_openers();
  return static_cast<int>(run_tolmaro(instance, command_line));
}
