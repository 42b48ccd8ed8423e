// Edit fields (single- or multi-line EDIT children) with text and number
// reading and writing, and labelled edits: a field with a label drawn as a
// text object at its left or centred above it, moved, measured and painted
// as one control.
#ifndef DESKTOP_WINLIB_CONTROLS_EDIT_FIELDS_H
#define DESKTOP_WINLIB_CONTROLS_EDIT_FIELDS_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/controls/control.h"
#include "desktop/winlib/messages/printf_check.h"
#include "desktop/winlib/values/text_object.h"

// Text alignment in a field: 0 left, 4 centred, any other value right.
constexpr uint32_t edit_left = 0;
constexpr uint32_t edit_centred = 4;
constexpr uint32_t edit_right = 1;

class editClass : public controlClass {
 public:
  // Single-line field of chars "X" characters.
  editClass(HWND parent, HFONT font, double x, double y, const paper& scale, uint32_t justification, int chars,
            DWORD style);
  // Multi-line field of chars characters and lines lines.
  editClass(HWND parent, HFONT font, double x, double y, const paper& scale, uint32_t justification, int chars,
            int lines, DWORD style);

  void measure(HDC dc, const paper& scale) override;
  // Moves and sizes the window to the box.
  void rescale(HDC dc, const paper& scale) override;
  // Null shows "???". A multi-line field gets every lone line feed and lone
  // carriage return as a carriage-return line-feed pair.
  void set_text(const char* text) override;

  // The whole text; valid until the next get_text.
  const char* get_text();
  // The text into buffer (size bytes, always terminated).
  void read_text(char* buffer, int size);
  int text_length();
  // The number at the start of the text (at most 64 characters read); 0 for
  // an empty text or one that does not begin with a number. get_int holds a
  // number beyond the integer range at its ends.
  int get_int();
  void set_int(int value);
  double get_double();
  void set_double(double value);
  // Removes every ";" in place; true when one was removed.
  static bool strip_semicolons(char* text);
  // For a holder's WM_COMMAND: false when window is not this field's; true
  // otherwise, and for EN_CHANGE *semicolon tells whether the user typed ";"
  // (the window's text is not changed).
  bool check_notification(UINT code, HWND window, bool* semicolon);
  LRESULT send(UINT message, WPARAM wparam, LPARAM lparam);

  uint32_t chars() const { return chars_; }
  uint32_t lines() const { return lines_; }

 private:
  void create(DWORD style, const paper& scale);

  uint32_t chars_;
  uint32_t justification_;
  uint32_t lines_;
  uint32_t multi_line_;
  byteObjectClass text_;
};

// Where a labelled edit's label stands.
constexpr uint32_t label_left = 0;
constexpr uint32_t label_above = 2;

class editLabelClass : public controlClass {
 public:
  editLabelClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* label,
                 HFONT label_font, uint32_t placement, int chars, DWORD style, uint32_t justification);
  // lines of 2 or more make a multi-line field.
  editLabelClass(HWND parent, HFONT font, double x, double y, const paper& scale, const char* label,
                 HFONT label_font, uint32_t placement, int chars, int lines, DWORD style, uint32_t justification);
  ~editLabelClass() override;

  // Lays label and field out; another placement is reported "*** INVALID
  // LABEL JUSTIFICATION FOR EDIT CONTROL **" and lays nothing out.
  void measure(HDC dc, const paper& scale) override;
  // Moves label and field together so that the field stands at (x, y).
  void place(double x, double y, const paper& scale) override;
  // Paints the label.
  void rescale(HDC dc, const paper& scale) override;
  // The field shows text as it is (null: "???").
  void set_text(const char* text) override;
  // Formats into 2047 characters (a longer text is reported "***
  // editLabelClass::set_text, BUFFER OVERRUN ***" and cut) for the field.
  void set_text(const char* format, ...) ERG_PRINTF(2, 3);
  // The field's text into buffer.
  void get_text(char* buffer, int size) { edit_->read_text(buffer, size); }

  editClass* get_edit() { return edit_; }
  HWND edit_hwnd() const { return edit_->hwnd(); }
  textObjectClass* label() { return label_; }
  // The pair's y plus the field's height: the next row goes 2 mm below.
  double get_bottom() const { return box_y + edit_->height(); }

 private:
  void build(HWND parent, HFONT font, double x, double y, const paper& scale, const char* label, HFONT label_font,
             int chars, int lines, DWORD style, uint32_t justification);

  textObjectClass* label_ = nullptr;
  uint32_t placement_;
  editClass* edit_ = nullptr;
};

#endif
