#include "desktop/winlib/tests/window_texts.h"

#include <fstream>
#include <iterator>

std::string window_text(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string menu_text(HMENU menu) {
  std::string out;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; i++) {
    char text[128] = {};
    MENUITEMINFOA item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item);
    if (!out.empty()) out += "|";
    if (item.fType & MFT_SEPARATOR) {
      out += "-";
      continue;
    }
    out += std::to_string(item.wID) + " " + text;
    if (item.fState & MFS_CHECKED) out += "*";
    if (item.hSubMenu) out += "[" + menu_text(item.hSubMenu) + "]";
  }
  return out;
}

std::string file_text(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
