#include "desktop/windows/session_panel/session_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "desktop/windows/device_link/device_link.h"
#include "desktop/winlib/controls/edit_number.h"
#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/files/file_info.h"
#include "desktop/data/filtered_trace.h"
#include "desktop/winlib/panels/info_panel.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/r_bitmap.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/data/folder_listing.h"
#include "desktop/data/session/session_files.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "platform/files/whole_file.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/windows/openers/window_openers.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

constexpr int path_buffer_size = 260;
constexpr const char* session_file_filter =
    "ERG Test/Session Files (*.tst, *.s_f)\0*.tst;*.s_f\0All Files\0*.*\0";
constexpr const char* special_file_filter = "Special Session Files (*.s_f)\0*.s_f\0All Files\0*.*\0";

std::string setting(const char* name) {
  const char* value = get_program_setting(name, true);
  return value ? value : "";
}

std::string name_without_extension(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// The full form of a path, for telling two spellings of one file apart.
std::string full_path(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer) : path;
}

bool is_filter_command(int command) { return command >= session_60hz && command <= session_lowpass; }

}  // namespace

bool read_special_session_list(const char* path, std::vector<std::string>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    errormessage("*** CAN'T OPEN [%s] ***", path);
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  out = special_session_lines(bytes.data(), bytes.size());
  return true;
}

sessionPanelClass::sessionPanelClass(int mode, const char* path, int several_files)
    : winTypeClass(nullptr, session_window_type), mode_(mode) {
  HWND window = CreateWindowExA(0, "session", "Session", WS_VSCROLL | WS_SYSMENU | WS_MINIMIZEBOX | WS_CAPTION, 0, 0,
                                580, 400, nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    infomessage("*** SESSION WINDOW CREATION FAILED ***\n\n%s", last_error_text(GetLastError()));
    return;  // status 0: the opener closes the panel
  }
  set_hwnd(window);
  background_ = class_background_brush("session");
  build_menus();
  if (!add_files(mode, path, several_files)) return;
  layout();
  update_filter_checks();
  status_ = 1;
  ShowWindow(window, SW_SHOWNORMAL);
  invalidate();
}

sessionPanelClass::~sessionPanelClass() {
  if (name_.length() > 0 && modified_) save_special_session("Session is modified, resave this session or CANCEL", false);
  thumbnails_.clear();  // the thumbnails go with the window node's children
}

void sessionPanelClass::build_menus() {
  menu_ = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, session_add, "Add to this Session");
  AppendMenuA(file, MF_STRING, session_open_another, "Open another Session");
  AppendMenuA(file, MF_STRING, session_test_locator, "Open a Test Locator window");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, session_load_special, "Load a special session");
  AppendMenuA(file, MF_STRING, session_save_special, "Save as a special session");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, session_print, "Print");
  AppendMenuA(file, MF_STRING, session_close, "Close");
  edit_menu_ = CreatePopupMenu();
  AppendMenuA(edit_menu_, MF_STRING, session_copy_bitmap, "Copy Bitmap");
  AppendMenuA(edit_menu_, MF_STRING, session_sort, "Sort By File Time");
  filter_menu_ = CreatePopupMenu();
  AppendMenuA(filter_menu_, MF_STRING, session_60hz, "60Hz Filtering");
  AppendMenuA(filter_menu_, MF_STRING, session_50hz, "50Hz Filtering");
  AppendMenuA(filter_menu_, MF_STRING, session_spikes, "Spike Filtering");
  AppendMenuA(filter_menu_, MF_STRING, session_lowpass, "Low Pass Filtering");
  AppendMenuA(filter_menu_, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(filter_menu_, MF_STRING, session_lowpass_frequency, "Set Low Pass Frequency");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "File");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit_menu_), "Edit");
  HMENU view = CreatePopupMenu();
  AppendMenuA(view, MF_STRING, session_view_summary, "Summary");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "View");
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(filter_menu_), "Filter");
  SetMenu(hwnd(), menu_);
}

thumbnailClass* sessionPanelClass::thumbnail(int index) const {
  return index >= 0 && index < thumbnail_count() ? thumbnails_[static_cast<size_t>(index)] : nullptr;
}

