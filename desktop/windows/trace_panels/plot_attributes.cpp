#include "desktop/windows/trace_panels/plot_attributes.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/messages.h"
#include "platform/modal/modal_ui.h"
#include "desktop/windows/trace_panels/plot_attributes_rules.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/windows/samples/sample_select.h"
#include "desktop/data/samples_list.h"
#include "desktop/data/trace_clipboard.h"
#include "desktop/winlib/windows/window_classes.h"

namespace {

constexpr int window_width_px = 600;
constexpr int window_height_px = 500;
constexpr double gap = 2.0;

// Lays selectors out in a row from (x, y), each gap right of the previous.
void lay_out_row(std::initializer_list<groupMenuClass*> row, double x, double y, const paper& scale) {
  for (groupMenuClass* selector : row) {
    selector->place(x, y, scale);
    x = selector->right() + gap;
  }
}

}  // namespace

plotAttributesWindow::plotAttributesWindow(winTypeClass* parent, tracePlusClass* entry, double x, double y,
                                           int trace_number, const char* owner_name)
    : winTypeClass(parent, plot_attributes_window_type), entry_(entry), x_(x), y_(y) {
  log_enter("plotAttributesWindow::plotAttributesWindow - ENTRY");
  if (!entry) {
    errormessage("*** plotAttributesWindow::plotAttributesWindow - NO tracePlusClass PROVIDED. ***");
    log_leave();
    return;
  }
  entry->set_attributes_window(this);
  const paper& s = screen_paper;
  width_ = s.mm_x(window_width_px);
  height_ = s.mm_y(window_height_px);
  HWND window = CreateWindowExA(0, "plotAttributes", "Plot Attributes", WS_CHILD | WS_BORDER, s.px_x(x), s.px_y(y),
                                window_width_px, window_height_px, parent ? parent->hwnd() : nullptr, nullptr,
                                program_instance, nullptr);
  if (!window) {
    modal_message_box(nullptr, "plot attributes window creation failed", "window", MB_OK);
  } else {
    set_hwnd(window);
    build(s, trace_number, owner_name);
  }
  log_leave();
  log_message("plotAttributesWindow::plotAttributesWindow - EXIT");
}

