#include "desktop/winlib/windows/window_classes.h"

#include <commctrl.h>

#include <cstdint>

#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/winlib/windows/window_object.h"

SYSTEMTIME program_start_time{};
char working_directory[MAX_PATH] = {};
HICON program_icons[icon_count] = {};

namespace {

// The largest class background value taken for a system colour: the
// highest system colour index (COLOR_MENUBAR, 30) plus one. Brush handles
// are far larger.
constexpr uintptr_t last_system_background = 31;

struct classEntry {
  const char* name;
  WNDPROC procedure;  // null: the program's main window procedure
  int icon;
  int background;
  UINT style;
};

constexpr UINT redraw = CS_HREDRAW | CS_VREDRAW;

const classEntry class_table[] = {
    {"timerWindow", route_window_message, 8003, system_background, 0},
    {"thumbnailClass", route_window_message, 8003, system_background, CS_NOCLOSE},
    {"thumbstate", route_window_message, 8003, system_background, CS_NOCLOSE},
    {"session", route_window_message, 8006, system_background, redraw},
    {"measgraph", route_window_message, 8004, 7, redraw},
    {"fft", route_window_message, 8004, 9, redraw},
    {"ifft", route_window_message, 8004, 3, redraw},
    {"ops", route_window_message, 8004, 7, redraw},
    {"database", route_window_message, 8003, system_background, redraw},
    {"summary", route_window_message, 8003, system_background, redraw},
    {"comparisonPanel", route_window_message, 8005, 7, redraw},
    {"comparisonPanelx", route_window_message, 8005, 7, redraw | CS_NOCLOSE},
    {"general", route_window_message, 8003, system_background, 0},
    {"generalNOCLOSE", route_window_message, 8003, system_background, CS_NOCLOSE},
    {"infoPanel", route_window_message, 8003, system_background, 0},
    {"plotAttributes", route_window_message, 8004, system_background, CS_NOCLOSE},
    {"intro", nullptr, 8003, system_background, 0},
    {"samples_window", route_window_message, 8007, system_background, 0},
    {"sample_window", route_window_message, 8006, 3, 0},
    {"dandd_window", route_window_message, 8004, 3, CS_NOCLOSE},
};

void load_icons() {
  for (int i = 0; i < icon_count; ++i) {
    int id = first_icon_id + i;
    int size = id == first_icon_id ? GetSystemMetrics(SM_CXSMICON) : 0;
    UINT flags = id == first_icon_id ? 0 : LR_DEFAULTSIZE;
    program_icons[i] = static_cast<HICON>(
        LoadImageA(program_instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, flags));
  }
}

void screen_scale() {
  HDC dc = GetDC(nullptr);
  screen_paper.set_from_device(dc);
  if (dc) ReleaseDC(nullptr, dc);
}

void working_folder() {
  DWORD n = GetCurrentDirectoryA(MAX_PATH, working_directory);
  if (n == 0 || n >= MAX_PATH) working_directory[0] = 0;
}

bool is_paint_message(UINT message) { return message == WM_PAINT || message == WM_ERASEBKGND; }

}  // namespace

HICON program_icon(int id) {
  int i = id - first_icon_id;
  return i >= 0 && i < icon_count ? program_icons[i] : nullptr;
}

void register_window_classes(WNDPROC main_window_procedure) {
  if (!program_instance) program_instance = GetModuleHandleA(nullptr);
  GetLocalTime(&program_start_time);
  InitCommonControls();
  make_palette();
  screen_scale();
  working_folder();
  make_standard_fonts(screen_paper);
  load_icons();
  for (const classEntry& c : class_table) {
    register_window_class(c.procedure ? c.procedure : main_window_procedure, c.name, program_icon(c.icon), IDC_ARROW, c.background, c.style);
  }
}

bool register_window_class(WNDPROC procedure, const char* class_name, HICON icon, LPCSTR cursor, int background,
                           UINT style) {
  HBRUSH brush = reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(1));
  if (background != system_background) {
    HBRUSH colour = table_brush(background);
    if (colour) brush = colour;
  }
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = program_instance;
  wc.hIcon = icon;
  wc.hCursor = LoadCursorA(nullptr, cursor);
  wc.hbrBackground = brush;
  wc.lpszClassName = class_name;
  if (!RegisterClassExA(&wc)) {
    infomessage("*** Unable to create window class [%s]. ***", class_name ? class_name : "");
    return false;
  }
  return true;
}

HBRUSH class_background_brush(const char* class_name) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExA(program_instance, class_name, &wc)) {
    errormessage("*** GetClassInfoEx failed ***\n%s", last_error_text(0));
    return nullptr;
  }
  uintptr_t value = reinterpret_cast<uintptr_t>(wc.hbrBackground);
  if (value >= 1 && value <= last_system_background) return GetSysColorBrush(static_cast<int>(value - 1));
  return wc.hbrBackground;
}

LRESULT CALLBACK route_window_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) return 0;
  winTypeClass* object = find_window_object(window);
  if (!object) return DefWindowProcA(window, message, wparam, lparam);
  if (message == WM_CLOSE) {
    delete object;
    return 0;
  }
  if (is_paint_message(message)) {
    quietReportScope quiet;
    return object->handle_message(message, wparam, lparam);
  }
  return object->handle_message(message, wparam, lparam);
}
