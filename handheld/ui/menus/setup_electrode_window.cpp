#include "handheld/ui/menus/setup_electrode_window.h"

#include <math.h>
#include <stdio.h>

#include <memory>

#include "handheld/engine/hardware/channel_selection.h"
#include "handheld/ui/colour_brushes.h"
#include "handheld/engine/electrodes/electrode_measurements.h"
#include "handheld/engine/electrodes/electrode_monitor.h"
#include "handheld/engine/log/engine_log.h"
#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/engine/stimulator/main_dialog_post.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/storage/system_parameters.h"
#include "handheld/ui/dialogs/unit_drawing.h"

electrodeCheckFlags electrode_check;

namespace {

const int GREY = 6;
const int BLUE = 3;
const int BLACK = 5;
const int WHITE = 7;
const int YELLOW = 1;
const COLORREF PANEL_COLOUR = RGB(230, 230, 230);
const int LAMP_RADIUS = 10;
const int AUTO_FINISH_PASSES = 3;  // more than this many all-good updates end the check

// One positioned text.
struct textLabel {
  int x = 0;
  int y = 0;
  int colour = BLACK;
  COLORREF background = RGB(255, 255, 255);
  std::wstring text;
};

// A label's box: its text extent widened by 3 pixels left, right and up
// and by 4 down.
RECT label_box(HDC dc, const textLabel& label) {
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, label.text.c_str(), static_cast<int>(label.text.size()), &size);
  return RECT{label.x - 3, label.y - 3, label.x + size.cx + 3, label.y + size.cy + 4};
}

void paint_label(HDC dc, const textLabel& label) {
  if (label.x == 0 && label.y == 0) return;
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, label.background);
  SetTextColor(dc, colour_of(label.colour));
  TextOutW(dc, label.x, label.y, label.text.c_str(), static_cast<int>(label.text.size()));
}

struct channelPanel {
  int channel = 0;
  int x = 0;
  int y = 0;
  textLabel title, noise_caption, eye_caption, ref_caption, noise, eye, ref;
  int lamps[4] = {STATUS_NOT_MEASURED, STATUS_NOT_MEASURED, STATUS_NOT_MEASURED, STATUS_NOT_MEASURED};
  double level = 0.0, drift = 0.0, noise_value = 0.0, eye_ohms = 10000.0, ref_ohms = 10000.0;
};

struct electrodeWindow {
  HWND window = nullptr;
  std::unique_ptr<channelPanel> panels[2];
  textLabel status;
  textLabel ending;
  bool ending_shown = false;
  int auto_finish = 0;
  mainDialogPoster previous_poster{nullptr, nullptr};
};
std::unique_ptr<electrodeWindow> g_window;

// The check's results as the last check left them.
struct checkResults {
  double noise[2] = {MEASUREMENT_FAILED, MEASUREMENT_FAILED};
  bool noise_failed = false;
  int noisy_channel = 0;
  bool electrode_failed = false;
};
checkResults g_results;

textLabel make_label(int x, int y, int colour, COLORREF background, const wchar_t* text) {
  textLabel label;
  label.x = x;
  label.y = y;
  label.colour = colour;
  label.background = background;
  label.text = text;
  return label;
}

std::wstring formatted(const wchar_t* format, double value) {
  wchar_t text[48];
  swprintf(text, 48, format, value);
  return text;
}

std::unique_ptr<channelPanel> make_panel(int channel, int x, int y) {
  auto p = std::make_unique<channelPanel>();
  p->channel = channel;
  p->x = x;
  p->y = y;
  p->title = make_label(x + 20, y + 2, BLUE, PANEL_COLOUR, channel == 0 ? L"Channel A" : L"Channel B");
  p->noise_caption = make_label(x + 3, y + 44, BLACK, PANEL_COLOUR, L"Noise(Std,uV):");
  p->eye_caption = make_label(x + 3, y + 66, BLACK, PANEL_COLOUR, L"Eye(ohms):");
  p->ref_caption = make_label(x + 3, y + 88, BLACK, PANEL_COLOUR, L"Ref(ohms):");
  p->noise = make_label(x + 120, y + 44, BLACK, PANEL_COLOUR, formatted(L"%7.4lf   ", 0.0).c_str());
  p->eye = make_label(x + 120, y + 66, BLACK, PANEL_COLOUR, formatted(L"%7.0lf   ", 10000.0).c_str());
  p->ref = make_label(x + 120, y + 88, BLACK, PANEL_COLOUR, formatted(L"%7.0lf   ", 10000.0).c_str());
  return p;
}

