#include "desktop/winlib/windows/window_object.h"

#include "desktop/winlib/fonts/program_fonts.h"

HINSTANCE program_instance = nullptr;

winTypeClass::winTypeClass(winTypeClass* parent_object, uint32_t type_code)
    : node(nullptr),
      type(type_code),
      instance(program_instance),
      state(1),
      font(program_font),
      logfont(program_logfont),
      parent(parent_object) {
  node = create_window_node(parent_object, this, type_code);
}

winTypeClass::~winTypeClass() {
  windowNode* own = node;
  if (!own) return;
  node = nullptr;
  own->object = nullptr;
  delete_window_node(own, 1);
}

intptr_t winTypeClass::handle_message(uint32_t, uintptr_t, intptr_t) { return 1; }

HWND winTypeClass::set_hwnd(HWND window) {
  if (node) node->hwnd = window;
  return window;
}

HWND winTypeClass::hwnd() const { return node ? node->hwnd : nullptr; }

windowPlacement window_placement(double x, double y, double width, double height, const paper& scale) {
  windowPlacement p{0, 0, 0, 0, false, false};
  if (x == -1.0 || y == -1.0) {
    p.keep_position = true;
  } else {
    p.x = scale.px_x(x);
    p.y = scale.px_y(y);
  }
  if (width == -1.0 || height == -1.0) {
    p.keep_size = true;
  } else {
    p.width = scale.px_x(width);
    p.height = scale.px_y(height);
  }
  return p;
}
