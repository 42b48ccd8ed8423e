#include "desktop/windows/device_link/device_link.h"

#include <cstring>
#include <string>

#include "desktop/windows/device_link/device_link_ids.h"
#include "desktop/winlib/panels/info_panel.h"
#include "desktop/winlib/messages/messages.h"
#include "platform/modal/modal_ui.h"
#include "platform/rapi/rapi.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/data/test_file_reading.h"
#include "desktop/winlib/panels/tree_items.h"
#include "desktop/winlib/values/wide_text.h"

namespace {

// The link's program-wide state.
infoPanelClass* status_panel = nullptr;
char chosen_path[unit_path_size] = "";
bool cancelled = true;
HWND path_line = nullptr;
HWND tree_window = nullptr;
HTREEITEM root_item = nullptr;

void close_status_panel() {
  if (status_panel != nullptr) PostMessageA(status_panel->hwnd(), WM_CLOSE, 0, 0);
  status_panel = nullptr;
}

void status_title(const char* text) {
  if (status_panel != nullptr) status_panel->set_title(text);
}

void status_line(const char* text) {
  if (status_panel != nullptr) status_panel->set_message(0, text);
}

bool ends_with_nocase(const char* text, const char* suffix) {
  const size_t n = std::strlen(text), m = std::strlen(suffix);
  return n >= m && _stricmp(text + n - m, suffix) == 0;
}

void keep_path(const char* path) {
  std::strncpy(chosen_path, path, unit_path_size - 1);
  chosen_path[unit_path_size - 1] = '\0';
}

// The first child's text of an item that has one (bit 1), to be skipped
// when its folder is listed.
std::string name_to_skip(HWND tree, HTREEITEM item) {
  if (!tree_item_has_flags(tree, item, unit_item_has_child)) return std::string();
  HTREEITEM child = tree_first_child(tree, item);
  return child != nullptr ? tree_item_text(tree, child) : "";
}

HTREEITEM add_child(HWND tree, HTREEITEM parent, const char* text, bool folder) {
  HTREEITEM item = tree_insert_item(tree, parent, text);
  if (item == nullptr) return nullptr;
  if (folder) tree_add_item_flags(tree, item, unit_item_folder);
  tree_add_item_flags(tree, parent, unit_item_has_child);
  return item;
}

struct listing {
  HWND tree;
  HTREEITEM item;
  std::string skip;
  bool files_too;
  int count;
};

void add_listed_entry(const unitEntry& entry, void* context) {
  auto* list = static_cast<listing*>(context);
  if (entry.name[0] == '.' || _stricmp(entry.name, list->skip.c_str()) == 0) return;
  if (!list->files_too) {
    if (!entry.folder) return;
  } else {
    if (ends_with_nocase(entry.name, ".txt")) return;
    ++list->count;
    char line[64];
    std::snprintf(line, sizeof line, "-- Expanding (%2d) --", list->count);
    status_line(line);
  }
  add_child(list->tree, list->item, entry.name, entry.folder);
}

void list_folder(HWND tree, HTREEITEM item, bool files_too) {
  if (tree_item_has_flags(tree, item, unit_item_listed)) return;
  listing list{tree, item, name_to_skip(tree, item), files_too, 0};
  std::string pattern = tree_item_path(tree, item);
  pattern += "*";
  tree_add_item_flags(tree, item, unit_item_listed);
  find_unit_entries(pattern.c_str(), add_listed_entry, &list, false);
}

void on_selection(HWND dialog, const NMTREEVIEWA* change) {
  HTREEITEM item = change->itemNew.hItem;
  HTREEITEM previous = change->itemOld.hItem;
  if (tree_item_has_flags(tree_window, item, unit_item_folder)) {
    if (previous != nullptr && previous != root_item) {
      if (tree_item_has_flags(tree_window, previous, unit_item_folder)) {
        TreeView_Expand(tree_window, previous, TVE_COLLAPSE);
      } else {
        HTREEITEM parent = tree_parent_item(tree_window, previous);
        if (parent != nullptr && parent != item) TreeView_Expand(tree_window, parent, TVE_COLLAPSE);
      }
    }
    if (item == root_item) return;
    expand_unit_item(tree_window, item);
    TreeView_Expand(tree_window, item, TVE_EXPAND);
  }
  const char* path = tree_item_path(tree_window, item);
  SetWindowTextA(path_line, path);
  keep_path(path);
  if (ends_with_nocase(chosen_path, ".tst")) {
    cancelled = false;
    EndDialog(dialog, IDOK);
  }
}

// A file of the unit's card, read whole: its size must be exactly size.
bool read_unit_file(const char* path, void* bytes, uint32_t size, fileTime* file_time_out) {
  std::wstring wide = wide_text(path);
  if (!path || wide.empty() || wide.size() >= static_cast<size_t>(unit_path_size)) {
    errormessage("*** CAN NOT OPEN FILE [%s] ***\nfrom UNIT.", path ? path : "");
    return false;
  }
  HANDLE file = CeCreateFile(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errormessage("*** CAN NOT OPEN FILE [%s] ***\nfrom UNIT.", path);
    return false;
  }
  bool good = true;
  FILETIME written{};
  if (file_time_out) {
    // A test without its time would be ordered wrongly in its session:
    // nothing is loaded.
    if (!CeGetFileTime(file, nullptr, nullptr, &written)) {
      errormessage("*** CeGetFileTime FAILED ***");
      CeCloseHandle(file);
      return false;
    }
    *file_time_out = fileTime{written.dwLowDateTime, written.dwHighDateTime};
  }
  DWORD high = 0;
  DWORD low = CeGetFileSize(file, &high);
  if (high != 0 || low != size) {
    errormessage("*** File [%s] is the wrong size ***\nfrom UNIT.", path);
    good = false;
  }
  // The link may hand over a file in pieces: read until all has come.
  auto* at = static_cast<uint8_t*>(bytes);
  uint32_t done = 0;
  while (good && done < size) {
    DWORD got = 0;
    if (!CeReadFile(file, at + done, size - done, &got, nullptr) || got == 0) {
      errormessage("*** UNABLE TO 'ReadFile' [%s] ***\nfrom UNIT.", path);
      good = false;
    }
    done += got;
  }
  CeCloseHandle(file);
  return good;
}

}  // namespace

