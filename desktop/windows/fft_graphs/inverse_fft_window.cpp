#include "desktop/windows/fft_graphs/inverse_fft_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "desktop/windows/graph_draw/graph_painter.h"
#include "desktop/windows/fft_graphs/inverse_fft_rules.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/drawing/r_bitmap.h"
#include "desktop/windows/fft_graphs/fft_window.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/windows/window_tree.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

constexpr const char* window_class = "ifft";
constexpr int black_index = 5;
constexpr int plot_mode = 9;

// Places in mm: the trackbars' left edge and size, how far above the bottom
// the lower and upper ones stand, and where their labels start.
constexpr double bar_x = 2.0;
constexpr double bar_width = 75.0;
constexpr double bar_height = 10.0;
constexpr double lower_bar_rise = 11.0;
constexpr double upper_bar_rise = 22.0;
constexpr double label_x = 79.0;
constexpr double band_rise = 10.0;

void text_at(HDC dc, int x, int y, const std::string& text) {
  utf8_text_out(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

int text_width(HDC dc, const std::string& text) {
  SIZE size = utf8_text_extent(dc, text.c_str(), static_cast<int>(text.size()));
  return size.cx;
}

HWND make_trackbar(HWND parent, int range, int position) {
  HWND bar = CreateWindowExA(0, TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 10, 10, parent,
                             reinterpret_cast<HMENU>(static_cast<intptr_t>(ifft_trackbar_id)), program_instance,
                             nullptr);
  if (!bar) return nullptr;
  // The range may exceed the 16 bits of TBM_SETRANGE.
  SendMessageA(bar, TBM_SETRANGEMIN, FALSE, 0);
  SendMessageA(bar, TBM_SETRANGEMAX, FALSE, range);
  SendMessageA(bar, TBM_SETPOS, TRUE, position);
  return bar;
}

}  // namespace

ifftClass::ifftClass(fftClass* spectrum, int x, int y, int width, int height)
    : winTypeClass(spectrum, window_type::inverse_transform),
      spectrum_window_(spectrum),
      spectrum_(spectrum->shared_spectrum()) {
  caption_ = "IF( " + spectrum->caption() + " )";
  const int32_t half = spectrum_ ? spectrum_->n / 2 : 0;
  hi_ = half;
  HWND window = CreateWindowExA(0, window_class, caption_.c_str(), WS_OVERLAPPEDWINDOW, x, y, width, height,
                                nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box("inverse fft window creation failed", "window", box_ok);
    return;
  }
  set_hwnd(window);
  build_menus();
  lower_bar_ = make_trackbar(window, half, 0);
  upper_bar_ = make_trackbar(window, half, half);
  show();
}

ifftClass::~ifftClass() = default;

void ifftClass::build_menus() {
  menu_ = CreateMenu();
  AppendMenuA(menu_, MF_STRING, ifft_file_menu, "File");
  if (HMENU file = attach_popup_menu(menu_, ifft_file_menu)) AppendMenuA(file, MF_STRING, ifft_print, "Print");
  AppendMenuA(menu_, MF_STRING, ifft_edit_menu, "Edit");
  if (HMENU edit = attach_popup_menu(menu_, ifft_edit_menu)) {
    AppendMenuA(edit, MF_STRING, ifft_copy_window, "Copy Window to Clipboard");
    AppendMenuA(edit, MF_STRING, ifft_copy_trace, "Copy to Trace Clipboard");
  }
  SetMenu(hwnd(), menu_);
  DrawMenuBar(hwnd());
}

double ifftClass::preflash_ms() const {
  for (winTypeClass* w = parent; w; w = w->parent) {
    if (w->type != thumbnail_window_type) continue;
    const testFileRecord* record = static_cast<thumbnailClass*>(w)->document().record();
    return record ? record->Config.PreTime : 0.0;
  }
  return 0.0;
}

void ifftClass::draw(HDC dc, const paper& scale) {
  if (!dc || !spectrum_) return;
  const spectrumData& data = *spectrum_;
  graph_.set_plot_area(2.0, scale.width_mm - 5.0, 2.0, scale.height_mm - 30.0, scale, plot_mode);

  std::vector<double> values = masked_inverse(data, lo_, hi_);
  std::vector<xyPair> points = inverse_points(values, data.fs, preflash_ms());
  const int32_t count = static_cast<int32_t>(points.size());
  if (!entry_) {
    entry_ = graph_.add_xy_pairs(points.data(), count, black_index);
    if (entry_) shown_ = entry_->active_trace();
  } else if (shown_) {
    shown_->set_points(black_index, points.data(), count);
  }

  HPEN pen = CreatePen(PS_SOLID, std::max(1, scale.scale_x(0.5)), RGB(0, 0, 0));
  HGDIOBJ old_pen = pen ? SelectObject(dc, pen) : nullptr;
  graph_.autoscale();
  graphPainter(graph_).draw(dc, scale);
  if (old_pen) SelectObject(dc, old_pen);
  if (pen) DeleteObject(pen);

  // The trackbars are windows on the screen: a printed page leaves them
  // where they are.
  if (lower_bar_ && !printing_flag)
    MoveWindow(lower_bar_, scale.px_x(bar_x), scale.px_y(scale.height_mm - lower_bar_rise), scale.scale_x(bar_width),
               scale.scale_y(bar_height), TRUE);
  if (upper_bar_ && !printing_flag)
    MoveWindow(upper_bar_, scale.px_x(bar_x), scale.px_y(scale.height_mm - upper_bar_rise), scale.scale_x(bar_width),
               scale.scale_y(bar_height), TRUE);
  draw_label(dc, scale, false);
  draw_label(dc, scale, true);

  HGDIOBJ old_font = SelectObject(dc, font);
  int old_mode = SetBkMode(dc, OPAQUE);
  COLORREF old_text = SetTextColor(dc, RGB(255, 255, 255));
  COLORREF old_back = SetBkColor(dc, RGB(0, 0, 255));
  const int wider = std::max(text_width(dc, inverse_limit_label(false, lo_, data.df)),
                             text_width(dc, inverse_limit_label(true, hi_, data.df)));
  band_text_ = inverse_band_text(lo_, hi_, data.df);
  text_at(dc, scale.px_x(label_x) + wider + scale.scale_x(5.0), scale.px_y(scale.height_mm - band_rise), band_text_);
  SetBkColor(dc, old_back);
  SetTextColor(dc, old_text);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);

  // The spectrum window is this window's owner in the tree: while this
  // window exists, so does it.
  if (!printing_flag && spectrum_window_->hwnd()) {
    spectrum_window_->bands = inverse_band_display(lo_, hi_, data.df);
    InvalidateRect(spectrum_window_->hwnd(), nullptr, TRUE);
  }
}