void plotAttributesWindow::build(const paper& s, int trace_number, const char* owner_name) {
  HWND window = hwnd();
  char title[256];
  std::snprintf(title, sizeof title, "%s - %d. %s Attributes", owner_name ? owner_name : "", trace_number,
                entry_->active_trace()->label());
  set_title(title);

  show_box_ = new checkBoxClass(window, program_font, 3.0, 2.0, s, "Show trace", 1);
  show_box_->check();
  scaling_box_ = new checkBoxClass(window, program_font, show_box_->right() + gap, 2.0, s, "Use for scaling", 1);
  scaling_box_->check();
  copy_button_ = new buttonClass(window, program_font, scaling_box_->right() + gap, 1.0, 15.0, 7.0, s, " TCopy ", 0);

  double row1 = std::max(show_box_->bottom(), scaling_box_->bottom()) + gap;
  symbol_ = new groupMenuClass(window, program_font, 2.0, row1, 12, s, "Symbol", "", 0, "none", "plus", "diamond",
                               "square", "circle", nullptr);
  symbol_->add_menu_values(5, 0.0, 1.0, 2.0, 3.0, 4.0);
  size_ = new groupMenuClass(window, program_font, 2.0, row1, 12, s, "Size", "", 0, "3mm", "4mm", "5mm", "6mm", "7mm",
                             "8mm", nullptr);
  size_->add_menu_values(6, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0);
  separation_ = new groupMenuClass(window, program_font, 2.0, row1, 20, s, "Separation", "", 0, "5mS", "10mS",
                                   "20mS", "30mS", nullptr);
  separation_->add_menu_values(4, 5.0, 10.0, 20.0, 30.0);
  symbol_colour_ = new groupMenuClass(window, program_font, 2.0, row1, 20, s, "Color", "", 0, "Red", "Yellow",
                                      "Green", "Blue", "Violet", "Black", "Gray", nullptr);
  symbol_colour_->add_menu_values(7, 0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0);
  lay_out_row({symbol_, size_, separation_, symbol_colour_}, 2.0, row1, s);

  double row2 = symbol_->bottom() + gap;
  fill_ = new groupMenuClass(window, program_font, 2.0, row2, 12, s, "Fill", "", 0, "None", "Solid", "Dash-2",
                             "Dash-5", "Dash-10", nullptr);
  width_menu_ = new groupMenuClass(window, program_font, 2.0, row2, 12, s, "Width", "", 0, "0.5mm", "1.0mm", "1.5mm",
                                   "2.0mm", "2.5mm", nullptr);
  line_colour_ = new groupMenuClass(window, program_font, 2.0, row2, 12, s, "Color", "", 0, "Red", "Yellow", "Green",
                                    "Blue", "Violet", "Black", "Gray", "White", nullptr);
  line_colour_->add_menu_values(line_colour_count, 0.0, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 9.0);
  lay_out_row({fill_, width_menu_, line_colour_}, 2.0, row2, s);

  lowpass_edit_ = new editLabelClass(window, program_font, line_colour_->right() + 5.0, line_colour_->y() + 4.0, s,
                                     "LP Freq", program_font, label_above, 8, 0, edit_left);
  show_lowpass();

  double filters = std::max(line_colour_->bottom(), lowpass_edit_->bottom()) + 3.0;
  filter_box_ = new groupBoxClass(window, 2.0, filters, 105.0, 12.0, s, "Filtering");
  double x = 5.0;
  double y = filters + 4.5;
  spikes_box_ = new checkBoxClass(window, program_font, x, y, s, "Spikes", 1);
  notch60_box_ = new checkBoxClass(window, program_font, spikes_box_->right() + 4.0, y, s, "60Hz", 1);
  notch50_box_ = new checkBoxClass(window, program_font, notch60_box_->right() + 4.0, y, s, "50Hz", 1);
  lowpass_box_ = new checkBoxClass(window, program_font, notch50_box_->right() + 4.0, y, s, "Low Pass", 1);
  samples_button_ = new buttonClass(window, program_font, 2.0, filter_box_->bottom() + 1.0, 15.0, 7.0, s,
                                    " Show Samples ", 0);

  set_start_states();
  samplesListClass* samples = entry_->samples_list();
  if (!samples || samples->get_count() < 1) samples_button_->hide();

  width_ = std::max({copy_button_->right(), filter_box_->width(), symbol_colour_->right()}) + gap;
  height_ = samples_button_->bottom() + 1.0;
  SetWindowPos(window, nullptr, 0, 0, s.px_x(width_), s.px_y(height_), SWP_NOMOVE | SWP_NOZORDER);
  hide();
}

void plotAttributesWindow::set_start_states() {
  entry_->set_symbol(symbol_none);
  entry_->set_symbol_size(3.0);
  entry_->set_symbol_separation(20.0);
  entry_->set_symbol_color(0);
  show_selections();
}

void plotAttributesWindow::show_selections() {
  // A selector shows the entry whose value the trace has, and its initial
  // text "-- " for a value that no entry stands for.
  auto show_entry = [](groupMenuClass* selector, int entry) {
    if (entry >= 0) {
      selector->select_entry(entry);
    } else {
      selector->set_text("-- ");
    }
  };
  auto entry_of = [](groupMenuClass* selector, double value) {
    for (int i = 0; i < selector->entry_count(); i++) {
      if (selector->value(i) == value) return i;
    }
    return -1;
  };
  const traceClass* own = entry_->own_trace();
  show_entry(symbol_, entry_of(symbol_, entry_->symbol()));
  show_entry(size_, entry_of(size_, own->symbol_size));
  show_entry(separation_, entry_of(separation_, own->symbol_separation));
  show_entry(symbol_colour_, entry_of(symbol_colour_, own->symbol_color));
  show_entry(fill_, fill_entry(entry_->no_line(), entry_->dash()));
  show_entry(width_menu_, width_entry(entry_->line_width()));
  line_colour_->set_text(colour_name(entry_->color()));
}

plotAttributesWindow::~plotAttributesWindow() {
  // The entry may be gone already (its graph goes first): nothing here reads
  // it, and messages met while the controls go are not handled.
  entry_ = nullptr;
  for (groupMenuClass* selector : {symbol_, size_, separation_, symbol_colour_, fill_, width_menu_, line_colour_}) {
    delete selector;
  }
  delete lowpass_edit_;
  delete filter_box_;
  for (checkBoxClass* box : {show_box_, scaling_box_, spikes_box_, notch60_box_, notch50_box_, lowpass_box_}) {
    delete box;
  }
  delete copy_button_;
  delete samples_button_;
}

void plotAttributesWindow::show_lowpass() {
  if (!lowpass_edit_ || !entry_) return;
  shown_lowpass_ = entry_->lowpass_frequency();
  lowpass_edit_->set_text("%lg", shown_lowpass_);
}