bool device_link_built() { return true; }

const char* program_title_suffix() { return ""; }

bool find_unit_entries(const char* pattern, void (*visit)(const unitEntry& entry, void* context), void* context,
                       bool first_only) {
  std::wstring wide = wide_text(pattern);
  if (wide.empty() || wide.size() >= static_cast<size_t>(unit_path_size)) return false;
  CE_FIND_DATA found;
  HANDLE search = CeFindFirstFile(wide.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    unitEntry entry{};
    found.cFileName[MAX_PATH - 1] = L'\0';  // whatever the unit sent, the name ends in its field
    // A name longer than its field here is left out whole, never cut.
    std::string name = utf8_text(found.cFileName);
    if (name.size() < static_cast<size_t>(unit_path_size)) std::memcpy(entry.name, name.c_str(), name.size() + 1);
    entry.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (entry.name[0] != '\0') visit(entry, context);
  } while (!first_only && CeFindNextFile(search, &found));
  CeFindClose(search);
  return true;
}

void list_unit_subfolders(HWND tree, HTREEITEM item) { list_folder(tree, item, false); }

void expand_unit_item(HWND tree, HTREEITEM item) {
  if (tree_item_has_flags(tree, item, unit_item_listed)) return;
  status_title("-- Expanding --");
  list_folder(tree, item, true);
}

INT_PTR CALLBACK unit_tree_dialog_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      path_line = GetDlgItem(dialog, IDC_UNIT_PATH);
      SetWindowTextA(path_line, "hello");
      tree_window = GetDlgItem(dialog, IDC_UNIT_TREE);
      if (tree_window == nullptr) {
        errormessage("*** UNABLE TO GET A TREE HANDLE ***\n%s", last_error_text(0));
        return TRUE;
      }
      root_item = tree_insert_item(tree_window, TVI_ROOT, "\\Storage Card");
      if (root_item == nullptr) {
        errormessage("*** UNABLE TO SET ROOT TREE ITEM ***\n%s", last_error_text(0));
        return TRUE;
      }
      tree_add_item_flags(tree_window, root_item, unit_item_folder);
      keep_path(tree_item_path(tree_window, root_item));
      list_unit_subfolders(tree_window, root_item);
      TreeView_Expand(tree_window, root_item, TVE_EXPAND);
      status_title("Sadrin is on line.");
      return TRUE;
    }
    case WM_CLOSE:
      PostMessageA(dialog, WM_COMMAND, IDC_UNIT_CANCEL, 0);
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->hwndFrom != tree_window) return FALSE;
      const auto* change = reinterpret_cast<const NMTREEVIEWA*>(lparam);
      if (header->code == TVN_ITEMEXPANDINGA) {
        if (!tree_item_has_flags(tree_window, change->itemNew.hItem, unit_item_listed)) {
          expand_unit_item(tree_window, change->itemNew.hItem);
        }
        return FALSE;
      }
      if (header->code == TVN_SELCHANGEDA) on_selection(dialog, change);
      return FALSE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDC_UNIT_CANCEL) {
        cancelled = true;
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

const char* connect_to_unit(winTypeClass* parent) {
  close_status_panel();
  status_panel = new infoPanelClass(parent, "  --- CHECKING USB CONNECTION ---", 10, 5, 100, 50, "");
  RAPIINIT init = {};
  init.cbSize = sizeof init;
  if (CeRapiInitEx(&init) != 0) {
    errormessage("*** Rapi Initialization failed");
    close_status_panel();
    return nullptr;
  }
  DWORD waited = WaitForSingleObject(init.heRapiInit, 5000);
  if (waited != WAIT_OBJECT_0) {
    errormessage("*** Rapi Initialization timed out.");
    close_status_panel();
    return nullptr;
  }
  if (init.hrRapiInit != 0) {
    errormessage("*** Rapi Initialization failed.");
    close_status_panel();
    return nullptr;
  }
  install_unit_file_reader(read_unit_file);
  status_title("Directories being mapped.");
  cancelled = true;
  chosen_path[0] = '\0';
  modal_dialog_box(program_instance, MAKEINTRESOURCEA(IDD_UNIT_TREE), parent != nullptr ? parent->hwnd() : nullptr,
                   unit_tree_dialog_procedure, 0);
  close_status_panel();
  tree_window = nullptr;
  path_line = nullptr;
  root_item = nullptr;
  return cancelled ? nullptr : chosen_path;
}
