#include "desktop/windows/samples/sample_window.h"

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/data/samples/sample_layout.h"
#include "desktop/winlib/messages/system_text.h"
#include "desktop/data/trace_clipboard.h"

namespace {

constexpr int white = 9;

}  // namespace

sampleWindowClass::sampleWindowClass(winTypeClass* parent_object, double x, double y, int number,
                                     const traceClass* trace, bool included)
    : winTypeClass(parent_object, samples_window_type),
      positionClass(x, y, sample_cell_mm, sample_cell_mm),
      cell_(number, trace) {
  const paper& scale = screen_paper;
  HWND parent_window = parent_object ? parent_object->hwnd() : nullptr;
  HWND window = CreateWindowExA(0, "sample_window", "SAMPLE WINDOW", WS_CHILD | WS_VISIBLE, scale.px_x(x),
                                scale.px_y(y), scale.scale_x(sample_cell_mm), scale.scale_y(sample_cell_mm),
                                parent_window, nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box(fmt("sample window creation failed\n%s", last_error_text(0)), "window", box_ok);
    return;
  }
  set_hwnd(window);

  popup_ = CreatePopupMenu();
  AppendMenuA(popup_, MF_STRING, sample_copy_command, "TCOPY");

  check_ = new checkBoxClass(window, font, 2.0, sample_cell_mm - 7.0, scale, fmt("Use %2.2d", number), 1);
  if (included) check_->check();
  cell_.graph().set_plot_area(2.0, sample_cell_mm - 2.0, 2.0, check_->top() - 0.5, scale, white);
}

sampleWindowClass::~sampleWindowClass() {
  delete check_;
  if (popup_) DestroyMenu(popup_);
}

bool sampleWindowClass::is_included() const { return check_ && check_->is_checked(); }

void sampleWindowClass::set_included(bool included) {
  if (!check_) return;
  if (included)
    check_->check();
  else
    check_->uncheck();
}

void sampleWindowClass::draw(HDC dc, const paper& scale) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  RECT inside{client.left + scale.scale_x(1.0), client.top + scale.scale_y(1.0), client.right - scale.scale_x(1.0),
              client.bottom - scale.scale_y(1.0)};
  FillRect(dc, &inside, table_brush(white));
  cell_.draw_graph(dc, scale);
}

// The selection window answers 0 when it took the change; otherwise (the
// last included sample) the box goes back.
void sampleWindowClass::check_box_clicked() {
  check_->toggle();
  if (!parent) return;
  if (parent->send_message(WM_USER, 0, number()) != 0) check_->toggle();
}

intptr_t sampleWindowClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_COMMAND:
      if (check_ && reinterpret_cast<HWND>(lparam) == check_->hwnd() && HIWORD(wparam) == BN_CLICKED)
        check_box_clicked();
      return 0;
    case WM_CTLCOLORSTATIC:
      // The check box stands on the white of the sample's area.
      SetBkColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
      return reinterpret_cast<intptr_t>(table_brush(white));
    case WM_RBUTTONDOWN: {
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ClientToScreen(window, &at);
      if (popup_ && track_popup_command(popup_, at.x, at.y, window) == sample_copy_command)
        trace_clipboard.store(trace(), nullptr);
      return DefWindowProcA(window, message, wparam, lparam);
    }
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
