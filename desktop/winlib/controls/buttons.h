// Push buttons, check boxes and group frames.
#ifndef DESKTOP_WINLIB_CONTROLS_BUTTONS_H
#define DESKTOP_WINLIB_CONTROLS_BUTTONS_H

#include <windows.h>

#include "desktop/winlib/controls/control.h"

class buttonClass : public controlClass {
 public:
  // A visible "BUTTON" child with the text (127 characters kept); width and
  // height are minimums that a wider or taller text exceeds by 1 mm.
  buttonClass(HWND parent, HFONT font, double x, double y, double width, double height, const paper& scale,
              const char* text, DWORD style);

  void measure(HDC dc, const paper& scale) override;
  // The window's text; the stored copy and the size stay.
  void set_text(const char* text) override;
  const char* text() const { return text_; }

 private:
  char text_[128] = {};
};

class checkBoxClass : public controlClass {
 public:
  // A plain BS_CHECKBOX (the holder toggles it on a click), 10 mm wider than
  // its text; the text right of the box when box_left is 1, else left of it.
  checkBoxClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* text, int box_left);

  // The box from the window's own size.
  void measure(HDC dc, const paper& scale) override;

  void check();
  void uncheck();
  // Flips the check; 1 when now checked.
  int toggle();
  bool is_checked();
};

class groupBoxClass : public controlClass {
 public:
  // A titled frame of the given size in the system font.
  groupBoxClass(HWND parent, double x, double y, double width, double height, const paper& scale, const char* title);

  void measure(HDC dc, const paper& scale) override;
};

#endif