RECT meter_box(const channelPanel& p) { return RECT{p.x + 100, p.y + 2, p.x + 172, p.y + 43}; }

RECT lamp_box(const channelPanel& p, int i) {
  const int cx = p.x + 206, cy = p.y + 27 + 22 * i;
  return RECT{cx - LAMP_RADIUS, cy - LAMP_RADIUS, cx + LAMP_RADIUS, cy + LAMP_RADIUS};
}

void invalidate(const RECT& box) {
  if (g_window && g_window->window != nullptr) InvalidateRect(g_window->window, &box, FALSE);
}

// Sets a label's text; only a changed text is redrawn.
void set_label(textLabel& label, const std::wstring& text) {
  if (label.text == text || !g_window || g_window->window == nullptr) return;
  HDC dc = GetDC(g_window->window);
  HGDIOBJ old = SelectObject(dc, small_font != nullptr ? small_font : GetStockObject(DEFAULT_GUI_FONT));
  RECT before = label_box(dc, label);
  label.text = text;
  RECT after = label_box(dc, label);
  SelectObject(dc, old);
  ReleaseDC(g_window->window, dc);
  invalidate(before);
  invalidate(after);
}

void set_lamp_state(channelPanel& p, int i, int state) {
  if (p.lamps[i] == state) return;
  p.lamps[i] = state;
  invalidate(lamp_box(p, i));
}

void paint_meter(HDC dc, const channelPanel& p) {
  RECT box = meter_box(p);
  FillRect(dc, &box, brushes[WHITE]);
  const int mid = p.y + 22;
  const int r = funnel_right_half(), l = funnel_left_half();
  HGDIOBJ oldPen = SelectObject(dc, solid_pens[BLACK]);
  MoveToEx(dc, p.x + 105, mid - l, nullptr);
  LineTo(dc, p.x + 167, mid - r);
  LineTo(dc, p.x + 167, mid + r);
  LineTo(dc, p.x + 105, mid + l);
  SelectObject(dc, solid_pens[BLUE]);
  MoveToEx(dc, p.x + 102, mid - meter_offset(p.level), nullptr);
  LineTo(dc, p.x + 170, mid - meter_offset(p.level + p.drift));
  SelectObject(dc, oldPen);
}

void paint_panel(HDC dc, const channelPanel& p) {
  RECT frame{p.x - 2, p.y - 2, p.x + 222, p.y + 112};
  FillRect(dc, &frame, brushes[BLUE]);
  RECT area{p.x, p.y, p.x + 220, p.y + 110};
  HBRUSH panel = CreateSolidBrush(PANEL_COLOUR);
  FillRect(dc, &area, panel);
  DeleteObject(panel);
  for (const textLabel* label : {&p.title, &p.noise_caption, &p.eye_caption, &p.ref_caption, &p.noise, &p.eye, &p.ref}) {
    paint_label(dc, *label);
  }
  HGDIOBJ oldPen = SelectObject(dc, solid_pens[BLACK]);
  for (int i = 0; i < 4; ++i) {
    const int state = p.lamps[i];
    HBRUSH lamp = state >= 0 && state < COLOUR_BRUSH_COUNT ? brushes[state] : brushes[GREY];
    HGDIOBJ oldBrush = SelectObject(dc, lamp);
    const RECT b = lamp_box(p, i);
    Ellipse(dc, b.left, b.top, b.right, b.bottom);
    SelectObject(dc, oldBrush);
  }
  SelectObject(dc, oldPen);
  paint_meter(dc, p);
}

