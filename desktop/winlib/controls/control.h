// controlClass: the base of every child control of the desktop windows. A
// control ties a child window to a box kept in millimetres (positionClass),
// creates and sizes the window through a scale record (paper), keeps the
// control's font, and can carry a pop-up menu of its own.
//
// Pixels: px(v) = int(v * x pixels per mm) + x origin, py(v) likewise; sizes
// are converted by the same rule, origin included.
//
// A window-backed control is made in this order: the base, the class's own
// parameters, set_font on the parent's device context (so measure sets the
// size in millimetres), then the child window at px(x), py(y) with size
// px(width) x py(height) (id 0: holders tell controls apart by the window
// handle of a notification), then WM_SETFONT.
//
// Controls are made with new, handed to the holder's controlListClass (which
// owns and deletes them) and placed and rescaled by the holder. Their child
// windows go with the parent window.
#ifndef DESKTOP_WINLIB_CONTROLS_CONTROL_H
#define DESKTOP_WINLIB_CONTROLS_CONTROL_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/containers/list_payload.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/position.h"
#include "desktop/winlib/containers/r_list.h"

// One entry appended to a control's pop-up menu.
struct menuItemRecord : listPayload {
  menuItemRecord(uint32_t command, const char* text) : id(command), label(text) {}
  uint32_t id;
  byteObjectClass label;
};

class controlClass : public positionClass, public listPayload {
 public:
  // A null parent is reported "*** controlClass::controlClass - NO PARENT
  // SUPPLIED ***"; the control is built all the same.
  controlClass(HWND parent, HFONT font, double x, double y);
  ~controlClass() override;
  controlClass(const controlClass&) = delete;
  controlClass& operator=(const controlClass&) = delete;

  // Sets width and height in millimetres from the content, measured on dc
  // with the control's font.
  void measure(HDC dc, const paper& scale) override = 0;
  // Moves the reference point (the box moves with it) and, when the window
  // exists, the window.
  virtual void place(double x, double y, const paper& scale);
  // Re-applies a scale after the holder's size or scale changed and draws
  // what the control draws itself. Nothing by default.
  virtual void rescale(HDC dc, const paper& scale);
  // Shows a text in the control. Nothing by default.
  virtual void set_text(const char* text);

  // A non-null font replaces the stored one (and goes to the window); then
  // the control measures itself.
  void set_font(HDC dc, const paper& scale, HFONT new_font);

  // The control's own pop-up menu. create_popup_menu reports a failure with
  // the system's text; append_menu without a menu reports "***
  // controlClass::append_menu - NO MENU EXISTS ***".
  bool create_popup_menu();
  void append_menu(uint32_t id, const char* text);
  // The label of the first entry with that command, or null.
  const char* menu_text(uint32_t id);
  HMENU popup_menu() const { return popup_menu_; }

  HWND hwnd() const { return window_; }
  HWND parent_window() const { return parent_; }
  HFONT control_font() const { return font_; }
  void show();
  void hide();

 protected:
  // The child window at the box through the scale; shown, given the font.
  HWND create_window(const char* class_name, const char* title, DWORD style, const paper& scale);
  // set_font (the stored font) on the parent's device context.
  void measure_on_parent(const paper& scale);
  // The text's extent in pixels on dc with the control's font selected.
  bool text_extent(HDC dc, const char* text, SIZE* size) const;
  // A string of count "X" characters (at most 255).
  static void x_string(char* out, int count);

  HFONT font_;
  HWND parent_;
  HWND window_ = nullptr;
  HMENU popup_menu_ = nullptr;
  r_list<menuItemRecord> menu_items_;
};

// A window's list of its child controls; it owns them.
class controlListClass {
 public:
  controlListClass();
  virtual ~controlListClass();
  controlListClass(const controlListClass&) = delete;
  controlListClass& operator=(const controlListClass&) = delete;

  // False, list unchanged, when the control is already held.
  bool add(controlClass* control);
  // rescale of every control in the order added.
  void rescale(HDC dc, const paper& scale);
  // The context menu under a point in pixels of the holder's client area:
  // the first control added whose box contains the point opens its pop-up
  // menu there. Result: the chosen command, 0 when the control has no menu or
  // the menu was dismissed, -1 when no control contains the point. The hit
  // control goes to *hit when hit is not null.
  int track_popup(int x, int y, const paper& scale, controlClass** hit);
  int count() const { return controls_.count(); }

 private:
  r_list<controlClass> controls_;
};

// Without any object: a STATIC label (placement 0 at the left of the field,
// 2 centred above it) and an EDIT field of chars "X" characters at (x, y);
// returns the field's window. Another placement is reported "*** INVALID
// JUSTIFICATION FOR EDIT CONTROL **" and makes no label.
HWND create_labelled_edit(HWND parent, HFONT font, const paper& scale, const char* label, int placement, double x,
                          double y, int chars, DWORD style);

#endif