void ifftClass::draw_label(HDC dc, const paper& scale, bool upper) {
  if (!spectrum_) return;
  HGDIOBJ old_font = SelectObject(dc, font);
  int old_mode = SetBkMode(dc, OPAQUE);
  COLORREF old_text = SetTextColor(dc, RGB(255, 255, 255));
  COLORREF old_back = SetBkColor(dc, RGB(0, 0, 255));
  const double rise = (upper ? upper_bar_rise : lower_bar_rise) - 1.0;
  text_at(dc, scale.px_x(label_x), scale.px_y(scale.height_mm - rise),
          inverse_limit_label(upper, upper ? hi_ : lo_, spectrum_->df));
  SetBkColor(dc, old_back);
  SetTextColor(dc, old_text);
  SetBkMode(dc, old_mode);
  SelectObject(dc, old_font);
}

void ifftClass::scroll(HWND bar, int code, int position) {
  if (bar != lower_bar_ && bar != upper_bar_) return;
  const bool upper = bar == upper_bar_;
  switch (code) {
    case TB_THUMBTRACK: {
      // The message carries 16 bits of the position; a longer range is read
      // from the trackbar.
      if (!spectrum_ || spectrum_->n / 2 > 0xFFFF) position = static_cast<int>(SendMessageA(bar, TBM_GETPOS, 0, 0));
      (upper ? hi_ : lo_) = position;
      HDC dc = GetDC(hwnd());
      if (dc) {
        paper scale;
        scale.set_from_window(hwnd());
        draw_label(dc, scale, upper);
        ReleaseDC(hwnd(), dc);
      }
      break;
    }
    case TB_LINEUP:
    case TB_LINEDOWN:
    case TB_PAGEUP:
    case TB_PAGEDOWN:
    case TB_ENDTRACK:
      (upper ? hi_ : lo_) = static_cast<int32_t>(SendMessageA(bar, TBM_GETPOS, 0, 0));
      invalidate();
      break;
    default:
      break;
  }
}

void ifftClass::copy_to_trace_clipboard() {
  if (!shown_ || !spectrum_) return;
  trace_clipboard.store(shown_, inverse_clipboard_name(lo_, hi_, spectrum_->df).c_str());
}

intptr_t ifftClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case ifft_print:
          print_window(window, this, nullptr, "RARAZ");
          break;
        case ifft_copy_window:
          copy_window_to_clipboard(window);
          break;
        case ifft_copy_trace:
          copy_to_trace_clipboard();
          break;
        default:
          break;
      }
      return 0;
    case WM_HSCROLL:
      scroll(reinterpret_cast<HWND>(lparam), LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_VSCROLL:
      infomessage("VSCROLL");
      return 0;
    case WM_SIZE:
      invalidate();
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
