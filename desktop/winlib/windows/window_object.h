// winTypeClass: the base of every desktop window object. The object is made
// with new by whoever opens the window; its constructor enters it in the
// window tree (window_tree.h). The derived window creates its Win32 window
// itself (create_child_window or CreateWindowExA) and binds it with
// set_hwnd; from then on the routing window procedure (window_classes.h)
// hands it its messages. WM_CLOSE deletes it, with every window object
// beneath it.
#ifndef DESKTOP_WINLIB_WINDOWS_WINDOW_OBJECT_H
#define DESKTOP_WINLIB_WINDOWS_WINDOW_OBJECT_H

#include <cstdint>

#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/platform_types.h"
#include "desktop/winlib/windows/window_tree.h"

// The program's instance handle, kept by the entry before any window is made.
extern HINSTANCE program_instance;

class winTypeClass {
 public:
  // Takes the program font (and a copy of its LOGFONT), the instance handle
  // and the type code, and enters a node under parent's (parent null: a
  // top-level window).
  winTypeClass(winTypeClass* parent, uint32_t type_code);
  // Clears its node's object and deletes the node: every window object
  // beneath is deleted, and the window destroyed.
  virtual ~winTypeClass();
  winTypeClass(const winTypeClass&) = delete;
  winTypeClass& operator=(const winTypeClass&) = delete;

  // Lays the window out and draws it for a scale record: the screen's or a
  // window's when painting, the printer's when printing.
  virtual void draw(HDC dc, const paper& scale) = 0;
  // Every message routed to the window but WM_DESTROY and WM_CLOSE. The base
  // returns 1; windows pass what they do not handle to DefWindowProcA. The
  // result is as wide as the platform's, so handles survive it.
  virtual intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam);

  // The same operation as draw, under the name the analysis windows use;
  // windows override draw.
  void rescale(HDC dc, const paper& scale) { draw(dc, scale); }

  HWND set_hwnd(HWND window);
  HWND hwnd() const;

  // Windows only. Places the window in millimetres through the scale record;
  // -1.0 for x or y keeps the position, -1.0 for width or height the size.
  // Returns SetWindowPos's result.
  bool set_position(double x, double y, double width, double height, const paper& scale);
  bool move_to(double x, double y, const paper& scale);
  bool resize(double width, double height, const paper& scale);
  bool post_message(uint32_t message, uintptr_t wparam, intptr_t lparam);
  intptr_t send_message(uint32_t message, uintptr_t wparam, intptr_t lparam);
  void show();
  void hide();
  void restore();
  // The whole client area, with erase.
  void invalidate();
  void set_title(const char* text);
  // WM_PAINT: draw with the window's page scale between BeginPaint and
  // EndPaint.
  void paint_window();
  // The same with a scale of the caller's (a client area that is not all
  // the page, as above a status bar).
  void paint_window(const paper& scale);

  windowNode* node;
  uint32_t type;
  HINSTANCE instance;
  int32_t state;
  HFONT font;  // the program font at construction; not owned
  LOGFONTA logfont;
  winTypeClass* parent;
};

// What set_position hands the platform: pixels, and which of position and
// size are kept.
struct windowPlacement {
  int x;
  int y;
  int width;
  int height;
  bool keep_position;
  bool keep_size;
};

windowPlacement window_placement(double x, double y, double width, double height, const paper& scale);

// A further base of windows that are numbered in their titles: each
// construction adds 1 to the derived class's counter and keeps the new value
// (1, 2, 3 ... in order of creation; nothing counts down).
class globalInstanceClass {
 public:
  explicit globalInstanceClass(int32_t& counter) : instance_number(++counter) {}

  int32_t instance_number;
};

#endif
