#include "desktop/windows/samples/sample_select.h"

#include <algorithm>
#include <cstdio>

#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/data/samples/sample_layout.h"
#include "desktop/data/samples_views.h"
#include "desktop/winlib/messages/system_text.h"

namespace {

constexpr double opening_width_mm = 100.0;
constexpr double opening_height_mm = 150.0;
constexpr DWORD window_style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The selection windows alive, so that a samples list can close those over it.
std::vector<sampleSelectWindowClass*> open_selections;

}  // namespace

sampleSelectWindowClass::sampleSelectWindowClass(winTypeClass* parent_object, const char* caption, double x,
                                                 double y, samplesListClass* samples)
    : winTypeClass(parent_object, samples_window_type), samples_(samples) {
  open_selections.push_back(this);
  install_samples_views_closer(close_sample_selections);
  const paper& scale = screen_paper;
  HWND window = CreateWindowExA(0, "samples_window", caption ? caption : "", window_style, scale.px_x(x),
                                scale.px_y(y), scale.scale_x(opening_width_mm), scale.scale_y(opening_height_mm),
                                nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box(fmt("sample select window creation failed\n%s", last_error_text(0)), "window", box_ok);
    return;
  }
  set_hwnd(window);

  menu_ = CreateMenu();
  AppendMenuA(menu_, MF_STRING, samples_file_menu, "File");
  if (HMENU file = attach_popup_menu(menu_, samples_file_menu)) {
    AppendMenuA(file, MF_STRING, samples_print, "Print");
    AppendMenuA(file, MF_STRING, samples_close, "Close");
  }
  SetMenu(window, menu_);
  build_grid(y);
  show();
}

sampleSelectWindowClass::~sampleSelectWindowClass() {
  open_selections.erase(std::remove(open_selections.begin(), open_selections.end(), this), open_selections.end());
  if (parent) parent->send_message(WM_USER, samples_notice_closing, 0);
  windows_.clear();
  remove_window_children(node);
}

void sampleSelectWindowClass::build_grid(double y) {
  if (!samples_) return;
  int count = samples_->get_count();
  sampleGrid grid = sample_grid(count, screen_paper.height_mm);
  double cell_width = sample_cell_mm;
  double cell_height = sample_cell_mm;
  for (int k = 0; k < count; k++) {
    double x_mm = 0.0;
    double y_mm = 0.0;
    sample_grid_place(grid, k, cell_width, cell_height, &x_mm, &y_mm);
    auto* cell = new sampleWindowClass(this, x_mm, y_mm, k, samples_->get_trace(k), samples_->get_sample_flag(k) != 0);
    windows_.push_back(cell);
    if (k == 0) {
      // The first window's own size sets the pitch of the others.
      cell_width = cell->width();
      cell_height = cell->height();
      windowBox box = sample_selection_box(grid, cell_width, cell_height, y, screen_paper.width_mm,
                                           screen_paper.height_mm);
      set_position(box.x, box.y, box.width, box.height, screen_paper);
    }
  }
}

void sampleSelectWindowClass::draw(HDC, const paper&) {
  // The sample windows draw themselves.
}

traceClass* sampleSelectWindowClass::average() { return samples_ ? samples_->average() : nullptr; }

const char* sampleSelectWindowClass::title() {
  static char caption[65];
  caption[0] = 0;
  if (hwnd()) GetWindowTextA(hwnd(), caption, sizeof caption);
  return caption;
}

int sampleSelectWindowClass::apply_checks() {
  if (!samples_) return 1;
  int checked = 0;
  for (sampleWindowClass* w : windows_)
    if (w->is_included()) checked++;
  if (checked == 0) return 1;
  for (sampleWindowClass* w : windows_) samples_->set_sample_flag(w->number(), w->is_included() ? 1 : 0);
  if (parent) parent->send_message(WM_USER, samples_notice_changed, 0);
  return 0;
}

intptr_t sampleSelectWindowClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == samples_close) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
      }
      if (LOWORD(wparam) == samples_print) {
        print();
        return 0;
      }
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_USER:
      return apply_checks();
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

void close_sample_selections(const samplesListClass* samples) {
  std::vector<sampleSelectWindowClass*> closing;
  for (sampleSelectWindowClass* w : open_selections)
    if (w->samples() == samples) closing.push_back(w);
  for (sampleSelectWindowClass* w : closing) delete w;
}