bool all_good(const monitorChannel& m) {
  return m.baseline_status.load() == STATUS_GOOD && m.noise_status.load() == STATUS_GOOD &&
         m.eye_status.load() == STATUS_GOOD && m.ref_status.load() == STATUS_GOOD;
}

// The monitor's notice goes to this window itself, even when a message
// page covers it.
bool route_to_window(void* context, int target, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  electrodeWindow* w = static_cast<electrodeWindow*>(context);
  if (target == NOTICE_TOP_DIALOG && message == MAIN_DIALOG_NOTICE && wparam == ELECTRODE_VALUES_READY &&
      w->window != nullptr) {
    return PostMessageW(w->window, WM_USER, wparam, lparam) != FALSE;
  }
  return w->previous_poster.post != nullptr &&
         w->previous_poster.post(w->previous_poster.context, target, message, wparam, lparam);
}

void open_window(HWND dialog) {
  SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  g_window = std::make_unique<electrodeWindow>();
  g_window->window = dialog;
  RECT client;
  GetClientRect(dialog, &client);
  if (channels.b_on.load() != 0) g_window->panels[1] = make_panel(1, 5, 150);
  if (channels.a_on.load() != 0) g_window->panels[0] = make_panel(0, 5, 5);
  const int middle = (client.bottom - client.top) / 2 - 7;
  g_window->status = make_label(77, middle, WHITE, colour_of(BLACK), L" Running ");
  g_window->ending = make_label(30, middle, BLUE, colour_of(YELLOW), L" ENDING ELECTRODE CHECK ");
  g_window->previous_poster = set_main_dialog_poster(mainDialogPoster{route_to_window, g_window.get()});
  electrode_check.open = 1;
  electrode_check.running = 1;
  electrode_check.impedance = electrode_check.automatic.load();
  monitor_control.impedance_wanted = static_cast<uint8_t>(electrode_check.impedance.load());
  monitor_control.active = 1;
  signal_electrode_monitor();
  ShowWindow(dialog, SW_SHOW);
}

void close_window(HWND dialog) {
  if (g_window && g_window->window == dialog) {
    set_main_dialog_poster(g_window->previous_poster);
    g_window.reset();
  }
  electrode_check.open = 0;
  DestroyWindow(dialog);
}

}  // namespace

HWND electrode_window() { return g_window ? g_window->window : nullptr; }

int funnel_right_half() {
  const double doubled = 2.0 * system_parameter(PARAM_STABAVERAGE);
  return doubled > 500.0 ? 18 : static_cast<int>(doubled * 0.036);
}

int funnel_left_half() {
  const double doubled = 2.0 * system_parameter(PARAM_STABSLOPE) + 2.0 * system_parameter(PARAM_STABAVERAGE);
  return doubled > 500.0 ? 18 : static_cast<int>(doubled * 0.036);
}

int meter_offset(double microvolts) {
  const double pixels = microvolts * 0.1;
  if (fabs(pixels) > 20.0) return pixels > 0 ? 20 : -20;
  return static_cast<int>(pixels);
}

void paint_electrode_window(HDC dc) {
  if (!g_window) return;
  RECT client;
  GetClientRect(g_window->window, &client);
  FillRect(dc, &client, brushes[GREY]);
  HGDIOBJ old = SelectObject(dc, small_font != nullptr ? small_font : GetStockObject(DEFAULT_GUI_FONT));
  if (g_window->panels[1]) paint_panel(dc, *g_window->panels[1]);
  if (g_window->panels[0]) paint_panel(dc, *g_window->panels[0]);
  paint_label(dc, g_window->status);
  if (g_window->ending_shown) paint_label(dc, g_window->ending);
  SelectObject(dc, old);
}

