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
// right click, or when the mouse capture is lost. The program's drag flag
// (thumbnail_drag_active, which the thumbnail sets before it opens the item)
// is cleared whenever it ends, also in the destructor.
//
// A thumbnail starts a drag by loading the trace clipboard, setting the flag
// and opening the item with new; the item deletes itself when it closes.
#ifndef DESKTOP_WINDOWS_DRAG_DRAG_ITEM_H
#define DESKTOP_WINDOWS_DRAG_DRAG_ITEM_H

#include <windows.h>

#include <cstdint>

#include "desktop/data/graph/graph.h"
#include "desktop/winlib/windows/window_object.h"

constexpr uint32_t drag_item_type = 24;
constexpr int drag_target_limit = 20;

class dragItemClass : public winTypeClass {
 public:
  // A window of class "dandd_window", 20 x 40 mm at (x, y) mm of the screen,
  // owned by parent's window, showing the trace clipboard's trace; it
  // captures the mouse. It closes itself at once when no comparison graph is
  // open.
  dragItemClass(winTypeClass* parent, const char* title, double x, double y);
  // Ends the drag: the drag flag becomes 0.
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
  // Releases the mouse, clears the drag flag and closes the window; the
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

#endif
