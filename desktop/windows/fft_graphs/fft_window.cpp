#include "desktop/windows/fft_graphs/fft_window.h"

#include <commctrl.h>

#include <vector>

#include "desktop/windows/fft_graphs/inverse_fft_window.h"
#include "desktop/winlib/controls/menus.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/controls/popup_menu_ui.h"
#include "desktop/winlib/drawing/printing.h"
#include "desktop/winlib/drawing/r_bitmap.h"
#include "desktop/winlib/controls/status_bar.h"
#include "desktop/winlib/windows/window_helpers.h"

namespace {

constexpr const char* window_class = "fft";
constexpr int status_bar_id = 2;

// The trace's stored values and their time span in seconds.
spectrumResult spectrum_of(const traceClass* trace, spectrumData& out) {
  if (!trace) return spectrumResult::no_data;
  const int32_t n = trace->get_count();
  std::vector<double> values(n > 0 ? n : 0);
  for (int32_t i = 0; i < n; i++) values[i] = trace->y_at(i);
  const double span = n > 0 ? (trace->xmax() - trace->xmin()) / 1000.0 : 0.0;
  return compute_spectrum(values.data(), n, span, out);
}

}  // namespace

fftClass::fftClass(winTypeClass* parent_object, const char* name, const traceClass* trace, int x, int y, int width,
                   int height)
    : winTypeClass(parent_object, window_type::spectrum) {
  caption_ = std::string("FF( ") + (name ? name : "") + " )";
  auto data = std::make_shared<spectrumData>();
  spectrumResult result = spectrum_of(trace, *data);
  if (result == spectrumResult::no_data) infomessage("%s", no_fft_data_text);
  if (result != spectrumResult::ok) return;  // a refused length has been reported by the transform
  spectrum_ = data;
  bands = full_band_display(data->fs);

  HWND window = CreateWindowExA(0, window_class, caption_.c_str(), WS_OVERLAPPEDWINDOW, x, y, width, height,
                                nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box("fft window creation failed", "window", box_ok);
    return;
  }
  set_hwnd(window);
  build_menus();
  status_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                            reinterpret_cast<HMENU>(static_cast<intptr_t>(status_bar_id)), program_instance, nullptr);
  if (status_) split_status_bar(status_, width);
  show();
}

fftClass::~fftClass() {
  if (popup_) DestroyMenu(popup_);
}

void fftClass::build_menus() {
  menu_ = CreateMenu();
  struct entry {
    int menu_id;
    const char* menu_text;
    int id;
    const char* text;
  };
  const entry entries[] = {{fft_file_menu, "File", fft_print, "Print"},
                           {fft_edit_menu, "Edit", fft_copy_window, "Copy Window to Clipboard"},
                           {fft_range_menu, "Range", fft_toggle_range, "Toggle Frequency Range"},
                           {fft_range_menu, "Range", fft_linear, "Linear Amplitude"}};
  HMENU sub = nullptr;
  int current = 0;
  for (const entry& e : entries) {
    if (e.menu_id != current) {
      AppendMenuA(menu_, MF_STRING, static_cast<UINT_PTR>(e.menu_id), e.menu_text);
      sub = attach_popup_menu(menu_, static_cast<UINT>(e.menu_id));
      current = e.menu_id;
    }
    if (sub) AppendMenuA(sub, MF_STRING, static_cast<UINT_PTR>(e.id), e.text);
  }
  SetMenu(hwnd(), menu_);
  popup_ = CreatePopupMenu();
  AppendMenuA(popup_, MF_STRING, fft_inverse, "Inverse FFT");
  DrawMenuBar(hwnd());
}

paper fftClass::client_scale() const { return scale_above_status_bar(hwnd(), status_); }

intptr_t fftClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window(client_scale());
      return 0;
    case WM_COMMAND:
      command(LOWORD(wparam));
      return 0;
    case WM_RBUTTONDOWN: {
      POINT at{x_of(lparam), y_of(lparam)};
      ClientToScreen(window, &at);
      if (track_popup_command(popup_, at.x, at.y + 40, window) == fft_inverse) open_inverse_fft();
      return 0;
    }
    case WM_MOUSEMOVE:
      show_cursor(x_of(lparam), y_of(lparam));
      return 0;
    case WM_SIZE:
      resize_status_bar(status_, wparam, lparam);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

void fftClass::command(int id) {
  switch (id) {
    case fft_print:
      print_window(hwnd(), this, nullptr, "RARAZ");
      break;
    case fft_copy_window:
      copy_window_to_clipboard(hwnd());
      break;
    case fft_linear:
      linear_ = static_cast<uint8_t>(flip_menu_check(menu_, fft_linear));
      invalidate();
      break;
    case fft_toggle_range:
      range_400_ = range_400_ ? 0 : 1;
      invalidate();
      break;
    default:
      break;
  }
}

void fftClass::show_cursor(int x, int y) {
  if (!spectrum_ || plot_.bottom <= plot_.top) return;
  set_status_text(status_, 0, spectrum_amplitude_text(plot_, scale_, y));
  set_status_text(status_, 1, spectrum_frequency_text(plot_, scale_, x));
}

ifftClass* fftClass::open_inverse_fft() {
  if (!hwnd() || !spectrum_) return nullptr;
  auto* inverse = new ifftClass(this, 100, 300, 550, 300);
  if (inverse->hwnd()) return inverse;
  delete inverse;
  return nullptr;
}

fftClass* open_spectrum_window(winTypeClass* parent, const char* name, const traceClass* trace, int x, int y,
                               int width, int height) {
  auto* window = new fftClass(parent, name, trace, x, y, width, height);
  if (window->hwnd()) return window;
  delete window;
  return nullptr;
}

ifftClass* open_band_pass_window(winTypeClass* parent, const char* name, const traceClass* trace, int x, int y,
                                 int width, int height) {
  fftClass* spectrum = open_spectrum_window(parent, name, trace, x, y, width, height);
  if (!spectrum) return nullptr;
  spectrum->hide();
  ifftClass* inverse = spectrum->open_inverse_fft();
  // A hidden spectrum without its inverse window could never be closed.
  if (!inverse) delete spectrum;
  return inverse;
}