void sessionPanelClass::set_title_count(const char* text) {
  set_title(fmt("[%d] %s", thumbnail_count(), text ? text : ""));
}

bool sessionPanelClass::add_files(int mode, const char* path, int several_files) {
  if (!path) return select_and_load("Select test(s) or a special session (s_f) file.", mode, several_files);
  if (std::strlen(path) >= path_buffer_size) {
    errormessage("*** PATH TOO LONG (%d CHARACTERS) ***\n[%.200s...]", static_cast<int>(std::strlen(path)), path);
    return false;
  }
  set_program_setting("last_session_file", path);
  bool loaded = load_path(path, several_files);
  set_title_count(path);
  update_filter_checks();
  layout();
  return loaded;
}

bool sessionPanelClass::select_and_load(const char* title, int mode, int several_files) {
  (void)several_files;
  if (mode == session_mode_unit) {
    const char* unit_path = connect_to_unit(this);
    if (!unit_path || !load_from_unit(unit_path, 0)) return false;
    update_filter_checks();
    layout();
    return true;
  }
  std::string start = setting("last_session_file");
  r_list<byteObjectClass>* chosen = open_files_dialog(hwnd(), title, start.c_str(), session_file_filter, "tst",
                                                      nullptr, 0, false, false, 0);
  if (!chosen) return false;
  std::vector<std::string> paths;
  for (byteObjectClass* p = chosen->first(); p; p = chosen->next()) paths.emplace_back(p->text());
  chosen->scan_end();
  delete_all(chosen);
  if (paths.empty()) return false;
  bool result;
  if (paths.size() == 1 && path_extension(paths[0]) == "tst") {
    set_program_setting("last_session_file", paths[0].c_str());
    result = load_path(paths[0].c_str(), 0);
    set_title_count(paths[0].c_str());
  } else {
    loading_special_ = 0;
    result = load_list(paths);
    set_title_count(name());
  }
  return result;
}

bool sessionPanelClass::load_path(const char* path, int several_files) {
  std::string folder = path_folder(path);
  bool special = path_extension(path) == "s_f";
  std::string pattern = special || several_files ? std::string(path) : make_series_pattern(path);
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    errormessage("*** No matching files found [%s] ***", pattern.c_str());
    return false;
  }
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (!special && !several_files && FindNextFileA(search, &found));
  FindClose(search);
  if (names.empty()) {
    errormessage("*** No matching files found [%s] ***", pattern.c_str());
    return false;
  }
  // A folder scan's order is the file system's: take the files by name.
  std::sort(names.begin(), names.end());
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(folder + name);
  if (special)
    set_program_setting("special_session_folder", folder.c_str());
  else
    set_program_setting("last_session_file", paths[0].c_str());
  load_list(paths);
  return true;
}

bool sessionPanelClass::load_list(const std::vector<std::string>& paths) {
  // The tests of one folder find their sample files in one listing of it.
  folderListingShare listings;
  if (open_lists_.empty()) read_lists_.clear();
  for (size_t i = 0; i < paths.size(); i++) {
    const std::string& path = paths[i];
    fileInfoClass info;
    if (!info.get(path.c_str(), 1)) return false;
    info.close();
    std::string extension = path_extension(path);
    bool special = same_text_nocase(extension, "s_f");
    if (i == 0) {
      if (same_text_nocase(extension, "tst") && !loading_special_)
        set_program_setting("last_session_file", path.c_str());
      if (special) set_program_setting("special_session_folder", path_folder(path).c_str());
    }
    if (special) {
      std::string key = full_path(path);
      bool repeated = std::any_of(open_lists_.begin(), open_lists_.end(),
                                  [&key](const std::string& open) { return same_text_nocase(open, key); });
      if (repeated) {
        errormessage("*** SPECIAL SESSION [%s] INCLUDES ITSELF ***", path.c_str());
        continue;
      }
      // A list named again (many times over, at each depth) is read once: its
      // tests are in the session already, and reading it again would grow
      // as a power of the depth.
      if (std::any_of(read_lists_.begin(), read_lists_.end(),
                      [&key](const std::string& read) { return same_text_nocase(read, key); }))
        continue;
      read_lists_.push_back(key);
      sort_allowed_ = 0;
      if (name_.length() == 0) name_.set(name_without_extension(path_base_name(path)).c_str());
      std::vector<std::string> listed;
      if (!read_special_session_list(path.c_str(), listed)) continue;
      uint8_t was_loading = loading_special_;
      loading_special_ = 1;
      open_lists_.push_back(key);
      load_list(listed);
      open_lists_.pop_back();
      loading_special_ = was_loading;
    } else {
      if (add_thumbnail(path.c_str(), session_mode_pc) && !loading_special_) modified_ = 1;
    }
  }
  set_scroll_range();
  if (sort_allowed_) sort_by_file_time();
  return true;
}

