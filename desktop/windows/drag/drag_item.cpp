#include "desktop/windows/drag/drag_item.h"

#include <cstdio>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/windows/window_tree.h"

namespace {

void collect_below(windowNode* node, uint32_t type, HWND* windows, int limit, int& count) {
  for (; node != nullptr && count < limit; node = node->next) {
    if (node->type == type && node->object != nullptr && node->hwnd != nullptr) windows[count++] = node->hwnd;
    collect_below(node->first_child, type, windows, limit, count);
  }
}

}  // namespace

int collect_windows(uint32_t type, HWND* windows, int limit) {
  int count = 0;
  collect_below(window_tree_root().next, type, windows, limit, count);
  return count;
}

dragItemClass::dragItemClass(winTypeClass* parent, const char* title, double x, double y)
    : winTypeClass(parent, drag_item_type) {
  const paper& scale = screen_paper;
  HWND window = CreateWindowExA(0, "dandd_window", title != nullptr ? title : "", WS_BORDER | WS_SYSMENU,
                                scale.px_x(x), scale.px_y(y), scale.px_x(20.0), scale.px_y(40.0),
                                parent != nullptr ? parent->hwnd() : nullptr, nullptr, program_instance, nullptr);
  if (window == nullptr) {
    char text[400];
    std::snprintf(text, sizeof text, "text edit window creation failed\n%s", last_error_text(0));
    show_message_box(text, "window", MB_OK);
    // No window, no drag: a later press may start one.
    thumbnail_drag_active = 0;
    return;
  }
  set_hwnd(window);
  // Comparison graphs (type 4) take drops.
  target_count_ = static_cast<uint32_t>(collect_windows(window_type::comparison_graph, targets_, drag_target_limit));
  if (target_count_ == 0) {
    ending_ = true;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return;
  }
  graph_.set_plot_area(1.0, 19.0, 1.0, 39.0, scale, 9);
  if (const traceClass* trace = trace_clipboard.loaded_trace()) graph_.add_trace(trace);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  SetCapture(window);
}

dragItemClass::~dragItemClass() { thumbnail_drag_active = 0; }

void dragItemClass::draw(HDC dc, const paper& scale) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  HGDIOBJ old_brush = SelectObject(dc, table_brush(7));
  Rectangle(dc, scale.px_x(1.0), scale.px_y(1.0), client.right - scale.px_x(1.0), client.bottom - scale.px_y(1.0));
  graph_.set_plot_area(1.0, scale.width_mm - 1.0, 1.0, scale.height_mm - 1.0, scale, 9);
  graph_.autoscale();
  graphPainter(graph_).draw(dc, scale);
  SelectObject(dc, old_brush);
  SetBkColor(dc, colour_value(1));
  SetTextColor(dc, colour_value(5));
  SetBkMode(dc, OPAQUE);
}

bool dragItemClass::drop_at(POINT screen) {
  for (uint32_t i = 0; i < target_count_; ++i) {
    HWND target = targets_[i];
    // Looked up again: a graph closed during the drag is passed over.
    winTypeClass* object = find_window_object(target);
    auto* graph = object != nullptr && object->type == window_type::comparison_graph
                      ? dynamic_cast<comparisonPanelClass*>(object)
                      : nullptr;
    if (graph == nullptr) continue;
    POINT at = screen;
    ScreenToClient(target, &at);
    if (!graph->graph().in_plot_area(at.x, at.y)) continue;
    graph->add_trace(&trace_clipboard);
    InvalidateRect(target, nullptr, TRUE);
    return true;
  }
  return false;
}

void dragItemClass::end_drag() {
  ending_ = true;
  if (GetCapture() == hwnd()) ReleaseCapture();
  thumbnail_drag_active = 0;
  SendMessageA(hwnd(), WM_CLOSE, 0, 0);
}

intptr_t dragItemClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_MOUSEMOVE: {
      RECT frame{}, client{};
      GetWindowRect(window, &frame);
      GetClientRect(window, &client);
      const int x = static_cast<short>(LOWORD(lparam));
      const int y = static_cast<short>(HIWORD(lparam));
      SetWindowPos(window, nullptr, frame.left + x - client.right / 2, frame.top + y - client.bottom / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ShowWindow(window, SW_SHOWNOACTIVATE);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (ending_) return 0;
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ClientToScreen(window, &at);
      // Outside every target the drag goes on.
      if (drop_at(at) && find_window_object(window) == this) end_drag();
      return 0;
    }
    case WM_RBUTTONDOWN:
      if (!ending_) end_drag();
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the mouse: the drag cannot go on.
      if (!ending_) end_drag();
      return 0;
    case WM_PAINT:
      paint_window();
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
