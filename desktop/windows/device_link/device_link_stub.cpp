// The device link in the build without it: no unit is ever connected.
#include "desktop/windows/device_link/device_link.h"

bool device_link_built() { return false; }

const char* program_title_suffix() { return "V"; }

const char* connect_to_unit(winTypeClass*) { return nullptr; }

INT_PTR CALLBACK unit_tree_dialog_procedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void list_unit_subfolders(HWND, HTREEITEM) {}

void expand_unit_item(HWND, HTREEITEM) {}

bool find_unit_entries(const char*, void (*)(const unitEntry&, void*), void*, bool) { return false; }
