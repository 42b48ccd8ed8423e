#include "desktop/windows/locator/locator_window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/controls/captions.h"
#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/panels/directory_panel.h"
#include "desktop/winlib/controls/control.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/files/kv_bridge.h"
#include "desktop/winlib/controls/list_controls.h"
#include "desktop/data/locator/locator_criteria.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/panels/pseudo_dialog.h"
#include "desktop/data/record_fields.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/data/test_file_reading.h"
#include "desktop/data/test_state.h"
#include "desktop/winlib/values/text_object.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_helpers.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

// Layout measures in millimetres.
constexpr double margin = 2.0;
constexpr double list_button_width = 40.0;
constexpr double list_button_height = 6.0;
constexpr double find_button_width = 30.0;
constexpr double find_button_height = 6.0;
constexpr double preview_default_width = 128.0;
constexpr double preview_default_height = 36.0;
constexpr int list_chars = 30;
constexpr int list_rows = 14;
constexpr int criteria_text_size = 256;
constexpr int patient_text_size = 33;

// Reports a file the search skips. The report must not stop the search: the
// scanner reads the error counter as its stop signal, so the count this
// report added is taken back (a cancel made meanwhile stays).
void report_skipped_file(const char* text) {
  const uint32_t before = error_count();
  errormessage("%s", text);
  if (error_count() > before) set_error_count(error_count() - 1);
}

// Moves and sizes a control's window to its box.
void fit_window(controlClass* control, const paper& scale) {
  if (control->hwnd() == nullptr) return;
  MoveWindow(control->hwnd(), scale.px_x(control->x()), scale.px_y(control->y()), scale.scale_x(control->width()),
             scale.scale_y(control->height()), TRUE);
}

std::string read_edit(editLabelClass* edit, int size) {
  std::vector<char> text(static_cast<size_t>(size), '\0');
  edit->get_text(text.data(), size);
  return text.data();
}

}  // namespace

foundTest::foundTest() : record(new testFileRecord()) { std::memset(&find_data, 0, sizeof find_data); }

foundTest::~foundTest() = default;

std::string foundTest::path() const { return std::string(folder) + find_data.cFileName; }

void locator_found_file(directorySearchOwner* owner, const WIN32_FIND_DATAA* found, const char* folder) {
  static_cast<testLocatorPanelClass*>(owner)->on_file(found, folder);
}

testLocatorPanelClass::testLocatorPanelClass(int x, int y)
    : directorySearchOwner(nullptr, locator_window_type), controls_(new controlListClass()) {
  HWND window = CreateWindowExA(0, "database", "TEST FILE RETRIEVAL", WS_OVERLAPPEDWINDOW, x, y, 900, 700, nullptr,
                                nullptr, program_instance, nullptr);
  if (window == nullptr) {
    errormessage(" *** database window creation failed ***");
    return;
  }
  set_hwnd(window);
  background_ = class_background_brush("database");
  build_menu();
  build_controls();
  const char* root = get_program_setting(locator_root_setting, true);
  scanner_ = new getDirectoryClass(this, "Test Files", "TST", root != nullptr ? root : "");
  layout();
  ShowWindow(window, SW_SHOWNORMAL);
  invalidate();
}

testLocatorPanelClass::~testLocatorPanelClass() {
  clear_list();
  controls_.reset();
  count_.reset();
  // The scanner, the chooser and a progress panel are window objects
  // beneath this one: delete them when they are still there.
  for (winTypeClass* child : {static_cast<winTypeClass*>(scanner_), static_cast<winTypeClass*>(chooser_),
                              static_cast<winTypeClass*>(panel_)}) {
    if (child != nullptr && find_window_node(child) != nullptr) delete child;
  }
}

bool testLocatorPanelClass::alive() const { return find_window_node(this) != nullptr; }

void testLocatorPanelClass::build_menu() {
  menu_ = CreateMenu();
  append_menu_item(menu_, locator_select_menu, "Select");
  HMENU select = attach_popup_menu(menu_, locator_select_menu);
  append_menu_item(select, locator_new_directory, "New Test Directory");
  SetMenu(hwnd(), menu_);
}

