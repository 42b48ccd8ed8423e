// fftClass: the amplitude spectrum of one trace as a bar graph, in dB
// against the strongest bin or as a linear amplitude, over 0-400 Hz or the
// whole useful range, with the amplitude and frequency under the pointer in
// its status bar. Its right-click item "Inverse FFT" opens the inverse
// transform window (inverse_fft_window.h), which marks its band here.
//
// Opened with new through open_spectrum_window by the comparison graph or a
// thumbnail; the window object deletes itself when its window closes, and
// its inverse-transform windows with it. The spectrum itself is shared with
// them, so none reads freed data whichever closes first.
#ifndef DESKTOP_WINDOWS_FFT_GRAPHS_FFT_WINDOW_H
#define DESKTOP_WINDOWS_FFT_GRAPHS_FFT_WINDOW_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/windows/fft_graphs/fft_rules.h"
#include "desktop/data/trace.h"
#include "desktop/winlib/windows/window_object.h"

class ifftClass;

// Commands of the menu bar and of the right-click pop-up.
enum spectrumCommand : int {
  fft_inverse = 1000,
  fft_file_menu = 2000,
  fft_print = 2002,
  fft_edit_menu = 2100,
  fft_copy_window = 2101,
  fft_range_menu = 2200,
  fft_toggle_range = 2201,
  fft_linear = 2202,
};

class fftClass : public winTypeClass {
 public:
  // The spectrum of trace's stored values; the caption "FF( name )". A
  // trace that gives no spectrum leaves the object without a window (the
  // message has been shown).
  fftClass(winTypeClass* parent, const char* name, const traceClass* trace, int x, int y, int width, int height);
  ~fftClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // A new inverse-transform window on this spectrum at (100, 300), 550 x 300
  // pixels; null when it could not be made.
  ifftClass* open_inverse_fft();

  const spectrumData& spectrum() const { return *spectrum_; }
  std::shared_ptr<const spectrumData> shared_spectrum() const { return spectrum_; }
  const std::string& caption() const { return caption_; }
  // The bands marked green; the inverse-transform window sets them and
  // repaints this window.
  bandDisplay bands;

  bool linear() const { return linear_ != 0; }
  bool range_400() const { return range_400_ != 0; }
  HMENU menu() const { return menu_; }
  HMENU popup() const { return popup_; }
  HWND status_bar() const { return status_; }
  // The plot and its scales at the last paint on the screen.
  const plotRect& plot() const { return plot_; }
  const spectrumScale& scale() const { return scale_; }
  // The client area above the status bar at the screen's scale.
  paper client_scale() const;

 private:
  void build_menus();
  void command(int id);
  void show_cursor(int x, int y);

  std::string caption_;
  std::shared_ptr<const spectrumData> spectrum_;
  HMENU menu_ = nullptr;
  HMENU popup_ = nullptr;
  HWND status_ = nullptr;
  uint8_t range_400_ = 1;
  uint8_t linear_ = 0;
  plotRect plot_;
  spectrumScale scale_;
};

// Opens the spectrum window of trace titled with name; null when the trace
// gives no spectrum or no window could be made (the message has been shown
// and nothing is left in the window tree).
fftClass* open_spectrum_window(winTypeClass* parent, const char* name, const traceClass* trace, int x, int y,
                               int width, int height);

// The band-pass view of a trace: its spectrum window, hidden, and the
// inverse-transform window on it. Null as open_spectrum_window.
ifftClass* open_band_pass_window(winTypeClass* parent, const char* name, const traceClass* trace, int x, int y,
                                 int width, int height);

#endif
