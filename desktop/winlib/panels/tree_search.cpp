#include "desktop/winlib/panels/tree_search.h"

#include <cstdio>
#include <cstring>

#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/files/file_dialogs.h"
#include "desktop/winlib/panels/folder_entries.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/settings/registry_settings.h"
#include "desktop/winlib/panels/tree_items.h"
#include "desktop/winlib/windows/window_classes.h"
#include "desktop/winlib/windows/window_helpers.h"

namespace {

constexpr int path_size = 260;

void register_tree_class() {
  static bool registered = false;
  if (registered) return;
  registered = register_window_class(tree_search_procedure, "tree", program_icon(first_icon_id), IDC_ARROW,
                                     system_background, 0);
}

}  // namespace

ceTreeSearchClass::ceTreeSearchClass(winTypeClass* parent, int x, int y, const char* title, const char* start_path)
    : winTypeClass(parent, tree_search_type) {
  register_tree_class();
  char caption[path_size + 64];
  std::snprintf(caption, sizeof caption, "Directory Selection for %s", title != nullptr ? title : "");
  HWND window = CreateWindowExA(0, "tree", caption, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 480, 500,
                                parent != nullptr ? parent->hwnd() : nullptr, nullptr, program_instance, nullptr);
  if (window == nullptr) {
    errormessage(" *** directory window creation failed ***");
    return;
  }
  set_hwnd(window);
  const paper& scale = screen_paper;
  tree_ = CreateWindowExA(0, WC_TREEVIEWA, "Tree View", WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASLINES, 10,
                          scale.px_y(20.0), 450, 400, window, reinterpret_cast<HMENU>(tree_search_view_id),
                          program_instance, nullptr);
  // The chosen path above the buttons, as wide as the tree.
  path_edit_ = new editClass(window, program_font, scale.mm_x(10), 3.0, scale, edit_left, 40, ES_AUTOHSCROLL);
  path_edit_->set_width(scale.mm_x(450));
  path_edit_->rescale(nullptr, scale);
  subs_box_ = create_child_window(window, "BUTTON", "Use Subdirectories", WS_CHILD | WS_VISIBLE | BS_CHECKBOX,
                                  scale.px_x(90.0), scale.px_y(11.0), scale.px_x(47.0), scale.px_y(6.0));
  search_button_ = create_child_window(window, "BUTTON", "System Search", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                       scale.px_x(10.0), scale.px_y(11.0), scale.px_x(47.0), scale.px_y(6.0));
  for (HWND control : {subs_box_, search_button_}) {
    if (control != nullptr && program_font != nullptr) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(program_font), TRUE);
    }
  }
  start_path_ = start_path != nullptr ? std::string(start_path).substr(0, path_size - 1) : std::string();
  const char* use_subs = get_program_setting(tree_search_subs_setting, true);
  if (use_subs != nullptr && std::strcmp(use_subs, "TRUE") == 0) {
    check_button(subs_box_);
  } else {
    uncheck_button(subs_box_);
  }
}

ceTreeSearchClass::~ceTreeSearchClass() { delete path_edit_; }

void ceTreeSearchClass::draw(HDC, const paper&) {}

const char* ceTreeSearchClass::current_path() { return tree_path_of(tree_, current_); }

void ceTreeSearchClass::show_path(const char* path) {
  if (tree_ == nullptr) return;
  ready_ = 0;
  SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  current_ = nullptr;
  selected_ = false;
  const std::string text = path != nullptr ? path : "";
  HTREEITEM parent = TVI_ROOT;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\\', start);
    if (end == std::string::npos) end = text.size();
    if (end > start) {
      HTREEITEM item = tree_insert_item(tree_, parent, text.substr(start, end - start).c_str());
      if (item == nullptr) break;
      tree_set_item_param(tree_, item, tree_listed);
      if (parent != TVI_ROOT) SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
      parent = item;
    }
    start = end + 1;
  }
  if (parent != TVI_ROOT) SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  start_path_ = text.substr(0, path_size - 1);
  // The path is shown: expanding an item now lists its sub-folders.
  ready_ = 1;
}

void ceTreeSearchClass::expand_item(HTREEITEM item) {
  if (item == nullptr || tree_item_flags(tree_, item, tree_read)) return;
  // An item of a shown path already holds the next part of the path.
  std::string shown_child;
  if (tree_item_flags(tree_, item, tree_listed)) {
    HTREEITEM child = tree_first_child(tree_, item);
    if (child != nullptr) shown_child = tree_item_text(tree_, child);
  }
  const std::string folder = tree_path_of(tree_, item);
  for (const folderEntry& entry : folder_entries(folder.c_str(), false)) {
    if (entry.name != shown_child) tree_insert_item(tree_, item, entry.name.c_str());
  }
  tree_set_item_param(tree_, item, tree_read);
}

void ceTreeSearchClass::system_search() {
  const char* setting = get_program_setting(tree_search_path_setting, true);
  std::string start = setting != nullptr ? setting : "";
  if (!start.empty() && start.back() == '\\') start += '*';
  static const char filter[] = "All Files\0*.*\0";
  const char* chosen = file_name_dialog(hwnd(), "Select a file in the desired path", start.c_str(), filter, "trv",
                                        nullptr, 0, false, true, 0);
  if (chosen == nullptr) return;
  std::string folder = chosen;
  const size_t cut = folder.rfind('\\');
  folder = cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
  ShowWindow(hwnd(), SW_SHOW);
  show_path(folder.c_str());
}

LRESULT ceTreeSearchClass::on_notify(const NMHDR* header, LPARAM lparam) {
  switch (header->code) {
    case TVN_ITEMEXPANDINGA: {
      const auto* view = reinterpret_cast<const NMTREEVIEWA*>(lparam);
      if (ready_ == 1 && (view->action & TVE_EXPAND)) expand_item(view->itemNew.hItem);
      return 0;
    }
    case TVN_SELCHANGEDA: {
      const auto* view = reinterpret_cast<const NMTREEVIEWA*>(lparam);
      current_ = view->itemNew.hItem;
      selected_ = true;
      if (path_edit_ != nullptr) path_edit_->set_text(tree_path_of(tree_, current_));
      return 0;
    }
    case NM_DBLCLK:
      // The item's flags as they are now, not as they were when selected.
      if (selected_ && current_ != nullptr && tree_item_param(tree_, current_) == 0) {
        expand_item(current_);
        SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(current_));
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

void ceTreeSearchClass::on_close() {
  char path[path_size] = {};
  if (path_edit_ != nullptr) path_edit_->read_text(path, sizeof path);
  set_program_setting(tree_search_path_setting, path);
  hide();
}

void ceTreeSearchClass::on_command(HWND control, int notification) {
  if (notification != 0 || control == nullptr) return;
  if (control == subs_box_) {
    const bool checked = toggle_button(subs_box_);
    set_program_setting(tree_search_subs_setting, checked ? "TRUE" : "FALSE");
  } else if (control == search_button_) {
    system_search();
  }
}

LRESULT CALLBACK tree_search_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* search = dynamic_cast<ceTreeSearchClass*>(find_window_object(window));
  if (search == nullptr) return DefWindowProcA(window, message, wparam, lparam);
  switch (message) {
    case WM_NOTIFY:
      return search->on_notify(reinterpret_cast<const NMHDR*>(lparam), lparam);
    case WM_PAINT:
      search->paint_window();
      return 0;
    case WM_CLOSE:
      search->on_close();
      return 0;
    case WM_COMMAND:
      search->on_command(reinterpret_cast<HWND>(lparam), HIWORD(wparam));
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
