// dragItemClass: carries a trace from a thumbnail to a comparison graph by
// drag and drop. A small floating window shows the trace clipboard's trace in
// a miniature graph and follows the mouse, centred on the cursor; releasing
// the left button over the plot area of a comparison graph adds the trace
// there; the right button cancels.
//
// The comparison graphs open when the drag starts are its targets. They are
// kept as window handles and looked up again at the drop, so a graph closed
// during the drag is never touched. The drag ends with the window closing:
// at once when no comparison graph is open, after a drop on a target, on a
// right click, or when the mouse capture is lost. drag_in_progress is
// cleared whenever it ends (also in the destructor).
#ifndef DRAG_ITEM_H
#define DRAG_ITEM_H

#include <windows.h>

#include <cstdint>

#include "graph.h"
#include "window_object.h"

// 1 while a trace is dragged: set when a drag starts, cleared when it ends.
extern uint8_t drag_in_progress;

constexpr uint32_t drag_item_type = 24;
constexpr int drag_target_limit = 20;

class dragItemClass : public winTypeClass {
 public:
  // A window of class "dandd_window", 20 x 40 mm at (x, y) mm of the screen,
  // owned by parent's window, showing the trace clipboard's trace; it
  // captures the mouse. It closes itself at once when no comparison graph is
  // open.
  dragItemClass(winTypeClass* parent, const char* title, double x, double y);
  // Ends the drag: drag_in_progress becomes 0.
  ~dragItemClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  int target_count() const { return static_cast<int>(target_count_); }
  HWND target(int index) const { return index >= 0 && index < target_count() ? targets_[index] : nullptr; }
  graphClass& graph() { return graph_; }

 private:
  // The drop at a point in screen pixels: the first target still open whose
  // plot area holds the point takes the trace. False when none did.
  bool drop_at(POINT screen);
  // Releases the mouse, clears drag_in_progress and closes the window; the
  // object is gone afterwards.
  void end_drag();

  graphClass graph_;
  uint32_t target_count_ = 0;
  HWND targets_[drag_target_limit] = {};
  bool ending_ = false;
};

// The windows of a type, in window-tree order (a node, then its children,
// then its next sibling), at most limit of them; returns the count.
int collect_windows(uint32_t type, HWND* windows, int limit);

// Starts dragging the trace that the trace clipboard holds, from owner: sets
// drag_in_progress and opens the drag item at (x, y) mm of the screen with the
// title. Null, nothing started, while a drag is in progress or when the
// clipboard holds nothing.
dragItemClass* start_trace_drag(winTypeClass* owner, const char* title, double x, double y);

#endif
