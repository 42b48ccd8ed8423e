// ifftClass: a trace filtered in the frequency domain. It keeps the bins of
// its spectrum window between two trackbar limits (band-pass, or band-reject
// when the upper limit is below the lower one), transforms them back and
// shows the result with the graph engine; the band it keeps is marked green
// on the spectrum window. The result can go to the trace clipboard.
//
// Made with new by its spectrum window (fftClass::open_inverse_fft) under
// it in the window tree, so it closes with that window; it shares the
// spectrum's data rather than pointing into the window.
#ifndef DESKTOP_WINDOWS_FFT_GRAPHS_INVERSE_FFT_WINDOW_H
#define DESKTOP_WINDOWS_FFT_GRAPHS_INVERSE_FFT_WINDOW_H

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "desktop/data/graph/graph.h"
#include "desktop/windows/fft_graphs/fft_rules.h"
#include "desktop/winlib/windows/window_object.h"

class fftClass;

enum inverseFftCommand : int {
  ifft_file_menu = 2000,
  ifft_print = 2002,
  ifft_edit_menu = 2100,
  ifft_copy_window = 2101,
  ifft_copy_trace = 2102,
};

// Both trackbars carry this control identifier.
constexpr int ifft_trackbar_id = 6000;

class ifftClass : public winTypeClass {
 public:
  // (x, y, width, height) in pixels; the caption "IF( %s )" with the
  // spectrum window's caption.
  ifftClass(fftClass* spectrum, int x, int y, int width, int height);
  ~ifftClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // The shown trace into the trace clipboard as "(IFFT lo..hi)".
  void copy_to_trace_clipboard();

  int32_t lower() const { return lo_; }
  int32_t upper() const { return hi_; }
  HWND lower_trackbar() const { return lower_bar_; }
  HWND upper_trackbar() const { return upper_bar_; }
  HMENU menu() const { return menu_; }
  graphClass& graph() { return graph_; }
  // The trace shown (null before the first paint).
  traceClass* shown_trace() const { return shown_; }
  // The band text at the last paint.
  const std::string& band_text() const { return band_text_; }

 private:
  void build_menus();
  void scroll(HWND bar, int code, int position);
  // A trackbar's label, white on blue, at its place for the client area.
  void draw_label(HDC dc, const paper& scale, bool upper);
  // The pre-flash time of the test this window belongs to (0 without one).
  double preflash_ms() const;

  fftClass* spectrum_window_;
  std::shared_ptr<const spectrumData> spectrum_;
  std::string caption_;
  graphClass graph_;
  tracePlusClass* entry_ = nullptr;
  traceClass* shown_ = nullptr;
  HWND lower_bar_ = nullptr;
  HWND upper_bar_ = nullptr;
  int32_t lo_ = 0;
  int32_t hi_ = 0;
  HMENU menu_ = nullptr;
  std::string band_text_;
};

#endif