void update_electrode_window() {
  if (!g_window) return;
  bool every_good = true;
  for (int c = 0; c < 2; ++c) {
    channelPanel* p = g_window->panels[c].get();
    if (p == nullptr) continue;
    const monitorChannel& m = monitor_channels[c];
    const double level = m.level.load(), drift = m.drift.load();
    if (level != p->level || drift != p->drift) {
      p->level = level;
      p->drift = drift;
      invalidate(meter_box(*p));
    }
    if (m.noise.load() != p->noise_value) {
      p->noise_value = m.noise.load();
      set_label(p->noise, formatted(L"%7.2lf   ", p->noise_value));
    }
    if (m.eye_ohms.load() != p->eye_ohms) {
      p->eye_ohms = m.eye_ohms.load();
      set_label(p->eye, formatted(L"%7.0lf  ", p->eye_ohms));
    }
    if (m.ref_ohms.load() != p->ref_ohms) {
      p->ref_ohms = m.ref_ohms.load();
      set_label(p->ref, formatted(L"%7.0lf  ", p->ref_ohms));
    }
    set_lamp_state(*p, 0, m.baseline_status.load());
    set_lamp_state(*p, 1, m.noise_status.load());
    set_lamp_state(*p, 2, m.eye_status.load());
    set_lamp_state(*p, 3, m.ref_status.load());
    if (!all_good(m)) every_good = false;
  }
  if (electrode_check.running.load() == 0) {
    set_label(g_window->status, L" Paused  ");
    return;
  }
  set_label(g_window->status, L" Running ");
  if (electrode_check.automatic.load() != 0) {
    if (every_good) {
      if (++g_window->auto_finish > AUTO_FINISH_PASSES) {
        PostMessageW(main_dialog, WM_COMMAND, KEY_LOWER_RIGHT, 0);
        return;
      }
    } else {
      g_window->auto_finish = 0;
    }
  }
  signal_electrode_monitor();
}

void end_electrode_check() {
  const bool automatic = electrode_check.automatic.load() != 0;
  log_open_record("ELECTRODES");
  if (automatic) {
    log_field(0, "MODE", "AUTO");
  } else {
    log_field(0, "MODE", "MANUAL");
    log_field(0, "IMPEDANCE", "%s", electrode_check.impedance.load() != 0 ? "ON" : "OFF");
  }
  g_results = checkResults();
  const bool in_use[2] = {channels.a_on.load() != 0, channels.b_on.load() != 0};
  for (int c = 0; c < 2; ++c) {
    if (!in_use[c]) continue;
    const monitorChannel& m = monitor_channels[c];
    log_open_record(c == 0 ? "Channel_A" : "Channel_B");
    log_field(0, "NOISE", "%lg", m.noise.load());
    log_field(0, "EYE", "%lg", m.eye_ohms.load());
    log_field(0, "REF", "%lg", m.ref_ohms.load());
    log_close_record(0, "%s", "");
    // A channel whose noise was out of limits, or whose electrodes were,
    // holds no noise check value: the test that follows reports it.
    const bool noisy = m.noise_status.load() == STATUS_OUT_OF_LIMITS;
    const bool failed = m.baseline_status.load() == STATUS_OUT_OF_LIMITS ||
                        m.eye_status.load() == STATUS_OUT_OF_LIMITS || m.ref_status.load() == STATUS_OUT_OF_LIMITS;
    if (noisy && !g_results.noise_failed) {
      g_results.noise_failed = true;
      g_results.noisy_channel = c;
    }
    if (failed) g_results.electrode_failed = true;
    g_results.noise[c] = noisy || failed ? MEASUREMENT_FAILED : m.noise.load();
  }
  for (int c = 0; c < 2; ++c) {
    if (!in_use[c]) g_results.noise[c] = 0.0;  // nothing to check on a channel not in use
  }
  log_close_record(1, "%s", "");
  if (g_window) {
    g_window->ending_shown = true;
    HDC dc = GetDC(g_window->window);
    HGDIOBJ old = SelectObject(dc, small_font != nullptr ? small_font : GetStockObject(DEFAULT_GUI_FONT));
    paint_label(dc, g_window->ending);
    SelectObject(dc, old);
    ReleaseDC(g_window->window, dc);
  }
}

