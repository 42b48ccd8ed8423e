// The library's global initialisation and the registration of every window
// class of the program, each with the routing window procedure that hands
// messages to the window object found in the window tree (window_tree.h).
#ifndef DESKTOP_WINLIB_WINDOWS_WINDOW_CLASSES_H
#define DESKTOP_WINLIB_WINDOWS_WINDOW_CLASSES_H

#include <windows.h>

// When the initialisation ran (local time) and the working folder then.
extern SYSTEMTIME program_start_time;
extern char working_directory[MAX_PATH];

// The program's icons, by resource identifier.
constexpr int icon_count = 5;
constexpr int first_icon_id = 8003;
extern HICON program_icons[icon_count];
// The loaded icon of a resource identifier (8003 to 8007), or null.
HICON program_icon(int id);

// Background index that stands for no colour brush: the class gets the
// system-colour value 1.
constexpr int system_background = 21;

// Run once by the program's entry before any window is made: the start time,
// the common controls, the brushes and pens, the screen scale record, the
// working folder, the standard fonts, the icons, then every window class.
// program_instance is taken from the module when the entry has not set it.
// The main window's class "intro" gets the program's own main window
// procedure; a program without a main window (a test of the library) leaves
// it to the routing procedure.
LRESULT CALLBACK route_window_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void register_window_classes(WNDPROC main_window_procedure = route_window_message);

// Registers one class (arrow cursor and the like through cursor, no menu, no
// small icon). A class that cannot be registered is reported with
// "*** Unable to create window class [%s]. ***"; the program goes on.
bool register_window_class(WNDPROC procedure, const char* class_name, HICON icon, LPCSTR cursor,
                           int background, UINT style);

// The background brush of a registered class. A class background of 1 to 31
// names a system colour (its index plus one) and gives that colour's system
// brush. Null, with "*** GetClassInfoEx failed ***\n%s", for a class that is
// not registered.
HBRUSH class_background_brush(const char* class_name);

// The routing procedure of every class but the main window's:
//   WM_DESTROY: 0;
//   no object for the handle (not yet bound, or gone): DefWindowProcA;
//   WM_CLOSE: the object is deleted (with its window and everything beneath
//   it), 0;
//   any other message: the object's handle_message. Errors raised while it
//   paints are logged, not shown (quiet_reports.h).
LRESULT CALLBACK route_window_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

#endif
