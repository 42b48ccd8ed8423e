// Controls that show a text object: the drawn box, the captioned group frame,
// the static text and the trackbar with its caption.
#ifndef DESKTOP_WINLIB_CONTROLS_CAPTIONS_H
#define DESKTOP_WINLIB_CONTROLS_CAPTIONS_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/controls/control.h"
#include "desktop/winlib/values/text_object.h"

// The fill of a drawn box: a brush of the program's table (not owned) or one
// the record made itself (owned).
struct fillRecord {
  int32_t kind = 0;
  int32_t colour_index = 0;
  COLORREF colour = 0;
  HBRUSH brush = nullptr;
  uint8_t owned = 0;
};

// A rectangle drawn on the holder's device context, without a window, with
// its title inside at the top left.
class boxClass : public controlClass {
 public:
  boxClass(HWND parent, double x, double y, double width, double height, const paper& scale, const char* text);
  ~boxClass() override;

  void measure(HDC dc, const paper& scale) override;
  // Paints the box (white while printing) and its title.
  void rescale(HDC dc, const paper& scale) override;
  // The fill and the title's background become the program's brush of the
  // colour index.
  void set_fill(int colour_index);
  textObjectClass& label() { return label_; }
  HBRUSH fill_brush() const { return fill_.brush; }

 private:
  uint32_t pen_index_ = 5;
  fillRecord fill_;
  textObjectClass label_;
};

// A group frame ("BUTTON", BS_GROUPBOX) with a caption of several lines drawn
// inside it; the frame fits the caption with margins.
class groupTextClass : public controlClass {
 public:
  groupTextClass(HWND parent, HFONT font, double x, double y, int caption_lines, const paper& scale,
                 const char* title);

  // Caption width + 0.5 mm, caption height + 7 mm; the caption goes to
  // (x + 1, y + 5) and the window to the box.
  void measure(HDC dc, const paper& scale) override;
  void place(double x, double y, const paper& scale) override;
  // Invalidates the frame, measures the caption and paints it.
  void rescale(HDC dc, const paper& scale) override;
  virtual void set_line(int index, const char* text);
  textObjectClass& caption() { return caption_; }

 protected:
  void move_window(const paper& scale);

  textObjectClass caption_;
};

// A "STATIC" text sized to its text, whose caption is painted as well.
class staticClass : public controlClass {
 public:
  staticClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* text);

  void measure(HDC dc, const paper& scale) override;
  void rescale(HDC dc, const paper& scale) override;
  // The caption's line 0 and the window's text.
  void set_text(const char* text) override;
  textObjectClass& caption() { return caption_; }

 private:
  textObjectClass caption_;
};

// Where a trackbar's caption stands.
constexpr uint32_t caption_right = 1;
constexpr uint32_t caption_below = 3;

// A horizontal "msctls_trackbar32" with a caption right of it or centred
// below it. Holders send TBM_SETRANGE, TBM_SETPOS and TBM_GETPOS to its
// window, which identifies it in WM_HSCROLL.
class trackbarClass : public controlClass {
 public:
  trackbarClass(HWND parent, double x, double y, double width, double height, const paper& scale,
                uint32_t caption_placement);

  void measure(HDC dc, const paper& scale) override;
  // Places the caption by the placement and paints it; another placement
  // is reported "*** trackbarClass: invalid justification ***".
  void rescale(HDC dc, const paper& scale) override;
  void set_caption(const char* text) { caption_.set_format_text(text, 0); }
  textObjectClass& caption() { return caption_; }

 private:
  uint32_t caption_placement_;
  textObjectClass caption_;
};

#endif
