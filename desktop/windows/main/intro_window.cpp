#include "desktop/windows/main/intro_window.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/windows/device_link/device_link.h"
#include "desktop/winlib/drawing/drawing.h"
#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/windows/main/intro_rules.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "platform/modal/modal_ui.h"
#include "desktop/winlib/files/path_names.h"
#include "desktop/data/program_version.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/locator/locator_window.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/windows/trace_text/trace_text_dialogs.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_tree.h"

byteObjectClass start_up_path;
HWND main_window_handle = nullptr;

namespace {

// A point that centres a window of this many pixels on the screen.
POINT centred(int width, int height) {
  return POINT{(GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2};
}

// A logo's stored size in millimetres; 0 for one that did not load (its
// failure was reported when it was loaded).
double logo_width(rBitmapClass* logo, const paper& scale) {
  return logo && logo->valid() ? logo->base_width() / scale.x_px_per_mm : 0.0;
}
double logo_height(rBitmapClass* logo, const paper& scale) {
  return logo && logo->valid() ? logo->base_height() / scale.y_px_per_mm : 0.0;
}

}  // namespace

sessionPanelClass* open_session_panel(int mode, const char* path, int several_files) {
  sessionPanelClass* panel = new sessionPanelClass(mode, path, several_files);
  if (!panel->hwnd()) {
    delete panel;
    return nullptr;
  }
  if (panel->status() != 1) {
    SendMessageA(panel->hwnd(), WM_CLOSE, 0, 0);
    return nullptr;
  }
  return panel;
}

introWindowClass::introWindowClass() : winTypeClass(nullptr, window_type::main_window) {
  char title[64];
  std::snprintf(title, sizeof title, " TOLMARO %5.3lf%s", program_version, program_title_suffix());
  const int width = screen_paper.scale_x(15.0);
  const int height = screen_paper.scale_y(150.0);
  const POINT at = centred(width, height);
  HWND window = CreateWindowExA(0, "intro", title, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, at.x, at.y, width,
                                height, nullptr, nullptr, instance, nullptr);
  if (!window) {
    char text[message_text_limit + 1];
    std::snprintf(text, sizeof text, "intro window creation failed\n%s", last_error_text(0));
    show_message_box(text, "window", box_ok);
    return;
  }
  set_hwnd(window);
  main_window_handle = window;
  build_menu();
  logo_a_ = std::make_unique<rBitmapClass>(instance, framed_logo_id);
  logo_b_ = std::make_unique<rBitmapClass>(instance, banner_logo_id);
  make_buttons();
  load_program_font();
  place_window();
  if (start_up_path.text()[0] != '\0') open_session_panel(session_mode_pc, start_up_path.text(), 0);
}

introWindowClass::~introWindowClass() {
  delete pc_button_;
  delete locator_button_;
  delete unit_button_;
  program_running = 0;
  comparison_graphs_.clear();
  if (main_window_handle == hwnd()) main_window_handle = nullptr;
}

void introWindowClass::build_menu() {
  menu_ = CreateMenu();
  append_menu_item(menu_, intro_command::file_menu, "File");
  append_menu_item(menu_, intro_command::edit_menu, "Edit");
  append_menu_item(menu_, intro_command::help_menu, "Help");

  HMENU file = attach_popup_menu(menu_, intro_command::file_menu);
  append_menu_item(file, intro_command::session_from_pc, "Open Session From PC");
  if (device_link_built()) append_menu_item(file, intro_command::session_from_unit, "Open Session From Unit");
  append_menu_item(file, intro_command::test_locator, "Open Test Locator Panel");
  append_menu_item(file, intro_command::special_session, "Open a special session");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  append_menu_item(file, intro_command::exit, "Exit");

  HMENU edit = attach_popup_menu(menu_, intro_command::edit_menu);
  append_menu_item(edit, intro_command::change_font, "Change Font");
  append_menu_item(edit, intro_command::comparison_graph, "Open Comparison Graph");

  HMENU help = attach_popup_menu(menu_, intro_command::help_menu);
  append_menu_item(help, intro_command::user_manual, "Open User Manual");

  SetMenu(hwnd(), menu_);
}

void introWindowClass::make_buttons() {
  const double y = screen_paper.mm_y(screen_paper.scale_y(150.0) - 10);
  pc_button_ = new buttonClass(hwnd(), button_font(), 5.0, y, 15.0, 7.0, screen_paper, " PC SESSION ", BS_PUSHBUTTON);
  if (device_link_built()) {
    unit_button_ =
        new buttonClass(hwnd(), button_font(), 25.0, y, 15.0, 7.0, screen_paper, " UNIT SESSION ", BS_PUSHBUTTON);
  }
  locator_button_ = new buttonClass(hwnd(), button_font(), logo_width(logo_a_.get(), screen_paper) - 25.0, y, 15.0,
                                    7.0, screen_paper, " TEST LOCATOR ", BS_PUSHBUTTON);
}

void introWindowClass::place_window() {
  const int width = screen_paper.scale_x(20.0) + (logo_a_->valid() ? logo_a_->base_width() : 0);
  const int height = screen_paper.scale_y(locator_button_->bottom() + 4.0);
  const POINT at = centred(width, height);
  SetWindowPos(hwnd(), nullptr, at.x, at.y, width, height, SWP_SHOWWINDOW | SWP_NOZORDER);
  DragAcceptFiles(hwnd(), TRUE);
  show();
}

void introWindowClass::load_program_font() {
  const char* text = get_program_setting("PROGRAM_FONT", true);
  if (text[0] != '\0' && parse_program_font(text, &program_logfont)) program_font_chosen = 1;
}

bool introWindowClass::open_special_session(const char* title) {
  // Quiet: a cancelled dialog does nothing.
  char path[MAX_PATH] = {};
  byteObjectClass folder(get_program_setting("special_session_folder", true));
  if (!file_name_dialog(hwnd(), title, folder.text(), "Special Session Files (*.s_f)\0*.s_f\0All Files\0*.*\0\0",
                        "s_f", path, sizeof path, false, true, 0)) {
    return false;
  }
  open_session_panel(session_mode_pc, path, 1);
  return true;
}

void introWindowClass::draw(HDC dc, const paper& scale) {
  layout_done_ = 0;
  WINDOWINFO info{};
  info.cbSize = sizeof info;
  if (!GetWindowInfo(hwnd(), &info)) {
    errormessage("*** GetWindowInfo FAILED ***\n*** %s ***", last_error_text(0));
    return;
  }
  const double cx = (info.rcClient.right - info.rcWindow.left) / 2.0 / scale.x_px_per_mm;
  const double wa = logo_width(logo_a_.get(), scale);
  const double ha = logo_height(logo_a_.get(), scale);
  const double wb = logo_width(logo_b_.get(), scale);
  const double hb = logo_height(logo_b_.get(), scale);

  if (logo_b_->valid()) logo_b_->display_scaled(dc, cx - wb / 2.0, 2.0, wb, hb, scale);
  draw_rectangle_scaled(dc, scale, cx - wa / 2.0 - 5.0, hb + 4.0, cx + wa / 2.0 + 5.0, hb + ha + 14.0, 5, 5);
  if (logo_a_->valid()) logo_a_->display_scaled(dc, cx - wa / 2.0, hb + 9.0, wa, ha, scale);

  const double row_y = hb + ha + 18.0;
  double next_x = pc_button_->right() + 2.0;
  if (unit_button_) {
    unit_button_->place(next_x, row_y, scale);
    next_x = unit_button_->right() + 2.0;
  }
  locator_button_->place(next_x, row_y, scale);

  if (first_layout_count_ != 0) return;
  ++first_layout_count_;
  const double row_width = unit_button_
                               ? pc_button_->width() + unit_button_->width() + locator_button_->width() + 4.0
                               : pc_button_->width() + locator_button_->width() + 2.0;
  const introLayout layout = first_layout(wa, wb, row_width);
  resize(layout.width, locator_button_->bottom() + 17.0, screen_paper);
  pc_button_->place(layout.centred ? layout.width / 2.0 - row_width / 2.0 : 2.0, row_y, scale);
  layout_done_ = 1;
}

UINT introWindowClass::command_of(WPARAM wparam, LPARAM lparam) const {
  HWND control = reinterpret_cast<HWND>(lparam);
  if (control) {
    if (pc_button_ && control == pc_button_->hwnd()) return intro_command::session_from_pc;
    if (locator_button_ && control == locator_button_->hwnd()) return intro_command::test_locator;
    if (unit_button_ && control == unit_button_->hwnd()) return intro_command::session_from_unit;
  }
  if (wparam == new_pc_session_request) return intro_command::session_from_pc;
  return LOWORD(wparam);
}

int introWindowClass::run_command(UINT command) {
  switch (command) {
    case intro_command::session_from_pc:
      open_session_panel(session_mode_pc, nullptr, 0);
      return 0;
    case intro_command::session_from_unit:
      if (!device_link_built()) return -1;
      open_session_panel(session_mode_unit, nullptr, 0);
      return 0;
    case intro_command::test_locator:
      new testLocatorPanelClass(100, 10);
      return 0;
    case intro_command::comparison_graph:
      comparison_graphs_.push_back(new comparisonPanelClass(nullptr, "GLOBAL", 1));
      return 0;
    case intro_command::special_session:
      open_special_session("Select a special session to load");
      return 0;
    case intro_command::exit:
      post_message(WM_CLOSE, 0, 0);
      return 0;
    case intro_command::change_font:
      return change_font();
    case intro_command::user_manual:
      open_manual();
      return 0;
    default:
      return -1;
  }
}

int introWindowClass::change_font() {
  program_logfont.lfWidth = 0;
  if (!choose_font(program_logfont, true, nullptr)) return 1;
  // The font it replaces stays: windows made earlier still draw with it.
  HFONT font = CreateFontIndirectA(&program_logfont);
  if (font) {
    program_font = font;
  } else {
    errormessage("*** CreateFontIndirect FAILED [%s] ***", program_logfont.lfFaceName);
  }
  save_program_font(program_logfont);
  return 0;
}

void introWindowClass::open_manual() {
  byteObjectClass folder(get_registry_value(HKEY_LOCAL_MACHINE, settings_maker, settings_program, "InstallPath", true));
  char path[2 * MAX_PATH];
  std::snprintf(path, sizeof path, "%s\\TOLMAROusersManual.pdf", folder.text());
  HINSTANCE result = ShellExecuteA(nullptr, "open", path, nullptr, "", SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(result) <= 32) {
    errormessage("*** ShellExecute FAILED ***\n[%s]\n%s", path, last_error_text(0));
  }
}

void introWindowClass::drop_files(HDROP drop) {
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  const int several = count > 1 ? 1 : 0;
  sessionPanelClass* panel = nullptr;
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH];
    if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
    byteObjectClass extension;
    file_extension(path, extension);
    switch (classify_drop(extension.text())) {
      case dropKind::trace_text:
        if (!drop_trace_text(path)) {
          DragFinish(drop);
          return;
        }
        continue;
      case dropKind::state_file:
        infomessage("*** CANNOT PROCESS A STATE FILE IN THIS WAY *** ***");
        continue;
      case dropKind::sample_file:
        infomessage("*** CANNOT PROCESS A SAMPLE FILE IN THIS WAY ***");
        continue;
      case dropKind::unknown:
        infomessage("UNKNOWN EXTENSION [%s]", extension.text());
        continue;
      case dropKind::session:
        break;
    }
    // A panel closed while a message of this drop was up is gone.
    if (panel && !find_window_node(panel)) panel = nullptr;
    if (!panel) {
      panel = open_session_panel(session_mode_pc, path, several);
      if (!panel) break;
      continue;
    }
    panel->add_files(session_mode_pc, path, several);
    if (panel->status() != 1) {
      SendMessageA(panel->hwnd(), WM_CLOSE, 0, 0);
      break;
    }
  }
  DragFinish(drop);
}

