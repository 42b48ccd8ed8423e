// thumbnailClass: one test of a session as a small child window: the test's
// information block, a mini graph of its averaged trace with the a- and
// b-wave marks, and the waveform results; its pop-up menu copies the trace,
// switches the filters, opens the sample selection and the windows that
// analyse the test (measurement and comparison graphs, oscillatory
// potentials, spectrum, band pass), writes the trace as a text file and
// edits the session. The test itself lives in a
// testDocument the thumbnail owns.
#ifndef DESKTOP_WINDOWS_THUMBNAIL_THUMBNAIL_H
#define DESKTOP_WINDOWS_THUMBNAIL_THUMBNAIL_H

#include <windows.h>

#include "desktop/winlib/windows/mouse_items.h"
#include "desktop/winlib/geometry/position.h"
#include "desktop/data/test_document.h"
#include "desktop/winlib/values/text_object.h"
#include "desktop/winlib/windows/window_object.h"

// Window type of a thumbnail.
constexpr uint32_t thumbnail_window_type = 2;

// Commands of the thumbnail's pop-up menu.
enum thumbnailCommand : int {
  thumb_copy_menu = 2000,
  thumb_trace_clipboard = 2001,
  thumb_measurement_graph = 2006,
  thumb_comparison_graph = 2002,
  thumb_op_panel = 2003,
  thumb_fft = 2004,
  thumb_band_pass = 2005,
  thumb_text_file = 2007,
  thumb_filter_menu = 2100,
  thumb_60hz = 2101,
  thumb_50hz = 2102,
  thumb_spikes = 2103,
  thumb_lowpass = 2104,
  thumb_lowpass_frequency = 2105,
  thumb_sample_window = 2106,
  thumb_source_info = 2200,
  thumb_edit_menu = 2300,
  thumb_cut = 2310,
  thumb_copy = 2320,
  thumb_paste_menu = 2330,
  thumb_paste_before = 2331,
  thumb_paste_after = 2332,
};

// Codes of WM_USER that other windows send a thumbnail (the sample
// selection's: samples_notice_changed and samples_notice_closing).
constexpr uintptr_t thumb_notice_lowpass_edited = 0;

class sampleSelectWindowClass;

class thumbnailClass : public lbuttonAwareClass, public winTypeClass, public positionClass {
 public:
  // At pixel (x, y) of the parent, 110 by 30 mm in the parent's page scale.
  thumbnailClass(winTypeClass* parent, double number, int x, int y, const char* path, int source);
  // Placed and sized in millimetres of scale (a report's printer page); its
  // window is never shown.
  thumbnailClass(winTypeClass* parent, double number, double x, double y, double width, double height,
                 const paper& scale, const char* path, int source);
  ~thumbnailClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;
  // Places and fills the text blocks and the mini graph; the thumbnail's
  // size follows them.
  void measure(HDC dc, const paper& scale) override;

  testDocument& document() { return document_; }
  bool loaded() const { return document_.loaded(); }
  const char* path() const { return document_.path(); }
  const char* file_name() const { return document_.file_name(); }
  const FILETIME& file_time() const { return document_.file_time(); }
  int source() const { return document_.source(); }
  double number() const { return number_; }
  void set_number(double number);
  HMENU popup_menu() const { return popup_; }
  // Line i of the waveform text block (as last laid out).
  const char* waveform_line(int i) { return waveform_text_.line_text(i); }
  const textObjectClass& waveform_text() const { return waveform_text_; }
  const textObjectClass& info_text() const { return info_text_; }

  void set_background(HBRUSH brush);
  // Shows the sample selection window (made the first time, when the test
  // has samples) or hides it, and names the menu item after what it does next.
  void toggle_sample_window();
  // The open sample selection window, or null.
  sampleSelectWindowClass* sample_window() const { return sample_window_; }
  // Runs the a-/b-wave detection (automatic only) and refreshes the parent
  // session's summary.
  void recalculate_ab(int propagate);
  // Rewrites the waveform text's filter line from the filters; optionally
  // measures again. Invalidates the parent.
  void refresh_filter_text(bool recalculate);
  // A command of the pop-up menu, as the menu returns it.
  void run_command(int command);

  bool set_60hz_filter(uint8_t on);
  bool set_50hz_filter(uint8_t on);
  bool set_spike_filter(uint8_t on);
  bool set_lowpass_filter(uint8_t on);
  bool set_lowpass_frequency(double frequency);

 private:
  void create(int x, int y, int width, int height, const char* path, int source);
  void build_popup_menu();
  void filter_command(int command);
  // The commands of "Copy Test Data To": a window opened on the test's
  // trace, or its text file.
  void copy_command(int command);
  void paint_unloaded(HDC dc);
  // A press in the mini graph: the test's trace goes to the trace clipboard
  // and a drag item labelled with the file name opens 20 mm above and 10 mm
  // left of the cursor; it takes the mouse and carries the trace to a
  // comparison graph. False when the press is elsewhere or a drag is on.
  bool start_drag(int x, int y);

  testDocument document_;
  double number_;
  textObjectClass info_text_;
  textObjectClass waveform_text_;
  HMENU popup_ = nullptr;
  HMENU filter_menu_ = nullptr;
  HBRUSH background_ = nullptr;
  sampleSelectWindowClass* sample_window_ = nullptr;  // a child in the window tree
  double edited_lowpass_ = default_lowpass_frequency;
};

// The one-slot thumbnail clipboard of the program (cut, copy and paste of
// thumbnails between sessions).
bool move_to_thumb_clipboard(thumbnailClass* thumbnail);
// A new thumbnail (number 0 at 0, 0) in parent from the slot; null when the
// slot is empty.
thumbnailClass* create_from_thumb_clipboard(winTypeClass* parent);

// 1 while a thumbnail's trace is dragged out of its mini graph (the trace
// clipboard holds it): the drag item clears it when the drag ends, and a
// window that gets a release while it is 1 may take the drop and clear it.
extern uint8_t thumbnail_drag_active;

// The program's one cascade of new analysis windows: the count of windows
// opened at its places; each takes the next place, (n mod 15) x 20 + 5 and
// (n mod 15) x 20 + 20 pixels.
extern int32_t window_cascade_count;
POINT next_cascade_position();

#endif
