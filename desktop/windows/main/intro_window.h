// The desktop program's main window ("intro"): two logos, a menu bar and a
// row of big push buttons. It opens session panels (from the PC, a special
// session file, a dropped test or the command line, and in the build with
// the device link from the docked unit), the program font and the manual,
// and asks before it closes the program while other windows are open.
//
// The build with the device link and the build without it differ only in
// what device_link_built() says: the title suffix "V"
// (program_title_suffix()), the "Open Session From Unit" item and the
// " UNIT SESSION " button.
#ifndef DESKTOP_WINDOWS_MAIN_INTRO_WINDOW_H
#define DESKTOP_WINDOWS_MAIN_INTRO_WINDOW_H

#include <windows.h>

#include <memory>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/drawing/r_bitmap.h"
#include "desktop/winlib/windows/window_object.h"

class comparisonPanelClass;
class sessionPanelClass;

// Resources of the main window's logos.
constexpr int framed_logo_id = 8001;
constexpr int banner_logo_id = 8002;

// Commands of the main window: menu items and what the buttons map to.
namespace intro_command {
constexpr UINT file_menu = 1000;
constexpr UINT session_from_pc = 1100;
constexpr UINT session_from_unit = 1200;
constexpr UINT test_locator = 1300;
constexpr UINT special_session = 1400;
constexpr UINT exit = 1500;
constexpr UINT edit_menu = 2000;
constexpr UINT change_font = 2100;
constexpr UINT comparison_graph = 2200;
constexpr UINT help_menu = 3000;
constexpr UINT user_manual = 3100;
}  // namespace intro_command

// The start-up file from the command line ("" for none), opened as a session
// when the main window is made.
extern byteObjectClass start_up_path;
// The main window, for the windows that post it commands; null before it is
// made and after it is gone.
extern HWND main_window_handle;

class introWindowClass : public winTypeClass {
 public:
  // Makes and shows the main window, then opens the start-up file's session.
  // When the window cannot be made the reason is shown in a box captioned
  // "window" and the object has no window (hwnd() null): the caller deletes
  // it.
  introWindowClass();
  // Clears the run flag; the window goes with the base.
  ~introWindowClass() override;

  // Lays out and draws the logos and the button row.
  void draw(HDC dc, const paper& scale) override;

  // Reads the "PROGRAM_FONT" setting into the program font record.
  void load_program_font();
  // Asks for a special session file and opens it; false when none was
  // chosen.
  bool open_special_session(const char* title);

  // The window's own procedure: the commands of its menus and buttons,
  // dropped files, the closing question and its paint.
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);

  buttonClass* pc_button() const { return pc_button_; }
  buttonClass* unit_button() const { return unit_button_; }
  buttonClass* locator_button() const { return locator_button_; }
  bool layout_done() const { return layout_done_ != 0; }
  // The most recently opened comparison graph of the main window that is
  // still open, or null.
  comparisonPanelClass* latest_comparison_graph() const;

 private:
  void build_menu();
  void make_buttons();
  void place_window();
  // The command a WM_COMMAND stands for.
  UINT command_of(WPARAM wparam, LPARAM lparam) const;
  // 0 when handled, 1 for a cancelled font dialog, -1 for a command that is
  // not the main window's.
  int run_command(UINT command);
  int change_font();
  void open_manual();
  void drop_files(HDROP drop);
  // A dropped text trace into the latest comparison graph (a new one named
  // after the file when none is open); false when the file gave no trace.
  bool drop_trace_text(const char* path);
  void close_program();

  HMENU menu_ = nullptr;
  std::unique_ptr<rBitmapClass> logo_a_;
  std::unique_ptr<rBitmapClass> logo_b_;
  buttonClass* pc_button_ = nullptr;
  buttonClass* locator_button_ = nullptr;
  buttonClass* unit_button_ = nullptr;
  // The comparison graphs opened here (for drops); not owned, looked up in
  // the window tree before use.
  std::vector<comparisonPanelClass*> comparison_graphs_;
  int32_t first_layout_count_ = 0;
  uint8_t layout_done_ = 0;
};

// A new session panel, kept only when it came up well: a panel without a
// window is deleted, one whose status is not good is closed. Null then.
sessionPanelClass* open_session_panel(int mode, const char* path, int several_files);

LRESULT CALLBACK intro_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Writes the settings that name files and folders to the debug log, each
// line led by tag.
void log_path_settings(const char* tag);

// The main window for a command line, then the message loop until the run
// flag drops (waiting while no message is there); the last message's
// wParam. A main window that cannot be made ends the program after its
// message.
WPARAM run_main_window(const char* command_line);

// The program: the library's start-up, the start-up file of the command
// line, the main window, then the message loop until the run flag drops
// (waiting while no message is there). Returns the last message's wParam.
WPARAM run_tolmaro(HINSTANCE instance, const char* command_line);

#endif