comparisonPanelClass* introWindowClass::latest_comparison_graph() const {
  for (auto graph = comparison_graphs_.rbegin(); graph != comparison_graphs_.rend(); ++graph) {
    const windowNode* node = find_window_node(*graph);
    if (node && node->object == *graph) return *graph;
  }
  return nullptr;
}

bool introWindowClass::drop_trace_text(const char* path) {
  std::unique_ptr<traceClass> trace(load_trace_text_file(path, false));
  if (!trace) return false;
  comparisonPanelClass* graph = latest_comparison_graph();
  if (!graph) {
    byteObjectClass name;
    file_base_name(path, name);
    graph = new comparisonPanelClass(nullptr, name.text(), 1);
    comparison_graphs_.push_back(graph);
  }
  graph->add_trace_copy(trace.get(), nullptr);
  return true;
}

void introWindowClass::close_program() {
  if (count_window_nodes() > 3 && yesnomessage("Yes or No", "Close all TOLMARO windows and exit?") != answer_yes) {
    return;
  }
  // The windows' data is saved as they go; what fails is shown once they
  // are all gone.
  heldReportsScope held;
  delete this;
  windowNode& root = window_tree_root();
  while (root.next) delete_window_node(root.next, 1);
}

LRESULT introWindowClass::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      quietReportScope quiet;  // as every window's paint: errors are logged
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      paper scale;
      scale.set_from_window(hwnd());
      draw(dc, scale);
      // The first paint moved the buttons and sized the window: paint again.
      if (layout_done_) InvalidateRect(hwnd(), nullptr, TRUE);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_CLOSE:
      close_program();  // may delete this object
      return 0;
    case WM_COMMAND: {
      const int result = run_command(command_of(wparam, lparam));
      if (result >= 0) return result;
      break;
    }
    case WM_DROPFILES:
      drop_files(reinterpret_cast<HDROP>(wparam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd(), message, wparam, lparam);
}