void testLocatorPanelClass::build_controls() {
  HWND window = hwnd();
  paper scale;
  scale.set_from_window(window);
  found_group_ = new groupBoxClass(window, 0, 0, 10, 10, scale, "Tests Found");
  controls_->add(found_group_);
  list_ = new listBoxClass(window, program_font, 0, 0, list_chars, list_rows, scale, "TESTS", 0);
  controls_->add(list_);
  count_.reset(new textObjectClass());
  count_->init(window, program_font, "  0", 1, 0, 0, scale);
  remove_button_ = new buttonClass(window, program_font, 0, 0, list_button_width, list_button_height, scale,
                                   "Remove from List", BS_PUSHBUTTON);
  controls_->add(remove_button_);
  session_button_ = new buttonClass(window, program_font, 0, 0, list_button_width, list_button_height, scale,
                                    "List -> Session", BS_PUSHBUTTON);
  controls_->add(session_button_);
  preview_group_ = new groupBoxClass(window, 0, 0, 10, 10, scale, "");
  controls_->add(preview_group_);
  criteria_group_ = new groupBoxClass(window, 0, 0, 10, 10, scale, "Search Criteria");
  controls_->add(criteria_group_);
  auto make_edit = [&](const char* label, int chars) {
    auto* edit = new editLabelClass(window, program_font, 0, 0, scale, label, program_font, label_left, chars,
                                    ES_AUTOHSCROLL, edit_left);
    textObjectClass* text = edit->label();
    text->set_opaque();
    text->set_background_color(GetSysColor(COLOR_INFOBK));
    text->set_text_color(colour_table[5]);
    controls_->add(edit);
    return edit;
  };
  test_id_edit_ = make_edit("Test ID : ", 10);
  patient_edit_ = make_edit("patient number : ", 3);
  eye_edit_ = make_edit("OD/OS : ", 5);
  user_id_edit_ = make_edit("User ID : ", 64);
  find_button_ = new buttonClass(window, program_font, 0, 0, find_button_width, find_button_height, scale,
                                 "Find TESTS.", BS_PUSHBUTTON);
  controls_->add(find_button_);
  subfolder_box_ = new checkBoxClass(window, program_font, 0, 0, scale, "Search Subdirectories.", 1);
  controls_->add(subfolder_box_);
  subfolder_box_->check();
  show_list_buttons(false);
}