void plotAttributesWindow::draw(HDC dc, const paper& scale) {
  if (!entry_ || !show_box_) return;
  auto set_check = [](checkBoxClass* box, bool on) { on ? box->check() : box->uncheck(); };
  set_check(notch60_box_, entry_->has_60hz_filter());
  set_check(notch50_box_, entry_->has_50hz_filter());
  set_check(spikes_box_, entry_->has_spike_filter());
  set_check(lowpass_box_, entry_->has_lowpass_filter());
  set_check(scaling_box_, entry_->use_for_scaling());
  set_check(show_box_, entry_->shown() != 0);
  // Attributes set elsewhere (the graph's trace menu, a summary's symbols)
  // show here too.
  show_selections();

  lay_out_row({symbol_, size_, separation_, symbol_colour_}, symbol_->x(), symbol_->y(), scale);
  lay_out_row({fill_, width_menu_, line_colour_}, symbol_->x(), symbol_->bottom() + gap, scale);
  for (groupMenuClass* selector : {symbol_, size_, separation_, symbol_colour_, fill_, width_menu_, line_colour_}) {
    selector->rescale(dc, scale);
  }
  lowpass_edit_->place(line_colour_->right() + 5.0, line_colour_->y() + 4.0, scale);
  lowpass_edit_->rescale(dc, scale);
  // A frequency set elsewhere (the graph's own entry window) shows here; what
  // the user is typing stays until then.
  if (entry_->lowpass_frequency() != shown_lowpass_) show_lowpass();

  // Wide enough for the Filtering box and the selector rows, and never
  // narrower than the graph made it.
  RECT now{};
  GetWindowRect(hwnd(), &now);
  double content = std::max(filter_box_->right() + 4.0, std::max(symbol_colour_->right(), line_colour_->right()) + gap);
  width_ = std::max(content, scale.mm_x(now.right - now.left));
  SetWindowPos(hwnd(), nullptr, 0, 0, scale.px_x(width_), scale.px_y(height_), SWP_NOMOVE | SWP_NOZORDER);
}

void plotAttributesWindow::repaint_both() {
  invalidate();
  if (parent && parent->hwnd()) InvalidateRect(parent->hwnd(), nullptr, TRUE);
}

void plotAttributesWindow::notify_parent(uintptr_t code, intptr_t lparam) {
  if (parent && parent->hwnd()) SendMessageA(parent->hwnd(), WM_USER, code, lparam);
}

void plotAttributesWindow::click(HWND from) {
  if (!from) return;
  if (from == spikes_box_->hwnd()) {
    entry_->set_spike_filter(entry_->has_spike_filter() ? 0 : 1);
  } else if (from == notch60_box_->hwnd() || from == notch50_box_->hwnd()) {
    // At most one notch is on.
    bool sixty = from == notch60_box_->hwnd();
    bool on = sixty ? entry_->has_60hz_filter() : entry_->has_50hz_filter();
    tracePlusClass::rebuildBatch batch(*entry_);
    if (sixty) {
      entry_->set_60hz_filter(on ? 0 : 1);
      if (!on) entry_->set_50hz_filter(0);
    } else {
      entry_->set_50hz_filter(on ? 0 : 1);
      if (!on) entry_->set_60hz_filter(0);
    }
  } else if (from == lowpass_box_->hwnd()) {
    entry_->switch_lowpass_filter(entry_->has_lowpass_filter() ? 0 : 1);
  } else if (from == show_box_->hwnd()) {
    entry_->set_shown(entry_->shown() ? 0 : 1);
  } else if (from == scaling_box_->hwnd()) {
    entry_->set_use_for_scaling(entry_->use_for_scaling() ? 0 : 1);
  } else if (from == copy_button_->hwnd()) {
    const traceClass* active = entry_->active_trace();
    trace_clipboard.store(active, active->name());
  } else if (from == samples_button_->hwnd()) {
    toggle_samples_window();
  } else {
    return;
  }
  repaint_both();
}