LRESULT CALLBACK intro_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) return 0;
  introWindowClass* object = dynamic_cast<introWindowClass*>(find_window_object(window));
  if (!object) return DefWindowProcA(window, message, wparam, lparam);
  return object->handle(message, wparam, lparam);
}

void log_path_settings(const char* tag) {
  if (!tag) tag = "";
  log_message("%s: START PATH INFORMATION ^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^^", tag);
  log_message("%s: last_database_file     = [%s]", tag, get_program_setting("last_database_file", true));
  log_message("%s: test_locator_directory = [%s]", tag, get_program_setting("test_locator_directory", true));
  log_message("%s: last_session_file      = [%s]", tag, get_program_setting("last_session_file", true));
  log_message("%s: last_XY_file           = [%s]", tag, get_program_setting("last_XY_file", true));
  log_message("%s: last_text_file_path    = [%s]", tag, get_program_setting("last_text_file_path", true));
  log_message("%s: g_install_directory        = [%s]", tag,
              get_registry_value(HKEY_LOCAL_MACHINE, settings_maker, settings_program, "InstallPath", true));
  log_message("%s: g_working_directory        = [%s]", tag, working_directory);
  log_message("%s: END   PATH INFORMATION vvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvvv", tag);
}

namespace {

// With ERG_END_WHEN_PAINTED set (a benchmark's switch), the program says
// "painted" on its standard output and ends at once, without closing its
// windows, the first time no message is waiting: a window with anything
// left to paint still has its paint message waiting then, so every window
// opened at start, a session's thumbnails with it, has been painted. Set to
// "close", it then closes the main window instead, every question answered
// yes, and ends as the program always ends (a benchmark times that).
int say_yes(HWND, const char*, const char*, UINT) { return IDYES; }
int say_yes_wide(HWND, const wchar_t*, const wchar_t*, UINT) { return IDYES; }

void end_when_painted() {
  static const char* wanted = std::getenv("ERG_END_WHEN_PAINTED");
  if (!wanted) return;
  std::fputs("painted\n", stdout);
  std::fflush(stdout);
  if (std::strcmp(wanted, "close") != 0) ExitProcess(0);
  wanted = nullptr;
  modal_ui_calls yes = modal_ui();
  yes.message_box_a = say_yes;
  yes.message_box_w = say_yes_wide;
  modal_ui_install(yes);
  if (main_window_handle) SendMessageA(main_window_handle, WM_CLOSE, 0, 0);
}

// The message loop: runs while the run flag is 1 and waits while no message
// is waiting.
WPARAM run_message_loop() {
  MSG message{};
  while (program_running == 1) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    } else {
      end_when_painted();
      WaitMessage();
    }
  }
  return message.wParam;
}

}  // namespace

WPARAM run_main_window(const char* command_line) {
  start_up_path.set(start_up_file(command_line).c_str());
  introWindowClass* window = new introWindowClass;
  // A main window that could not be made has shown why; without it the
  // program ends (its destructor clears the run flag).
  if (!window->hwnd()) delete window;
  const WPARAM last = run_message_loop();
  log_message("TOLMARO %6.3lf END", program_version);
  return last;
}

WPARAM run_tolmaro(HINSTANCE instance, const char* command_line) {
  program_instance = instance;
  register_window_classes(intro_window_procedure);
  return run_main_window(command_line);
}
