// The bitmap on the clipboard, as a test reads it after a copy.
#ifndef DESKTOP_WINLIB_TESTS_CLIPBOARD_BITMAP_H
#define DESKTOP_WINLIB_TESTS_CLIPBOARD_BITMAP_H

#include <windows.h>

// Fills info with the description of the clipboard's bitmap; false when the
// clipboard cannot be opened or holds none.
inline bool clipboard_bitmap(BITMAP* info) {
  if (!OpenClipboard(nullptr)) return false;
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  bool got = bitmap && GetObjectA(bitmap, sizeof *info, info) != 0;
  CloseClipboard();
  return got;
}

#endif