void plotAttributesWindow::lowpass_typed() {
  char typed[129];
  lowpass_edit_->get_text(typed, sizeof typed);
  lowpassEntryResult entered = read_lowpass_entry(typed);
  switch (entered.kind) {
    case lowpassEntry::not_committed:
      return;
    case lowpassEntry::empty:
      errormessage("*** NO ENTRY MADE, ENTER NUMBER, THEN SEMICOLON. ***");
      show_lowpass();
      return;
    case lowpassEntry::refused:
      errormessage("*** ENTRY MUST BE BETWEEN 3 AND 1000 ***");
      show_lowpass();
      return;
    case lowpassEntry::accepted:
      break;
  }
  entry_->set_lowpass_frequency(entered.frequency);
  lowpass_edit_->get_edit()->set_text(entered.text.c_str());
  if (entry_->has_lowpass_filter()) {
    // Switched off and on again: the filtered trace is rebuilt at the new
    // frequency.
    entry_->switch_lowpass_filter(0);
    entry_->switch_lowpass_filter(1);
    repaint_both();
  }
}

void plotAttributesWindow::right_click(intptr_t lparam) {
  paper scale;
  scale.set_from_window(hwnd());
  double x = scale.mm_x(GET_X_LPARAM(lparam));
  double y = scale.mm_y(GET_Y_LPARAM(lparam));
  groupMenuClass* offered[] = {fill_, width_menu_, symbol_, size_, separation_, symbol_colour_, line_colour_};
  for (groupMenuClass* selector : offered) {
    int chosen = selector->pop_up(x, y, scale);
    if (chosen == -1) continue;
    if (chosen < 0) return;  // dismissed: nothing changes
    if (selector == fill_) {
      fillStyle style{};
      if (fill_style(chosen, &style)) {
        entry_->set_no_line(style.points_only);
        entry_->set_dash(style.dash_period);
      }
    } else if (selector == width_menu_) {
      entry_->set_line_width(chosen + 1);
    } else if (selector == symbol_) {
      entry_->set_symbol(static_cast<int32_t>(selector->value(chosen)));
    } else if (selector == size_) {
      entry_->set_symbol_size(selector->value(chosen));
    } else if (selector == separation_) {
      entry_->set_symbol_separation(selector->value(chosen));
    } else if (selector == symbol_colour_) {
      entry_->set_symbol_color(static_cast<int32_t>(selector->value(chosen)));
    } else {
      entry_->set_color(static_cast<int32_t>(selector->value(chosen)));
      notify_parent(attributes_notice_colour, lparam);
    }
    repaint_both();
    return;
  }
  notify_parent(attributes_notice_copy_menu, lparam);
}

intptr_t plotAttributesWindow::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  if (!entry_ || !show_box_) {
    return DefWindowProcA(window, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lparam);
      if (HIWORD(wparam) == BN_CLICKED) {
        click(from);
      } else if (HIWORD(wparam) == EN_CHANGE && from == lowpass_edit_->edit_hwnd()) {
        lowpass_typed();
      }
      return 0;
    }
    case WM_RBUTTONDOWN:
      right_click(lparam);
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        infomessage("RETURN AT ATTRIBUTES WINDOW");
        return 0;
      }
      break;
    case WM_MOVE: {
      x_ = screen_paper.mm_x(static_cast<int16_t>(LOWORD(lparam)));
      y_ = screen_paper.mm_y(static_cast<int16_t>(HIWORD(lparam)));
      return 0;
    }
    case WM_SIZE:
      if (wparam == SIZE_MINIMIZED) hide();
      return 0;
    case WM_CTLCOLORSTATIC:
      // The check boxes stand on the window's own background.
      SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
      return reinterpret_cast<intptr_t>(GetSysColorBrush(system_background - 1));
    case WM_USER:
      if (wparam == samples_notice_changed) {
        // The entry becomes the average of the selected samples again.
        if (samples_window_ && samples_window_->samples() == entry_->samples_list()) {
          entry_->set_sample_list(entry_->samples_list());
        }
        repaint_both();
      } else if (wparam == samples_notice_closing) {
        samples_button_->set_text("Show Samples");
        samples_shown_ = 0;
        samples_window_ = nullptr;
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

void plotAttributesWindow::toggle_samples_window() {
  if (!entry_ || !samples_button_) return;
  if (samples_shown_) {
    if (samples_window_) samples_window_->hide();
    samples_button_->set_text("Show Samples");
    samples_shown_ = 0;
    return;
  }
  if (!samples_window_) {
    samplesListClass* samples = entry_->samples_list();
    if (!samples || samples->get_count() < 1) return;
    samples_window_ = new sampleSelectWindowClass(
        this, fmt("Samples for: %s", entry_->active_trace()->label()), 0.0, 10.0, samples);
  }
  samples_window_->show();
  samples_window_->restore();
  samples_button_->set_text("Hide Samples");
  samples_shown_ = 1;
}
