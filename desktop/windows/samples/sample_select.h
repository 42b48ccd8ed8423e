// sampleSelectWindowClass: the sample selection window of a test: one sample
// window per sample of its samples list in a grid, whose check boxes choose
// the samples that make the test's average. A change is written into the
// samples list and reported to the window that opened the selection
// (WM_USER, samples_notice_changed); a change that would leave no sample
// included is refused and writes nothing. File > Print prints the selection
// with the average on pages of its own.
//
// The selection never owns the samples list: the list's owner closes every
// selection on it before the list goes (close_sample_selections).
#ifndef DESKTOP_WINDOWS_SAMPLES_SAMPLE_SELECT_H
#define DESKTOP_WINDOWS_SAMPLES_SAMPLE_SELECT_H

#include <windows.h>

#include <vector>

#include "desktop/windows/samples/sample_window.h"
#include "desktop/data/samples_list.h"
#include "desktop/winlib/windows/window_object.h"

// Commands of the selection window's menu.
enum sampleSelectCommand : int {
  samples_file_menu = 2000,
  samples_print = 2006,
  samples_close = 2007,
};

// Codes of WM_USER the selection sends the window that opened it.
constexpr uintptr_t samples_notice_changed = 2;
constexpr uintptr_t samples_notice_closing = 80;

class sampleSelectWindowClass : public winTypeClass {
 public:
  // At (x, y) mm of the screen (moved to the screen's right edge and kept
  // on it), titled title, over samples (not owned).
  sampleSelectWindowClass(winTypeClass* parent, const char* title, double x, double y, samplesListClass* samples);
  // Tells the parent that the selection closes; the sample windows go.
  ~sampleSelectWindowClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // The samples list's average (null when no sample is included).
  traceClass* average();
  // The window's caption, at most 64 characters, until the next call.
  const char* title();

  int sample_window_count() const { return static_cast<int>(windows_.size()); }
  sampleWindowClass* sample_window(int k) const { return windows_[static_cast<size_t>(k)]; }
  HMENU menu() const { return menu_; }
  const samplesListClass* samples() const { return samples_; }

  // Writes every sample window's check into the samples list and tells the
  // parent: 0. When no box is checked nothing is written: 1 (refused).
  int apply_checks();
  // The print job of File > Print; false when cancelled or failed.
  bool print();

 private:
  void build_grid(double y);

  samplesListClass* samples_;
  HMENU menu_ = nullptr;
  std::vector<sampleWindowClass*> windows_;  // in sample order; the window tree owns them
};

// Closes (deletes) every selection window shown over samples.
void close_sample_selections(const samplesListClass* samples);

#endif
