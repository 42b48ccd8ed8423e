#include "desktop/windows/openers/register_openers.h"

#include "desktop/windows/comparison/comparison_panel.h"
#include "desktop/windows/drag/drag_item.h"
#include "desktop/windows/fft_graphs/fft_window.h"
#include "desktop/windows/locator/locator_window.h"
#include "desktop/windows/meas_graph/meas_graph.h"
#include "desktop/windows/op_panel/op_panel.h"
#include "desktop/windows/session_panel/session_panel.h"
#include "desktop/windows/summary/session_report.h"
#include "desktop/windows/summary/summary.h"
#include "desktop/windows/thumbnail/thumbnail.h"
#include "desktop/windows/openers/window_openers.h"

namespace {

void open_measurement_graph_of(thumbnailClass* test, int x, int y) { open_measurement_graph(test, nullptr, x, y); }

void open_comparison_graph_of(thumbnailClass* test) {
  auto* graph = new comparisonPanelClass(test, test->document().caption(), 0);
  if (!graph->hwnd())
    delete graph;
  else
    graph->attach_trace(test->document().entry(), test);
}

void open_op_panel_of(thumbnailClass* test, const traceClass* trace, int x, int y) {
  open_op_panel(test, trace, test->document().caption(), x, y, 600, 300);
}

void open_spectrum_of(thumbnailClass* test, const traceClass* trace, int x, int y) {
  open_spectrum_window(test, test->file_name(), trace, x, y, 450, 300);
}

void open_band_pass_of(thumbnailClass* test, const traceClass* trace, int x, int y) {
  open_band_pass_window(test, test->file_name(), trace, x, y, 450, 300);
}

void open_drag_item_of(thumbnailClass* test, double x, double y) {
  // The item deletes itself when the drag ends.
  new dragItemClass(test, test->file_name(), x, y);
}

sessionPanelClass* panel_of(winTypeClass* session) { return static_cast<sessionPanelClass*>(session); }

void show_summary_of(winTypeClass* session) {
  auto* open = static_cast<summaryClass*>(panel_of(session)->summary());
  if (!open) return;
  open->set_shown(true);
  open->show();
  open->invalidate();
}

void open_summary_of(winTypeClass* session) {
  sessionPanelClass* panel = panel_of(session);
  if (winTypeClass* open = panel->summary()) delete open;
  auto* made = new summaryClass(panel);
  if (!made->hwnd()) {
    delete made;  // reported by the summary
    return;
  }
  show_summary_of(session);
}

void print_report_of(winTypeClass* session) { print_session_report(*panel_of(session), nullptr); }

void open_test_locator(int x, int y) { new testLocatorPanelClass(x, y); }

void check_session_filters(winTypeClass* session) { panel_of(session)->update_filter_checks(); }

void cut_from_session(winTypeClass* session, thumbnailClass* test) { panel_of(session)->remove(test); }

void paste_into_session(winTypeClass* session, thumbnailClass* reference, int before) {
  panel_of(session)->paste_thumbnail(reference, before);
}

}  // namespace

void register_all_openers() {
  window_openers.measurement_graph = open_measurement_graph_of;
  window_openers.comparison_graph = open_comparison_graph_of;
  window_openers.op_panel = open_op_panel_of;
  window_openers.spectrum = open_spectrum_of;
  window_openers.band_pass = open_band_pass_of;
  window_openers.drag_item = open_drag_item_of;
  window_openers.show_summary = show_summary_of;
  window_openers.open_summary = open_summary_of;
  window_openers.print_report = print_report_of;
  window_openers.test_locator = open_test_locator;
  window_openers.session_filter_checks = check_session_filters;
  window_openers.session_cut = cut_from_session;
  window_openers.session_paste = paste_into_session;
}