thumbnailClass* sessionPanelClass::add_thumbnail(const char* path, int source) {
  int count = thumbnail_count();
  int y = count * screen_paper.scale_y(30.0) + 10;
  auto* thumb = new thumbnailClass(this, count + 1, 2, y, path, source);
  if (!thumb->hwnd()) {
    delete thumb;  // no window: nothing of it may stay in the tree
    return nullptr;
  }
  thumb->set_background(background_);
  thumbnails_.push_back(thumb);
  return thumb;
}

void sessionPanelClass::renumber() {
  for (size_t i = 0; i < thumbnails_.size(); i++) thumbnails_[i]->set_number(static_cast<double>(i + 1));
}

void sessionPanelClass::sort_by_file_time() {
  bool swapped = true;
  while (swapped) {
    swapped = false;
    for (size_t i = 0; i + 1 < thumbnails_.size(); i++) {
      if (CompareFileTime(&thumbnails_[i]->file_time(), &thumbnails_[i + 1]->file_time()) > 0) {
        std::swap(thumbnails_[i], thumbnails_[i + 1]);
        swapped = true;
      }
    }
  }
  renumber();
}

void sessionPanelClass::remove(thumbnailClass* thumb) {
  auto at = std::find(thumbnails_.begin(), thumbnails_.end(), thumb);
  if (at == thumbnails_.end()) {
    errormessage("*** sessionPanelClass::remove -- THUMBNAIL NOT FOUND. ***");
    return;
  }
  // No cell may keep the deleted test: an open summary goes first and is
  // made anew after.
  bool had_summary = summary() != nullptr;
  if (had_summary) delete summary();
  move_to_thumb_clipboard(thumb);
  thumbnails_.erase(at);
  delete thumb;
  modified_ = 1;
  if (first_shown_ > std::max(1, thumbnail_count())) first_shown_ = std::max(1, thumbnail_count());
  renumber();
  layout();
  set_scroll_range();
  set_title_count(name_.length() ? name() : "");
  invalidate();
  if (had_summary) open_summary();
}

void sessionPanelClass::paste_thumbnail(thumbnailClass* reference, int before) {
  thumbnailClass* pasted = create_from_thumb_clipboard(this);
  if (!pasted) return;
  auto at = std::find(thumbnails_.begin(), thumbnails_.end(), reference);
  if (at == thumbnails_.end() || !pasted->hwnd()) {
    if (at == thumbnails_.end()) errormessage("*** sessionPanelClass::remove -- THUMBNAIL NOT FOUND. ***");
    delete pasted;
    return;
  }
  pasted->set_background(background_);
  thumbnails_.insert(before ? at : at + 1, pasted);
  modified_ = 1;
  renumber();
  layout();
  set_scroll_range();
  set_title_count(name());
  invalidate();
  if (summary()) open_summary();
}

