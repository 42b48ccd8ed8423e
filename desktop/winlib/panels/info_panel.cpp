#include "desktop/winlib/panels/info_panel.h"

#include <cstdio>

#include "desktop/winlib/windows/message_pump.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/fonts/program_fonts.h"

infoPanelClass::infoPanelClass(winTypeClass* parent, const char* title, double x, double y, double width,
                               double height, const char* heading)
    : winTypeClass(parent, info_panel_type), width_(width) {
  HWND window = CreateWindowExA(0, "infoPanel", title != nullptr ? title : "", WS_OVERLAPPEDWINDOW,
                                screen_paper.px_x(x), screen_paper.px_y(y), screen_paper.px_x(width),
                                screen_paper.px_y(height), nullptr, nullptr, program_instance, nullptr);
  if (window == nullptr) {
    MessageBoxA(nullptr, "*** infoPanelClass window creation failed", "window", MB_OK);
    return;
  }
  set_hwnd(window);
  paper scale;
  scale.copy_from(screen_paper);
  heading_.init(window, underlined_font != nullptr ? underlined_font : program_font, heading != nullptr ? heading : "",
                1, 2.0, 2.0, scale);
  count_label_.init(window, program_font, "Test File Count: ", 1, 50.0, 2.0, scale);
  count_.init(window, program_font, "      ", 1, 80.0, 2.0, scale);
  accepted_.init(window, program_font, "      ", 1, 80.0, 2.0, scale);
  messages_.init(window, program_font, "      ", 10, 2.0, 10.0, scale);
  ShowWindow(window, SW_SHOW);
}

infoPanelClass::~infoPanelClass() = default;

void infoPanelClass::set_message(int index, const char* text) {
  messages_.set_format_text(text != nullptr ? text : "", index);
  pump_one_message();
}

void infoPanelClass::set_count(int count) {
  char text[32];
  std::snprintf(text, sizeof text, "%5d", count);
  count_.set_format_text(text, 0);
}

void infoPanelClass::set_accepted(int count) {
  char text[32];
  std::snprintf(text, sizeof text, "Accepted: %5d", count);
  accepted_.set_format_text(text, 0);
}

void infoPanelClass::draw(HDC dc, const paper& scale) {
  const double old_bottom = messages_.bottom();
  messages_.measure(dc, scale);
  accepted_.measure(dc, scale);
  double wanted = width_;
  if (messages_.right() + 5.0 > wanted) wanted = messages_.right() + 5.0;
  if (accepted_.right() + 5.0 > wanted) wanted = accepted_.right() + 5.0;
  if (wanted > info_panel_widest_mm) wanted = info_panel_widest_mm;
  if (wanted != width_ || messages_.bottom() != old_bottom) {
    width_ = wanted;
    SetWindowPos(hwnd(), parent != nullptr ? parent->hwnd() : nullptr, 0, 0, scale.px_x(width_),
                 scale.px_y(messages_.bottom() + 10.0), SWP_NOMOVE | (parent != nullptr ? 0 : SWP_NOZORDER));
  }
  if (heading_.line_text(0)[0] != '\0') {
    heading_.measure(dc, scale);
    HGDIOBJ old = SelectObject(dc, table_brush(4));
    Rectangle(dc, scale.px_x(heading_.x() - 0.5), scale.px_y(heading_.y() - 0.5), scale.px_x(heading_.right() + 0.5),
              scale.px_y(heading_.bottom() + 0.5));
    SelectObject(dc, old);
    heading_.paint(dc, scale);
  }
  count_label_.paint(dc, scale);
  count_.move_x(count_label_.right() + 2.0);
  count_.paint(dc, scale);
  accepted_.move_x(count_.right() + 3.0);
  accepted_.paint(dc, scale);
  messages_.paint(dc, scale);
}

void infoPanelClass::ask_cancel() {
  cancel_asked_ = true;
  if (parent != nullptr && parent->type == 6) {
    if (auto* target = dynamic_cast<cancelRequestTarget*>(parent)) target->request_cancel();
  }
}

intptr_t infoPanelClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      paper scale;
      scale.set_from_window(hwnd(), screen_paper);
      draw(dc, scale);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      const double x = screen_paper.mm_x(static_cast<short>(LOWORD(lparam)));
      const double y = screen_paper.mm_y(static_cast<short>(HIWORD(lparam)));
      const bool on_heading =
          x >= heading_.left() && x <= heading_.right() && y >= heading_.top() && y <= heading_.bottom();
      if (on_heading && parent != nullptr && parent->type == 6) ask_cancel();
      return 0;
    }
    case WM_SYSCOMMAND:
      // The close box asks the work to stop; the owner deletes the panel.
      if ((wparam & 0xFFF0) == SC_CLOSE) {
        ask_cancel();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd(), message, wparam, lparam);
}
