#include "handheld/ui/frame/main_dialog_proc.h"

#include "handheld/ui/colour_brushes.h"
#include "handheld/engine/ids/handheld_ids.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/menus/menu_dispatch.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/frame/notices.h"
#include "handheld/ui/plotter/plotter.h"
#include "handheld/ui/frame/startup.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/ui/dialogs/unit_drawing.h"
#include "handheld/ui/frame/unit_resources.h"

std::atomic<bool> first_paint_done{false};

namespace {

// The soft keys are drawn here, on the brush their colour message gives
// (the blue key with white text), so that they show their colours.
INT_PTR draw_key(HWND dialog, const DRAWITEMSTRUCT& item) {
  if (item.CtlType != ODT_BUTTON) return FALSE;
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageW(dialog, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(item.hDC), reinterpret_cast<LPARAM>(item.hwndItem)));
  if (brush == nullptr) brush = GetSysColorBrush(COLOR_BTNFACE);
  RECT area = item.rcItem;
  FillRect(item.hDC, &area, brush);
  DrawEdge(item.hDC, &area, (item.itemState & ODS_SELECTED) != 0 ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  wchar_t caption[64] = {};
  GetWindowTextW(item.hwndItem, caption, 64);
  HGDIOBJ oldFont = SelectObject(item.hDC, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, item.CtlID == KEY_LOWER_RIGHT ? colour_of(7) : colour_of(5));
  DrawTextW(item.hDC, caption, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(item.hDC, oldFont);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      start_up_main_dialog(dialog);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(dialog, &paint);
      RECT client;
      GetClientRect(dialog, &client);
      FillRect(dc, &client, brushes[5] != nullptr ? brushes[5] : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      EndPaint(dialog, &paint);
      if (!first_paint_done.exchange(true)) {
        version_received = 0;
        send_8051_string("v");
      }
      return TRUE;
    }
    case WM_CTLCOLORBTN:
      return reinterpret_cast<INT_PTR>(key_colour_brush(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))));
    case WM_DRAWITEM:
      return draw_key(dialog, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return TRUE;
    case WM_USER:
      return handle_main_notice(wParam, lParam);
    case WM_COMMAND:
      // A touched key has raised the main window over the pop-up pages.
      if (lParam != 0 && HIWORD(wParam) == BN_CLICKED) raise_page_windows();
      return dispatch_menu_command(LOWORD(wParam), lParam);
    case WM_DESTROY:
      install_plotter_screen(false);
      free_unit_resources();
      if (main_dialog == dialog) main_dialog = nullptr;
      return TRUE;
    default:
      return FALSE;
  }
}