void sessionPanelClass::update_filter_checks() {
  const int commands[4] = {session_spikes, session_60hz, session_50hz, session_lowpass};
  bool all[4] = {true, true, true, true};
  bool any = false;
  bool same_frequency = true;
  double frequency = 0.0;
  for (thumbnailClass* thumb : thumbnails_) {
    if (!thumb->loaded()) continue;
    tracePlusClass* entry = thumb->document().entry();
    all[0] = all[0] && entry->has_spike_filter();
    all[1] = all[1] && entry->has_60hz_filter();
    all[2] = all[2] && entry->has_50hz_filter();
    all[3] = all[3] && entry->has_lowpass_filter();
    if (any && entry->lowpass_frequency() != frequency) same_frequency = false;
    frequency = entry->lowpass_frequency();
    any = true;
  }
  for (int i = 0; i < 4; i++) set_menu_check(filter_menu_, commands[i], any && all[i] ? 1 : 0);
  lowpass_frequency_ = !any ? 0.0 : same_frequency ? frequency : 150.0;
}

void sessionPanelClass::apply_filter(double frequency, int command) {
  bool on = false;
  if (is_filter_command(command)) on = (GetMenuState(filter_menu_, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
  if (command == session_lowpass && frequency != 0.0) on = true;
  for (thumbnailClass* thumb : thumbnails_) {
    if (!thumb->loaded()) continue;
    bool changed = false;
    uint8_t flag = on ? 1 : 0;
    if (command == session_spikes) changed = thumb->set_spike_filter(flag) || changed;
    if (command == session_60hz) changed = thumb->set_60hz_filter(flag) || changed;
    if (command == session_50hz) changed = thumb->set_50hz_filter(flag) || changed;
    if (command == session_lowpass) changed = thumb->set_lowpass_filter(flag) || changed;
    if (frequency != 0.0) {
      changed = thumb->set_lowpass_filter(1) || changed;
      changed = thumb->set_lowpass_frequency(frequency) || changed;
    }
    if (changed) thumb->recalculate_ab(0);
  }
  layout();
  invalidate();
}

void sessionPanelClass::filter_menu_command(int command) {
  MENUITEMINFOA item{};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  if (!GetMenuItemInfoA(filter_menu_, static_cast<UINT>(command), FALSE, &item)) {
    errormessage("*** GetMenuItemInfo failed ***\n%s", last_error_text(GetLastError()));
    return;
  }
  bool checked = (item.fState & MFS_CHECKED) == 0;
  set_menu_check(filter_menu_, static_cast<UINT>(command), checked ? 1 : 0);
  if (checked && command == session_60hz) set_menu_check(filter_menu_, session_50hz, 0);
  if (checked && command == session_50hz) set_menu_check(filter_menu_, session_60hz, 0);
  apply_filter(0.0, command);
}

bool sessionPanelClass::write_special_session(const std::string& file) {
  wholeFileStep failed = wholeFileStep::none;
  const bool written = write_file_whole(
      file.c_str(), "wb",
      [this](std::FILE* out) {
        for (size_t i = 0; i < thumbnails_.size(); i++)
          if (std::fprintf(out, "%s\n", thumbnails_[i]->path()) < 0) return false;
        return true;
      },
      &failed);
  if (!written)
    errormessage("*** UNABLE TO WRITE THE SPECIAL SESSION [%s] ***\n%s", file.c_str(), whole_file_step_text(failed));
  return written;
}

bool sessionPanelClass::save_special_session(const char* title, bool ask_before_overwrite) {
  std::string start = setting("special_session_folder");
  if (name_.length() > 0) start += std::string(name()) + ".s_f";
  char chosen[path_buffer_size];
  if (!file_name_dialog(hwnd(), title, start.c_str(), special_file_filter, "s_f", chosen, sizeof chosen, true, false,
                        0))
    return false;
  std::string folder = path_folder(chosen);
  std::string base = name_without_extension(path_base_name(chosen));
  std::string file = folder + base + ".s_f";
  if (ask_before_overwrite && GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES) {
    if (yesnomessage("-- FILE EXISTS --", "-- UPDATE SESSION [%s] FILE?", base.c_str()) != IDYES) return false;
  }
  set_program_setting("special_session_folder", folder.c_str());
  if (!write_special_session(file)) return false;  // stays modified
  name_.set(base.c_str());
  set_title_count(name());
  modified_ = 0;
  return true;
}

bool sessionPanelClass::load_special_session(const char* title) {
  std::string start = setting("special_session_folder");
  if (name_.length() > 0) start += std::string(name()) + ".s_f";
  char chosen[path_buffer_size];
  if (!file_name_dialog(hwnd(), title, start.c_str(), special_file_filter, "s_f", chosen, sizeof chosen, false, false,
                        0))
    return false;
  std::ifstream probe(chosen, std::ios::binary);
  if (!probe) {
    errormessage("*** UNABLE TO OPEN [%s] FOR READING ***", chosen);
    return false;
  }
  probe.close();
  std::vector<std::string> listed;
  if (!read_special_session_list(chosen, listed)) return false;
  loading_special_ = 1;
  open_lists_.push_back(full_path(chosen));
  read_lists_ = open_lists_;
  load_list(listed);
  open_lists_.pop_back();
  loading_special_ = 0;
  modified_ = 1;
  update_filter_checks();
  layout();
  set_title_count(name_.length() ? name() : chosen);
  invalidate();
  return true;
}

void sessionPanelClass::layout() {
  HWND window = hwnd();
  if (!window) return;
  HDC dc = GetDC(window);
  largest_height_ = 0.0;
  largest_width_ = 0.0;
  for (thumbnailClass* thumb : thumbnails_) {
    thumb->measure(dc, screen_paper);
    largest_height_ = std::max(largest_height_, thumb->height());
    largest_width_ = std::max(largest_width_, thumb->width());
  }
  double screen_mm = GetDeviceCaps(dc, VERTSIZE);
  ReleaseDC(window, dc);
  shown_ = thumbnail_count();
  if (largest_height_ > 0.0) {
    int fits = static_cast<int>(std::floor((screen_mm - 15.0) / largest_height_));
    shown_ = std::min(shown_, std::max(fits, 1));
  }
  if (thumbnails_.empty()) return;
  int width = screen_paper.scale_x(largest_width_ + 7.0);
  int height = screen_paper.scale_y(shown_ * largest_height_ + 15.0);
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void sessionPanelClass::draw(HDC, const paper&) {
  layout();
  int shown = std::min(shown_, thumbnail_count());
  int height = screen_paper.scale_y(largest_height_);
  int width = screen_paper.scale_x(largest_width_);
  for (int i = 0; i < thumbnail_count(); i++) {
    HWND child = thumbnails_[static_cast<size_t>(i)]->hwnd();
    int number = i + 1;
    if (number < first_shown_ || number > first_shown_ + shown - 1) {
      ShowWindow(child, SW_HIDE);
      continue;
    }
    int k = number - first_shown_;
    RECT now;
    GetWindowRect(child, &now);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&now), 2);
    if (now.left != 0 || now.top != k * height || now.right - now.left != width || now.bottom - now.top != height)
      MoveWindow(child, 0, k * height, width, height, TRUE);
    ShowWindow(child, SW_SHOW);
  }
}

void sessionPanelClass::set_scroll_range() {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 1;
  info.nMax = std::max(1, thumbnail_count());
  info.nPage = 1;
  info.nPos = 1;
  first_shown_ = 1;
  SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
}

void sessionPanelClass::scroll(int request, int position) {
  int next = first_shown_;
  switch (request) {
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
      next = std::min(first_shown_ + 1, std::max(1, thumbnail_count()));
      break;
    case SB_LINEUP:
    case SB_PAGEUP:
      next = std::max(first_shown_ - 1, 1);
      break;
    case SB_THUMBPOSITION:
      next = std::max(1, std::min(position, std::max(1, thumbnail_count())));
      break;
    default:
      return;
  }
  SetScrollPos(hwnd(), SB_VERT, next, TRUE);
  if (next != first_shown_) {
    first_shown_ = next;
    invalidate();
  }
}

winTypeClass* sessionPanelClass::summary() const {
  const windowNode* own = find_window_node(this);
  for (const windowNode* child = own ? own->first_child : nullptr; child; child = child->next) {
    if (child->type == window_type::summary && child->object) return child->object;
  }
  return nullptr;
}

void sessionPanelClass::show_summary() {
  call_opener(window_openers.show_summary, "show_summary", static_cast<winTypeClass*>(this));
}

void sessionPanelClass::open_summary() {
  call_opener(window_openers.open_summary, "open_summary", static_cast<winTypeClass*>(this));
}

void sessionPanelClass::take_order(const std::vector<winTypeClass*>& order) {
  std::vector<thumbnailClass*> ordered;
  for (winTypeClass* test : order) {
    auto at = std::find(thumbnails_.begin(), thumbnails_.end(), test);
    if (at != thumbnails_.end() && std::find(ordered.begin(), ordered.end(), *at) == ordered.end())
      ordered.push_back(*at);
  }
  for (thumbnailClass* thumb : thumbnails_)
    if (std::find(ordered.begin(), ordered.end(), thumb) == ordered.end()) ordered.push_back(thumb);
  thumbnails_ = ordered;
  renumber();
  layout();
}

bool sessionPanelClass::load_from_unit(const char* unit_path, int single_file) {
  if (!device_link_built()) return true;  // nothing to load without the link
  if (!unit_path || std::strlen(unit_path) >= path_buffer_size) return false;
  auto* loading = new infoPanelClass(this, "Loading selected test files", 10, 5, 100, 50, "");
  std::string path = unit_path;
  size_t slash = path.rfind('\\');
  std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  std::string pattern = single_file ? path : folder + "*";
  struct visit {
    static void entry(const unitEntry& found, void* context) {
      auto* names = static_cast<std::vector<std::string>*>(context);
      if (!found.folder) names->emplace_back(found.name);
    }
  };
  std::vector<std::string> names;
  if (!find_unit_entries(pattern.c_str(), visit::entry, &names, single_file != 0)) {
    show_message_box("*** No matching files found ***", "file pattern", MB_OK);
    delete loading;
    return false;
  }
  for (const std::string& name : names) {
    if (name.size() < 4 || !same_text_nocase(name.substr(name.size() - 4), ".tst")) continue;
    loading->set_message(0, "Loading from USB");
    add_thumbnail((folder + name).c_str(), session_mode_unit);
  }
  set_scroll_range();
  delete loading;
  return true;
}

intptr_t sessionPanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_VSCROLL:
      scroll(LOWORD(wparam), static_cast<short>(HIWORD(wparam)));
      return 0;
    case WM_USER:
      if (wparam == 0) {
        apply_filter(lowpass_frequency_, 0);
        update_filter_checks();
      }
      return 0;
    case WM_COMMAND: {
      int command = LOWORD(wparam);
      switch (command) {
        case session_add:
          sort_allowed_ = 0;
          if (select_and_load(" Select files to add to session.", session_mode_pc, 0)) {
            if (winTypeClass* open = summary()) delete open;
            update_filter_checks();
            layout();
            modified_ = 1;
            invalidate();
          }
          return 0;
        case session_open_another: {
          windowNode* main = find_window_of_type(window_type::main_window);
          if (main && main->hwnd) PostMessageA(main->hwnd, WM_COMMAND, new_pc_session_request, 1);
          return 0;
        }
        case session_test_locator:
          call_opener(window_openers.test_locator, "test_locator", 100, 10);
          return 0;
        case session_load_special:
          load_special_session("Select a special session to load");
          return 0;
        case session_save_special:
          save_special_session("Select a location and a name for the special session", true);
          return 0;
        case session_print:
          call_opener(window_openers.print_report, "print_report", static_cast<winTypeClass*>(this));
          return 0;
        case session_view_summary:
          open_summary();
          return 0;
        case session_close:
          if (wparam == session_close) PostMessageA(window, WM_CLOSE, 0, 0);
          return 0;
        case session_copy_bitmap:
          copy_window_to_clipboard(window);
          return 0;
        case session_sort:
          sort_by_file_time();
          invalidate();
          return 0;
        case session_60hz:
        case session_50hz:
        case session_spikes:
        case session_lowpass:
          filter_menu_command(command);
          return 0;
        case session_lowpass_frequency:
          new editNumberClass(this, "Session Low-pass freq. [Hz]", 10.0, 10.0, lowpass_frequency_, &lowpass_frequency_,
                              0);
          return 0;
        default:
          infomessage("### UNKNOWN MENU OPTION (%d) ###", command);
          return 0;
      }
    }
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
