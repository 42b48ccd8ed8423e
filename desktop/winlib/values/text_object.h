// textObjectClass: a block of text lines placed in millimetres in a window,
// each line a value text (stringObjectClass) filled from linked values. It is
// a value object itself (a change of a value it is bound to makes its lines
// anew and repaints them), a mouse-aware item (dragged, it moves and then
// offers the font dialog) and a placed box (which grows to the text it last
// drew).
//
// Its font is its own (made from the program font's record, or by
// init_sized, or chosen in the font dialog) or given by the caller; a given
// font, like every standard font, is never deleted by the text object.
// Errors met while it paints are logged once, not shown (quiet_report.h).
#ifndef DESKTOP_WINLIB_VALUES_TEXT_OBJECT_H
#define DESKTOP_WINLIB_VALUES_TEXT_OBJECT_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/winlib/values/link_object.h"
#include "desktop/winlib/windows/mouse_items.h"
#include "desktop/winlib/geometry/paper.h"
#include "desktop/winlib/geometry/position.h"
#include "desktop/winlib/values/string_object.h"

constexpr uint32_t text_object_type = 7;

// How the text block sits on its reference point.
enum textJustification : int32_t {
  justify_centre = 4,           // centred in x and y
  justify_centre_top = 5,       // centred in x, top at the point
  justify_left_middle = 8,      // left edge at the point, centred in y
  justify_left_top = 9,         // left edge and top at the point
  justify_page_centre_top = 10  // centred on the page's middle in x, top at the point
};

// The background of a text: the default brush (colour index 2), a brush
// given by the caller, or an owned brush of a colour. While the switch is
// on (and on a printed page) the background is white instead.
struct gdiStyleRecord {
  static constexpr int32_t default_brush = 0;
  static constexpr int32_t given_brush = 1;
  static constexpr int32_t colour_brush = 2;

  gdiStyleRecord();
  ~gdiStyleRecord();
  gdiStyleRecord(const gdiStyleRecord&) = delete;
  gdiStyleRecord& operator=(const gdiStyleRecord&) = delete;

  void set_flag(bool on) { switch_flag = on ? 1 : 0; }
  // An owned solid brush of the colour (mode 2); an owned brush before it
  // is deleted first.
  void set_colour(COLORREF value);
  // The caller's brush, not owned (mode 1).
  void set_brush(HBRUSH given);

  int32_t mode;
  HBRUSH brush;
  COLORREF colour;
  int32_t colour_index;
  uint8_t owns_brush;
  uint8_t switch_flag;

 private:
  void release_brush();
};

class textObjectClass : public linkClass, public buttonAwareClass, public positionClass {
 public:
  textObjectClass();
  ~textObjectClass() override;

  // line_count lines, each with the format, at (x, y) in millimetres, in
  // the font given (not owned) or, for null, in an own font made from the
  // program font's record. scale is filled from the window's client area.
  void init(HWND window, HFONT given_font, const char* format, int line_count, double x, double y, paper& scale);
  // As init, but only the first line gets the format (the others " "), in
  // an own font of height_mm (and half that wide), weight and face.
  void init_sized(HWND window, const char* first_format, int line_count, double x, double y, paper& scale,
                  double height_mm, int weight, const char* face);

  // Sets the format of a line: an index equal to the line count sets the
  // last line, one above it is refused.
  void set_format_text(const char* text, int index);
  void set_text(const char* text, int index) { set_format_text(text, index); }
  // The current text of a line (logs its report line first when named).
  const char* line_text(int index);
  // The text object and its line come to depend on the value: a change of
  // the value makes the line anew and repaints the text. While no_value
  // holds, the value shows "---" in its place.
  bool bind_line_value(linkClass* value, int line, std::function<bool()> no_value = nullptr);
  int line_count() const { return static_cast<int>(lines_.size()); }
  stringObjectClass* line(int index);
  void set_live(bool on);

  // Takes the caller's font (not owned); an own font before it is deleted.
  // Returns the font it replaced when that one is still alive (a given
  // font), else null; a null font is refused.
  HFONT set_font(HFONT given_font);
  // The font dialog on the text's font record; a chosen font becomes its own
  // font. True when a font was chosen.
  bool choose_font(bool quiet, HWND owner);
  HFONT font() const { return font_; }
  bool font_is_given() const { return font_given_ != 0; }
  const LOGFONTA& logfont() const { return logfont_; }
  double font_height_mm() const { return font_height_mm_; }

  void set_text_color(COLORREF colour) { text_colour_ = colour; }
  void set_background_color(COLORREF colour) { style_.set_colour(colour); }
  void set_background_brush(HBRUSH brush) { style_.set_brush(brush); }
  void set_opaque() { background_mode_ = OPAQUE; }
  void set_transparent() { background_mode_ = TRANSPARENT; }
  void show() { shown_ = 1; }
  void hide() { shown_ = 0; }
  bool is_shown() const { return shown_ != 0; }
  void set_justification(int32_t code) { justification_ = code; }
  void set_size_code(int32_t code) { set_justification(code); }
  int32_t justification() const { return justification_; }
  gdiStyleRecord& style() { return style_; }

  // Repaints the pixels the text last covered.
  void invalidate();
  // The pixels covered by the last paint.
  const RECT& bounds() const { return bounds_; }
  SIZE last_text_size() const { return last_text_size_; }

  // linkClass: while live, makes every line anew and repaints; true.
  bool update() override;
  // linkClass: the text of the first line, as an argument of a value text.
  const char* text_value() override;
  // positionClass: lays the box out for the scale without drawing.
  void measure(HDC dc, const paper& scale) override;
  // buttonAwareClass: a press on the first line takes the mouse; moves are
  // marked with a small circle; the release moves the text by the pointer's
  // travel and offers the font dialog.
  bool press(HDC dc, int x, int y, const paper& scale) override;
  void move(HDC dc, int x, int y, const paper& scale) override;
  void release(HDC dc, const paper& scale) override;
  void paint(HDC dc, const paper& scale) override { refresh(dc, scale); }

  // Draws the lines for the scale and grows the box to them.
  void refresh(HDC dc, const paper& scale);

 private:
  void make_lines(const char* first_format, const char* other_format, int count);
  // Deletes the font when it is the text object's own.
  void release_font();
  void finish_init(HWND window, paper& scale);
  void keep_face(const char* face);
  void mark(HDC dc, int x, int y);

  uint8_t shown_ = 1;
  std::vector<std::unique_ptr<stringObjectClass>> lines_;
  LOGFONTA logfont_{};
  HFONT font_ = nullptr;
  double font_height_mm_ = 0.0;
  double font_width_mm_ = 0.0;
  int32_t font_weight_ = 0;
  std::string face_name_;
  uint8_t font_given_ = 0;
  uint8_t font_valid_ = 0;
  SIZE last_text_size_{0, 0};
  gdiStyleRecord style_;
  int32_t background_mode_ = TRANSPARENT;
  COLORREF text_colour_ = RGB(0, 0, 0);
  uint8_t initialised_ = 0;
  double font_scale_y_ = 0.0;
  HWND window_ = nullptr;
  int32_t justification_ = justify_left_top;
  uint8_t pressed_ = 0;
  uint8_t releasing_ = 0;
  RECT bounds_{0, 0, 0, 0};
  uint8_t format_changed_ = 0;
  uint8_t live_ = 1;
  POINT press_point_{0, 0};
  POINT current_point_{0, 0};
  // The scale of the last paint on the screen, to lay the text out anew
  // when a value changes.
  paper last_scale_;
  uint8_t painted_ = 0;
};

#endif
