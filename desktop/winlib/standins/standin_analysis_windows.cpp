// STAND-IN for the graph engine and the comparison window that this library
// calls: enough to link and to test the library alone. Replaced when the
// analysis subsystems are built.
#include "analysis_graph_services.h"
#include "analysis_panel_services.h"
#include "messages.h"

graphClass::graphClass() = default;

graphClass::~graphClass() {
  delete_list_items(&entries_);
  if (clip_) DeleteObject(clip_);
}

// The stand-in takes one pixel per millimetre: it has no scale record.
void graphClass::set_plot_area(double x_left, double x_right, double y_top, double y_bottom, const paper&,
                               int attribute) {
  pixels_ = RECT{static_cast<LONG>(x_left), static_cast<LONG>(y_top), static_cast<LONG>(x_right),
                 static_cast<LONG>(y_bottom)};
  attribute_ = attribute;
  if (clip_) DeleteObject(clip_);
  clip_ = CreateRectRgn(pixels_.left, pixels_.top, pixels_.right, pixels_.bottom);
}

tracePlusClass* graphClass::add_trace(const traceClass*) {
  tracePlusClass* entry = new tracePlusClass;
  if (!entries_.add(entry, 0)) {
    delete entry;
    return nullptr;
  }
  return entry;
}

void graphClass::autoscale() {}

void graphClass::draw(HDC, const paper&) {}

int graphClass::in_plot_area(int x, int y) const {
  return x >= pixels_.left && x <= pixels_.right && y >= pixels_.top && y <= pixels_.bottom ? 1 : 0;
}

int comparisonPanelClass::add_trace(const clipboardClass* clipboard) {
  if (!clipboard) {
    errormessage("*** comparisonPanelClass::add_trace: NULL clipboard pointer ***");
    return 0;
  }
  if (!clipboard->loaded()) {
    errormessage("*** comparisonPanelClass::add_trace: CLIPBOARD NOT LOADED ***");
    return 0;
  }
  return graph_.add_trace(clipboard->trace()) ? 1 : 0;
}

LRESULT pump_one_message() {
  MSG message;
  BOOL got = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
  if (!got) return got;
  TranslateMessage(&message);
  return DispatchMessageA(&message);
}