void note_electrode_measurement(int mode) {
  g_results = checkResults();
  const bool in_use[2] = {channels.a_on.load() != 0, channels.b_on.load() != 0};
  const bool impedance_run = mode == ELECTRODE_MODE_IMPEDANCE;
  bool earlier_failed = false;
  for (int c = 0; c < 2; ++c) {
    if (!in_use[c]) {
      g_results.noise[c] = 0.0;  // nothing to check on a channel not in use
      continue;
    }
    if (earlier_failed) continue;  // not measured: the run ended at the channel before
    const electrodeResults& r = electrode_results;
    const bool failed = impedance_run ? (c == 0 ? r.impedance_a_eye.load() == MEASUREMENT_FAILED ||
                                                      r.impedance_a_ref.load() == MEASUREMENT_FAILED
                                                : r.impedance_b_eye.load() == MEASUREMENT_FAILED ||
                                                      r.impedance_b_ref.load() == MEASUREMENT_FAILED)
                                      : (c == 0 ? r.baseline_a.load() : r.baseline_b.load()) == MEASUREMENT_FAILED;
    if (!failed) {
      g_results.noise[c] = electrode_monitor.stabilise_noise[c].load();
      continue;
    }
    earlier_failed = true;
    // A channel that did not settle for its noise is a noisy channel; any
    // other failure (no settling within the time, no sync pulse) is the
    // electrodes'.
    if (electrode_monitor.stabilise_channel.load() == c && electrode_monitor.stabilise_failed.load() != 0) {
      g_results.noise_failed = true;
      g_results.noisy_channel = c;
    } else {
      g_results.electrode_failed = true;
    }
  }
}

void forget_electrode_checks() { g_results = checkResults(); }

int report_electrode_noise() {
  if (g_results.noise[0] != MEASUREMENT_FAILED && g_results.noise[1] != MEASUREMENT_FAILED) return 0;
  if (g_results.noise_failed) {
    show_message(MESSAGE_ERROR, true, "\n*** ERROR ***\n\nCHECK CHANNEL %s\n\nELECTRODES\n(noise > %lguV).",
                 g_results.noisy_channel == 0 ? "A" : "B", system_parameter(PARAM_NOISE));
  } else if (g_results.electrode_failed) {
    show_message(MESSAGE_WARNING, true, "\n\n-- CHECK ELECTRODES, --\n\nTHEN RERUN TEST.");
  }
  return 1;
}

double electrode_noise_check(int channel) { return g_results.noise[channel == 0 ? 0 : 1]; }
bool electrode_noise_failed() { return g_results.noise_failed; }
bool electrode_check_failed() { return g_results.electrode_failed; }

std::wstring electrode_window_text(int channel, const char* label) {
  if (!g_window || !g_window->panels[channel == 0 ? 0 : 1]) return L"";
  const channelPanel& p = *g_window->panels[channel == 0 ? 0 : 1];
  const std::string name(label);
  if (name == "noise") return p.noise.text;
  if (name == "eye") return p.eye.text;
  if (name == "ref") return p.ref.text;
  return p.title.text;
}

std::wstring electrode_status_text() { return g_window ? g_window->status.text : L""; }

int electrode_auto_finish_count() { return g_window ? g_window->auto_finish : 0; }

INT_PTR CALLBACK electrodeWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      open_window(dialog);
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(dialog, &paint);
      if (g_window && g_window->window == dialog) paint_electrode_window(dc);
      EndPaint(dialog, &paint);
      return TRUE;
    }
    case WM_ERASEBKGND:
      return TRUE;
    case WM_USER:
      if (wParam == ELECTRODE_VALUES_READY) {
        update_electrode_window();
      } else if (wParam == PAGE_CLOSE) {
        close_window(dialog);
      }
      return TRUE;
    default:
      return FALSE;
  }
}