void testLocatorPanelClass::layout() {
  if (hwnd() == nullptr) return;
  paper scale;
  scale.set_from_window(hwnd());
  HDC dc = GetDC(hwnd());
  const double list_x = margin + 3.0, list_y = margin + 6.0;
  list_->place(list_x, list_y, scale);
  count_->measure(dc, scale);
  count_->move_to(list_x, list_->y() + list_->window_height() + 1.5);
  // The buttons one above the other, right of the count, so that the
  // criteria keep room for their widest field beside the list.
  const double buttons_y = list_->y() + list_->window_height() + 1.0;
  const double buttons_x = list_x + 12.0;
  remove_button_->place(buttons_x, buttons_y, scale);
  session_button_->place(buttons_x, remove_button_->bottom() + 1.0, scale);
  const double found_right = std::max(list_->right(), session_button_->right()) + 3.0;
  found_group_->place(margin, margin, scale);
  found_group_->set_size(found_right - margin, session_button_->bottom() + 2.0 - margin);
  fit_window(found_group_, scale);

  preview_left_ = margin;
  preview_top_ = found_group_->bottom() + margin;
  preview_group_->place(preview_left_, preview_top_, scale);
  preview_group_->set_size(preview_width_, preview_height_);
  fit_window(preview_group_, scale);

  // The criteria: the fields in one column right of their labels.
  editLabelClass* edits[] = {test_id_edit_, patient_edit_, eye_edit_, user_id_edit_};
  double widest_label = 0.0;
  for (editLabelClass* edit : edits) {
    edit->label()->measure(dc, scale);
    widest_label = std::max(widest_label, edit->label()->width());
  }
  const double criteria_x = found_group_->right() + 2.0 * margin;
  const double field_x = criteria_x + 3.0 + widest_label;
  double y = margin + 7.0;
  double right = field_x;
  for (editLabelClass* edit : edits) {
    edit->place(field_x, y, scale);
    edit->measure(dc, scale);
    right = std::max(right, edit->right());
    y = edit->get_bottom() + margin;
  }
  criteria_group_->place(criteria_x, margin, scale);
  criteria_group_->set_size(right + 3.0 - criteria_x, y + 1.0 - margin);
  fit_window(criteria_group_, scale);
  find_button_->place(criteria_x, criteria_group_->bottom() + margin, scale);
  subfolder_box_->place(find_button_->right() + 2.0 * margin, find_button_->y(), scale);
  ReleaseDC(hwnd(), dc);

  thumbnailClass* shown = live(preview_);
  if (shown != nullptr) {
    SetWindowPos(shown->hwnd(), nullptr, scale.px_x(preview_left_ + 1.0), scale.px_y(preview_top_ + 3.0), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void testLocatorPanelClass::draw(HDC dc, const paper& scale) {
  const char* root = get_program_setting(locator_root_setting, true);
  if (root != nullptr && title_root_ != root) {
    title_root_ = root;
    set_title(("Test Locator: tests@[" + title_root_ + "]").c_str());
  }
  controls_->rescale(dc, scale);
  count_->paint(dc, scale);
  thumbnailClass* shown = live(preview_);
  if (shown != nullptr) {
    SetWindowPos(shown->hwnd(), nullptr, scale.px_x(preview_left_ + 1.0), scale.px_y(preview_top_ + 3.0), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(shown->hwnd(), nullptr, TRUE);
  }
}

intptr_t testLocatorPanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      paper scale;
      scale.set_from_window(hwnd());
      draw(dc, scale);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_COMMAND:
      // The command may close the locator: nothing of it is touched after.
      command(reinterpret_cast<HWND>(lparam), HIWORD(wparam), LOWORD(wparam));
      return 0;
    case WM_USER:
      chooser_notice(wparam);
      return 0;
    case WM_CTLCOLORSTATIC:
      // The check box stands on the window's own background.
      if (background_ != nullptr && reinterpret_cast<HWND>(lparam) == subfolder_box_->hwnd()) {
        SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
        return reinterpret_cast<intptr_t>(background_);
      }
      return DefWindowProcA(hwnd(), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
    default:
      return DefWindowProcA(hwnd(), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
}

void testLocatorPanelClass::command(HWND control, int notification, int id) {
  if (control == nullptr) {
    if (id == locator_new_directory) choose_root();
    return;
  }
  if (control == list_->hwnd()) {
    if (notification == LBN_SELCHANGE) {
      preview_selected();
      invalidate();
    } else if (notification == LBN_DBLCLK) {
      open_selected();
    }
    return;
  }
  if (notification != BN_CLICKED) return;
  if (control == remove_button_->hwnd()) {
    remove_selected();
  } else if (control == session_button_->hwnd()) {
    list_to_session();
  } else if (control == subfolder_box_->hwnd()) {
    subfolder_box_->toggle();
  } else if (control == find_button_->hwnd()) {
    find_tests();
  }
}

void testLocatorPanelClass::choose_root() {
  // One chooser at a time: a second request brings the open one forward.
  if (chooser_ != nullptr && find_window_node(chooser_) != nullptr) {
    SetForegroundWindow(chooser_->hwnd());
    return;
  }
  const char* setting = get_program_setting(locator_root_setting, true);
  const std::string start = setting != nullptr ? setting : "";
  chooser_ = new directoryPanelClass(this, "Select Root Test Directory", 50.0, 50.0, 0, nullptr);
  chooser_->set_up(start.c_str());
}

void testLocatorPanelClass::chooser_notice(uintptr_t code) {
  if (chooser_ == nullptr) return;
  if (find_window_node(chooser_) == nullptr) {
    chooser_ = nullptr;  // closed on its own
    return;
  }
  if (code == pseudo_dialog_ok) {
    set_program_setting(locator_root_setting, chooser_->result_text());
    invalidate();
  } else if (code == pseudo_dialog_open) {
    if (yesnomessage("Use value?", "-- Keep the value [%s]", chooser_->result_text()) == answer_yes) {
      set_program_setting(locator_root_setting, chooser_->result_text());
    }
    if (!alive()) return;
  } else if (code != pseudo_dialog_cancelled) {
    return;
  }
  if (chooser_ != nullptr && find_window_node(chooser_) != nullptr) delete chooser_;
  chooser_ = nullptr;
}

void testLocatorPanelClass::read_criteria() {
  test_id_pattern_ = read_edit(test_id_edit_, criteria_text_size);
  eye_ = read_edit(eye_edit_, criteria_text_size);
  user_id_pattern_ = read_edit(user_id_edit_, criteria_text_size);
  const std::string patient = read_edit(patient_edit_, patient_text_size);
  patient_number_ = 0;
  if (!patient.empty() && std::sscanf(patient.c_str(), "%d", &patient_number_) != 1) patient_number_ = 0;
}

void testLocatorPanelClass::find_tests() {
  if (searching_) return;
  read_criteria();
  WINDOWINFO info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = sizeof info;
  if (!GetWindowInfo(hwnd(), &info)) {
    errormessage("*** GetWindowInfo FAILED ***\n*** %s ***", last_error_text(GetLastError()));
    return;
  }
  ShowWindow(hwnd(), SW_MINIMIZE);
  searching_ = true;
  panel_ = new infoPanelClass(this, " SEARCHING FOR TESTS", screen_paper.mm_x(info.rcWindow.left),
                              screen_paper.mm_y(info.rcWindow.top), 100.0, 50.0, " Cancel Search ");
  clear_list();
  update_count();
  set_error_count(0);
  cancel_ = false;
  std::string root = get_program_setting(locator_root_setting, true) != nullptr
                         ? get_program_setting(locator_root_setting, true)
                         : "";
  if (!root.empty() && root.back() != '\\' && root.back() != '/') root += '\\';
  scanner_->scan(locator_found_file, root.c_str());
  // A message run by the panel may have closed the locator.
  if (!alive()) return;
  searching_ = false;
  if (panel_ != nullptr && find_window_node(panel_) != nullptr) delete panel_;
  panel_ = nullptr;
  update_count();
  if (found_count_ > 0) {
    list_->set_selection(0);
    preview_selected();
  }
  ShowWindow(hwnd(), SW_RESTORE);
  invalidate();
}

void testLocatorPanelClass::on_file(const WIN32_FIND_DATAA* found, const char* folder) {
  std::unique_ptr<foundTest> entry(new foundTest());
  const bool read = read_candidate(*entry, found, folder);
  if (!alive() || !read) return;
  const bool wanted = matches(*entry);
  if (!alive() || !wanted) return;
  const int row = list_->add_string(name_without_extension(entry->find_data.cFileName).c_str());
  if (row < 0) return;
  SendMessageA(list_->hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(entry.release()));
  found_count_++;
}

bool testLocatorPanelClass::read_candidate(foundTest& entry, const WIN32_FIND_DATAA* found, const char* folder) {
  entry.loaded = 0;
  if (found == nullptr) return false;
  entry.find_data = *found;
  std::snprintf(entry.folder, sizeof entry.folder, "%s", folder != nullptr ? folder : "");
  const std::string path = entry.path();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    char text[2 * MAX_PATH + 64];
    std::snprintf(text, sizeof text, "*** OPEN OF FILE ***\n%s\n%s\n*** FAILED ***", entry.folder,
                  entry.find_data.cFileName);
    report_skipped_file(text);
    return false;
  }
  std::vector<uint8_t> bytes(sizeof(testFileRecord));
  DWORD got = 0;
  uint8_t flag = 0;
  DWORD requested = 1;
  bool whole = ReadFile(file, &flag, 1, &got, nullptr) && got == 1;
  if (whole) {
    requested = static_cast<DWORD>(bytes.size());
    got = 0;
    whole = ReadFile(file, bytes.data(), requested, &got, nullptr) && got == requested;
  }
  CloseHandle(file);
  if (!whole) {
    char text[2 * MAX_PATH + 128];
    std::snprintf(text, sizeof text, "*** READING OF FILE ***\n%s\n%s\n*** FAILED ***\n***requested %d, got %d bytes ***",
                  entry.folder, entry.find_data.cFileName, static_cast<int>(requested), static_cast<int>(got));
    report_skipped_file(text);
    return false;
  }
  std::memcpy(entry.record.get(), bytes.data(), sizeof(testFileRecord));
  entry.loaded = 1;
  return true;
}

bool testLocatorPanelClass::matches(foundTest& entry) {
  if (!entry.loaded) return false;
  const testFileRecord& record = *entry.record;
  if (patient_number_ > 0 && record.P != patient_number_) return false;
  byteObjectClass test_id;
  record_text(record.TestId, static_cast<int>(sizeof record.TestId / sizeof record.TestId[0]),
              static_cast<int>(sizeof record.TestId / sizeof record.TestId[0]), test_id);
  if (!wildcard_match(test_id_pattern_.c_str(), test_id.text())) return false;
  if (!eye_.empty()) {
    char text[MAX_PATH + 64];
    switch (check_eye(entry.find_data.cFileName, eye_.c_str())) {
      case eyeCheck::match:
        break;
      case eyeCheck::no_match:
        return false;
      case eyeCheck::bad_name:
        std::snprintf(text, sizeof text, "*** INCORRECT FILENAME [%s]***", entry.find_data.cFileName);
        report_skipped_file(text);
        return false;
      case eyeCheck::bad_eye:
        report_skipped_file("*** EYE MUST BE 'OD' or 'OS' or blank ***");
        return false;
    }
  }
  return user_id_matches(entry, user_id_pattern_.c_str());
}

bool testLocatorPanelClass::user_id_matches(foundTest& entry, const char* pattern) {
  if (pattern == nullptr || *pattern == '\0') return true;
  byteObjectClass state_path;
  state_file_name(entry.path().c_str(), state_path);
  kvBridgeClass state;
  if (!state.load_file(state_path.text())) return false;
  const char* user_id = state.get_loaded_value("userid");
  return wildcard_match(pattern, user_id != nullptr ? user_id : "");
}

thumbnailClass* testLocatorPanelClass::live(thumbnailClass* thumbnail) const {
  if (thumbnail == nullptr) return nullptr;
  windowNode* node = find_window_node(thumbnail);
  return node != nullptr && node->type == thumbnail_window_type ? thumbnail : nullptr;
}

thumbnailClass* testLocatorPanelClass::preview() const { return live(preview_); }

foundTest* testLocatorPanelClass::entry_at(int index) {
  const LRESULT data = SendMessageA(list_->hwnd(), LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (data == LB_ERR || data == 0) return nullptr;
  return reinterpret_cast<foundTest*>(data);
}

void testLocatorPanelClass::preview_selected() {
  thumbnailClass* shown = live(preview_);
  if (shown != nullptr) {
    if (shown->document().state_needs_saving()) shown->document().save_state();
    ShowWindow(shown->hwnd(), SW_HIDE);
  }
  preview_ = nullptr;
  show_list_buttons(true);
  const int row = list_->selection();
  foundTest* entry = row >= 0 ? entry_at(row) : nullptr;
  if (entry == nullptr) return;
  entry->thumbnail = live(entry->thumbnail);
  if (entry->thumbnail == nullptr) {
    paper scale;
    scale.set_from_window(hwnd());
    entry->thumbnail = new thumbnailClass(this, 1.0, scale.px_x(preview_left_ + 1.0),
                                          scale.px_y(preview_top_ + 3.0), entry->path().c_str(), test_source_pc);
    if (!alive()) return;
  }
  preview_ = entry->thumbnail;
  HDC dc = GetDC(hwnd());
  paper scale;
  scale.set_from_window(hwnd());
  preview_->measure(dc, scale);
  ReleaseDC(hwnd(), dc);
  // The thumbnail's window takes the size its texts and graph measured (as
  // a session's do), so that its wave results show whole.
  SetWindowPos(preview_->hwnd(), nullptr, 0, 0, scale.scale_x(preview_->width()), scale.scale_y(preview_->height()),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame fits the thumbnail's window as it stands after measuring.
  RECT frame;
  double width = preview_->width(), height = preview_->height();
  if (GetWindowRect(preview_->hwnd(), &frame) && scale.x_px_per_mm > 0.0 && scale.y_px_per_mm > 0.0) {
    width = (frame.right - frame.left) / scale.x_px_per_mm;
    height = (frame.bottom - frame.top) / scale.y_px_per_mm;
  }
  preview_width_ = std::max(preview_default_width, width + 2.0);
  preview_height_ = std::max(preview_default_height, height + 4.0);
  layout();
  ShowWindow(preview_->hwnd(), SW_SHOW);
  InvalidateRect(preview_->hwnd(), nullptr, TRUE);
}

void testLocatorPanelClass::remove_selected() {
  const int row = list_->selection();
  if (row < 0) return;
  foundTest* entry = entry_at(row);
  if (entry == nullptr) {
    errormessage("*** UNABLE TO DELETE ITEM %d FROM TEST LIST ***", row);
    return;
  }
  thumbnailClass* thumbnail = live(entry->thumbnail);
  if (thumbnail != nullptr && thumbnail == preview_) preview_ = nullptr;
  delete thumbnail;
  delete entry;
  SendMessageA(list_->hwnd(), LB_DELETESTRING, static_cast<WPARAM>(row), 0);
  found_count_ = list_->count();
  update_count();
  if (found_count_ <= 0) {
    preview_ = nullptr;
    show_list_buttons(false);
  } else {
    list_->set_selection(std::min(row, found_count_ - 1));
    preview_selected();
  }
  invalidate();
}

winTypeClass* testLocatorPanelClass::open_session(const char* path, int several_files) {
  auto* panel = new sessionPanelClass(session_mode_pc, path, several_files);
  window_cascade_count++;
  if (panel->status() != 1) {
    if (panel->hwnd() != nullptr) {
      SendMessageA(panel->hwnd(), WM_CLOSE, 0, 0);
    } else {
      delete panel;
    }
    return nullptr;
  }
  return panel;
}

void testLocatorPanelClass::open_selected() {
  const int row = list_->selection();
  foundTest* entry = row >= 0 ? entry_at(row) : nullptr;
  if (entry == nullptr) return;
  open_session(entry->path().c_str(), 0);
}

void testLocatorPanelClass::list_to_session() {
  const int rows = list_->count();
  if (rows <= 0) return;
  std::vector<std::string> paths;
  for (int row = 0; row < rows; row++) {
    foundTest* entry = entry_at(row);
    if (entry != nullptr) paths.push_back(entry->path());
  }
  if (paths.empty()) return;
  auto* panel = static_cast<sessionPanelClass*>(open_session(paths[0].c_str(), 1));
  if (panel == nullptr) return;
  for (size_t i = 1; i < paths.size(); i++) panel->load_path(paths[i].c_str(), 1);
  panel->layout();
  panel->invalidate();
}

void testLocatorPanelClass::clear_list() {
  thumbnailClass* shown = live(preview_);
  preview_ = nullptr;
  if (list_ == nullptr || list_->hwnd() == nullptr) {
    delete shown;
    return;
  }
  const int rows = list_->count();
  for (int row = 0; row < rows; row++) {
    foundTest* entry = entry_at(row);
    if (entry == nullptr) continue;
    thumbnailClass* thumbnail = live(entry->thumbnail);
    if (thumbnail == shown) shown = nullptr;
    delete thumbnail;
    delete entry;
    SendMessageA(list_->hwnd(), LB_SETITEMDATA, static_cast<WPARAM>(row), 0);
  }
  delete shown;
  SendMessageA(list_->hwnd(), LB_RESETCONTENT, 0, 0);
  found_count_ = 0;
  preview_width_ = preview_default_width;
  preview_height_ = preview_default_height;
}

std::string testLocatorPanelClass::item_test_id(int index) {
  foundTest* entry = index >= 0 ? entry_at(index) : nullptr;
  if (entry == nullptr) return "";
  byteObjectClass text;
  record_text(entry->record->TestId, static_cast<int>(sizeof entry->record->TestId / sizeof entry->record->TestId[0]),
              10, text);
  return text.text();
}

void testLocatorPanelClass::show_list_buttons(bool shown) {
  if (shown) {
    remove_button_->show();
    session_button_->show();
  } else {
    remove_button_->hide();
    session_button_->hide();
  }
}

void testLocatorPanelClass::update_count() {
  char text[16];
  std::snprintf(text, sizeof text, "%3d", static_cast<int>(found_count_));
  count_->set_format_text(text, 0);
  count_->invalidate();
}

const char* testLocatorPanelClass::count_text() const { return count_->line_text(0); }

HWND testLocatorPanelClass::remove_button() const { return remove_button_->hwnd(); }
HWND testLocatorPanelClass::session_button() const { return session_button_->hwnd(); }
HWND testLocatorPanelClass::find_button() const { return find_button_->hwnd(); }
HWND testLocatorPanelClass::subfolder_box() const { return subfolder_box_->hwnd(); }

void testLocatorPanelClass::show_count(const char* text) {
  if (panel_ != nullptr) panel_->set_count(std::atoi(text != nullptr ? text : "0"));
}

void testLocatorPanelClass::show_accepted(const char*) {
  if (panel_ != nullptr) panel_->set_accepted(found_count_);
}

void testLocatorPanelClass::show_message(int line, const char* text) {
  if (panel_ != nullptr) panel_->set_message(line, text);
}

void testLocatorPanelClass::refresh_panel() {
  if (panel_ != nullptr) panel_->invalidate();
}

bool testLocatorPanelClass::include_subfolders() { return subfolder_box_->is_checked(); }
