#include "desktop/winlib/panels/directory_panel.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/panels/folder_entries.h"
#include "desktop/winlib/controls/list_controls.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/values/wide_text.h"

namespace {

void register_panel_class() {
  static bool registered = false;
  if (registered) return;
  registered = register_window_class(directory_panel_procedure, "dirpanel", nullptr, IDC_ARROW, system_background,
                                     CS_HREDRAW | CS_VREDRAW);
}

bool read_window_info(HWND window, WINDOWINFO* info) {
  *info = {};
  info->cbSize = sizeof *info;
  if (GetWindowInfo(window, info)) return true;
  errormessage("*** GetWindowInfo FAILED ***\n*** %s ***", last_error_text(0));
  return false;
}

// The parts of a path between single backslashes; a doubled backslash stays
// inside its part, and only a trailing backslash is dropped.
std::vector<std::string> path_parts(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] != '\\') {
      part += path[i];
    } else if (i + 1 < path.size() && path[i + 1] == '\\') {
      part += "\\\\";
      ++i;
    } else {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The tree draws an item's whole text; over it, once drawn, goes the text
// without its hidden parts, in the colours the tree used.
LRESULT draw_plain_text(listTreeClass* tree, NMTVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
      const auto item = reinterpret_cast<HTREEITEM>(draw->nmcd.dwItemSpec);
      const std::string text = tree->item_text(item);
      const std::string shown = plain_text(text.c_str());
      RECT rect{};
      if (shown == text || !tree->item_rect_text_only(item, &rect)) return CDRF_DODEFAULT;
      HDC dc = draw->nmcd.hdc;
      const COLORREF back = draw->clrTextBk == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : draw->clrTextBk;
      const COLORREF fore = draw->clrText == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : draw->clrText;
      HBRUSH brush = CreateSolidBrush(back);
      FillRect(dc, &rect, brush);
      DeleteObject(brush);
      const auto font = reinterpret_cast<HFONT>(SendMessageA(tree->hwnd(), WM_GETFONT, 0, 0));
      HGDIOBJ old_font = font != nullptr ? SelectObject(dc, font) : nullptr;
      const COLORREF old_text = SetTextColor(dc, fore);
      const int old_mode = SetBkMode(dc, TRANSPARENT);
      RECT inside = rect;
      InflateRect(&inside, -2, 0);
      DrawTextW(dc, wide_text(shown.c_str()).c_str(), -1, &inside, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      SetBkMode(dc, old_mode);
      SetTextColor(dc, old_text);
      if (old_font != nullptr) SelectObject(dc, old_font);
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

// Whether the tree shows an item as one that opens (a button before it)
// before its children are known: drives and folders do until a fill finds
// nothing in them.
void set_opens(listTreeClass* tree, HTREEITEM item, bool opens) {
  if (item == nullptr) return;
  TVITEMA record = {};
  record.mask = TVIF_CHILDREN;
  record.hItem = item;
  record.cChildren = opens ? 1 : 0;
  SendMessageA(tree->hwnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&record));
}

}  // namespace

directoryPanelClass::directoryPanelClass(winTypeClass* parent, const char* title, double x, double y,
                                         uint32_t caller_data, byteObjectClass* path_target)
    : pseudoDialogClass(parent, caller_data), path_target_(path_target) {
  register_panel_class();
  const paper& scale = screen_paper;
  HWND window = CreateWindowExA(0, "dirpanel", title != nullptr ? title : "", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                scale.px_x(x), scale.px_y(y), scale.px_x(170.0), scale.px_y(200.0),
                                parent != nullptr ? parent->hwnd() : nullptr, nullptr, program_instance, nullptr);
  if (window == nullptr) {
    errormessage("*** DIRECTORY window creation failed ***\n*** %s ***", last_error_text(0));
    return;
  }
  set_hwnd(window);
  folder_menu_ = CreatePopupMenu();
  AppendMenuA(folder_menu_, MF_STRING, dirpanel_show_folders, "--- Show Subdirectories");
  AppendMenuA(folder_menu_, MF_STRING, dirpanel_show_files, "    Show Files and Subdirectories");
  build_controls(x, y);
  // The list owns whatever controls were made, also when a step failed.
  for (controlClass* control : std::initializer_list<controlClass*>{tree_, path_field_, ok_button_, cancel_button_}) {
    if (control != nullptr) add(control);
  }
  if (ok_button_ == nullptr) return;
  ShowWindow(window, SW_SHOW);
  ready_ = 1;
}

void directoryPanelClass::build_controls(double x, double y) {
  const paper& scale = screen_paper;
  WINDOWINFO info;
  if (!read_window_info(hwnd(), &info)) return;
  path_field_ =
      new editClass(hwnd(), program_font, 1.0, 1.0, scale, edit_left, 50, ES_READONLY | ES_AUTOHSCROLL);
  tree_ = new listTreeClass(hwnd(), program_font, 1.0, path_field_->bottom() + 1.0, 50, 30, scale, "hello",
                            TVS_LINESATROOT);
  if (!read_window_info(tree_->hwnd(), &info)) return;
  const double half =
      ((info.rcClient.right - info.rcClient.left) / 2 - scale.x_origin) / scale.x_px_per_mm;
  ok_button_ = new buttonClass(hwnd(), program_font, half - 20.0, tree_->bottom() + 1.0, 20.0, 7.0, scale, " OK ", 0);
  cancel_button_ =
      new buttonClass(hwnd(), program_font, half + 10.0, tree_->bottom() + 1.0, 20.0, 7.0, scale, " CANCEL ", 0);
  const int width = scale.px_x(3.0) + info.rcClient.right - scale.px_x(x);
  const int height = scale.px_y(ok_button_->height() + 3.0) + info.rcClient.bottom - scale.px_y(y);
  MoveWindow(hwnd(), scale.px_x(x), scale.px_y(y), width, height, TRUE);
}

directoryPanelClass::~directoryPanelClass() {
  if (folder_menu_ != nullptr) DestroyMenu(folder_menu_);
}

void directoryPanelClass::draw(HDC dc, const paper& scale) { controlListClass::rescale(dc, scale); }

HTREEITEM directoryPanelClass::drive_item(const char* drive) {
  const std::string text = std::string("{V}") + drive;
  for (HTREEITEM item = tree_->first_child(TVI_ROOT); item != nullptr; item = tree_->next_sibling(item)) {
    if (lstrcmpiA(tree_->item_text(item), text.c_str()) == 0) return item;
  }
  HTREEITEM item = tree_->insert_item_with_data(text.c_str(), TVI_ROOT, 0);
  set_opens(tree_, item, true);
  return item;
}

void directoryPanelClass::fill_tree(const char* path) {
  if (tree_ == nullptr) return;
  tree_ready_ = 0;
  tree_->delete_item(TVI_ROOT);
  first_drive_ = nullptr;
  char drives[512] = {};
  const DWORD length = GetLogicalDriveStringsA(sizeof drives - 1, drives);
  if (length == 0 || length >= sizeof drives) {
    errormessage("*** GetLogicalDriveStrings FAILED ***");
  } else {
    for (const char* drive = drives; *drive != '\0'; drive += lstrlenA(drive) + 1) {
      std::string name = drive;
      if (!name.empty() && name.back() == '\\') name.pop_back();
      HTREEITEM item = tree_->insert_item_with_data(("{V}" + name).c_str(), TVI_ROOT, 0);
      set_opens(tree_, item, true);
      if (first_drive_ == nullptr) {
        first_drive_ = item;
        tree_->select_item(item);
      }
    }
  }
  const std::string start = path != nullptr && path[0] != '\0' ? path : "C:\\";
  HTREEITEM last = nullptr;
  for (const std::string& part : path_parts(start)) {
    if (last == nullptr) {
      last = drive_item(part.c_str());
      continue;
    }
    HTREEITEM item = tree_->find_or_insert_child(("{D}" + part).c_str(), last, 0);
    set_opens(tree_, item, true);
    tree_->set_item_data(last, dirpanel_opened);
    tree_->expand(last);
    last = item;
  }
  current_path_.set(start.c_str());
  log_message("INITIAL PATH [%s]", tree_->item_path(last));
  if (last != nullptr) tree_->select_item(last);
  tree_ready_ = 1;
}

void directoryPanelClass::fill_folder(HTREEITEM item, bool with_files) {
  if (tree_ == nullptr || item == nullptr) return;
  const std::string folder = tree_->item_path(item);
  if (folder.empty() || folder.back() != '\\') return;  // a file
  for (const folderEntry& entry : folder_entries(folder.c_str(), with_files)) {
    if (entry.is_folder) {
      set_opens(tree_, tree_->find_or_insert_child(("{D}" + entry.name).c_str(), item, 0), true);
    } else {
      tree_->find_or_insert_child(entry.name.c_str(), item, item_ends_path);
    }
  }
  if (tree_->first_child(item) == nullptr) set_opens(tree_, item, false);
}

void directoryPanelClass::on_selection(HTREEITEM item) {
  if (item == nullptr) return;  // the tree emptied
  const std::string path = tree_->item_path(item);
  log_message("TVN_SELCHANGED to [%s]", path.c_str());
  current_path_.set(path.c_str());
  if (path_field_ != nullptr) path_field_->set_text(path.c_str());
  set_result_text(path.c_str());
  last_item_ = item;
  selected_ = 1;
}

void directoryPanelClass::on_right_click() {
  if (last_item_ == nullptr) return;
  const std::string path = tree_->item_path(last_item_);
  if (path.empty() || path.back() != '\\') return;
  const HTREEITEM item = last_item_;
  const int command =
      track_popup_command(folder_menu_, tree_->item_right(item), tree_->item_top(item), hwnd());
  if (command == dirpanel_show_folders || command == dirpanel_show_files) {
    fill_folder(item, command == dirpanel_show_files);
    tree_->expand(item);
  }
}

LRESULT directoryPanelClass::on_notify(const NMHDR* header, LPARAM lparam) {
  if (tree_ == nullptr || header->hwndFrom != tree_->hwnd()) return 0;
  const auto* view = reinterpret_cast<const NMTREEVIEWA*>(lparam);
  switch (header->code) {
    case TVN_ITEMEXPANDINGA:
      if ((view->action & TVE_EXPAND) && tree_ready_ == 1) fill_folder(view->itemNew.hItem, false);
      return 0;
    case TVN_SELCHANGEDA:
      on_selection(view->itemNew.hItem);
      return 1;
    case NM_RCLICK:
      on_right_click();
      return 0;
    case NM_CUSTOMDRAW:
      return draw_plain_text(tree_, reinterpret_cast<NMTVCUSTOMDRAW*>(lparam));
    default:
      return 0;
  }
}

void directoryPanelClass::on_close() {
  // One result, whatever closes the panel afterwards.
  if (ended()) return;
  post_result();
  if (path_target_ != nullptr) path_target_->set(current_path_.text());
}

void directoryPanelClass::on_command(HWND control) {
  // Before construction finished, and once a button or the close box ended
  // the panel, commands are ignored.
  if (ready_ != 1 || ended() || closing_ || control == nullptr) return;
  if (ok_button_ != nullptr && control == ok_button_->hwnd()) {
    set_result_code(pseudo_dialog_ok);
  } else if (cancel_button_ != nullptr && control == cancel_button_->hwnd()) {
    set_result_code(pseudo_dialog_cancelled);
  } else {
    return;
  }
  closing_ = true;
  PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT CALLBACK directory_panel_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_DESTROY) return 0;
  winTypeClass* object = find_window_object(window);
  auto* panel = object != nullptr && object->type == pseudo_dialog_type ? dynamic_cast<directoryPanelClass*>(object)
                                                                        : nullptr;
  if (panel == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  switch (message) {
    case WM_NOTIFY:
      return panel->on_notify(reinterpret_cast<const NMHDR*>(lparam), lparam);
    case WM_PAINT:
      panel->paint_window();
      return 0;
    case WM_CLOSE:
      panel->on_close();
      return 0;
    case WM_COMMAND:
      panel->on_command(reinterpret_cast<HWND>(lparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
