#include "desktop/winlib/values/text_object.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "desktop/winlib/drawing/colours.h"
#include "desktop/winlib/fonts/fonts.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/winlib/messages/quiet_report.h"
#include "desktop/winlib/drawing/text_drawing.h"

namespace {

constexpr int white_index = 9;
constexpr int style_default_index = 2;

// Millimetres from a pixel length through one axis of a record; 0 on a
// record without a scale.
double to_mm(double pixels, int32_t origin, double px_per_mm) {
  return px_per_mm != 0.0 ? (pixels - origin) / px_per_mm : 0.0;
}

// A page being printed is drawn through the printer's record.
bool page_is_printed(const paper& scale) {
  return printer_paper.y_px_per_mm != 0.0 && scale.x_px_per_mm == printer_paper.x_px_per_mm &&
         scale.y_px_per_mm == printer_paper.y_px_per_mm;
}

SIZE measure_text(HDC dc, const std::string& text) {
  SIZE size{0, 0};
  if (!text.empty()) size = utf8_text_extent(dc, text.data(), static_cast<int>(text.size()));
  return size;
}

void grow(RECT& bounds, const RECT& r) {
  bounds.left = std::min(bounds.left, r.left);
  bounds.top = std::min(bounds.top, r.top);
  bounds.right = std::max(bounds.right, r.right);
  bounds.bottom = std::max(bounds.bottom, r.bottom);
}

}  // namespace

// ---- gdiStyleRecord --------------------------------------------------------

gdiStyleRecord::gdiStyleRecord()
    : mode(default_brush),
      brush(brush_table[style_default_index]),
      colour(colour_table[style_default_index]),
      colour_index(style_default_index),
      owns_brush(0),
      switch_flag(0) {}

gdiStyleRecord::~gdiStyleRecord() { release_brush(); }

void gdiStyleRecord::release_brush() {
  if (owns_brush && brush) DeleteObject(brush);
  owns_brush = 0;
  brush = nullptr;
}

void gdiStyleRecord::set_colour(COLORREF value) {
  release_brush();
  mode = colour_brush;
  colour = value;
  brush = CreateSolidBrush(value);
  owns_brush = brush ? 1 : 0;
}

void gdiStyleRecord::set_brush(HBRUSH given) {
  release_brush();
  mode = given_brush;
  brush = given;
}

// ---- textObjectClass -------------------------------------------------------

textObjectClass::textObjectClass() : linkClass(text_object_type, 1), positionClass(0.0, 0.0, 0.0, 0.0) {
  style_.set_flag(true);
}

textObjectClass::~textObjectClass() {
  // The lines go first, each leaving the lists of the values it was bound
  // to; the text object's own links go with its linkClass part.
  lines_.clear();
  release_font();
}

void textObjectClass::release_font() {
  if (font_ && !font_given_ && !is_standard_font(font_)) DeleteObject(font_);
  font_ = nullptr;
  font_given_ = 0;
  font_valid_ = 0;
}

void textObjectClass::keep_face(const char* face) { face_name_ = face ? face : ""; }

void textObjectClass::make_lines(const char* first_format, const char* other_format, int count) {
  if (count < 1) {
    report_error("*** textObjectClass::init - LINE COUNT %d, ONE LINE MADE ***", count);
    count = 1;
  }
  lines_.clear();
  for (int i = 0; i < count; ++i) {
    lines_.push_back(std::unique_ptr<stringObjectClass>(new stringObjectClass()));
    lines_.back()->set_format_text(i == 0 ? first_format : other_format);
    lines_.back()->set_live(live_ != 0);
  }
}

void textObjectClass::init(HWND window, HFONT given_font, const char* format, int line_count, double x, double y,
                           paper& scale) {
  make_lines(format, format, line_count);
  place_x(x, x);
  place_y(y, y);
  release_font();
  if (given_font) {
    font_ = given_font;
    font_given_ = 1;
    if (GetObjectA(given_font, sizeof logfont_, &logfont_)) {
      font_height_mm_ = to_mm(logfont_.lfHeight, screen_paper.y_origin, screen_paper.y_px_per_mm);
      font_width_mm_ = to_mm(logfont_.lfWidth, screen_paper.x_origin, screen_paper.x_px_per_mm);
      font_weight_ = logfont_.lfWeight;
      keep_face(logfont_.lfFaceName);
    }
  } else {
    font_height_mm_ = to_mm(program_logfont.lfHeight, screen_paper.y_origin, screen_paper.y_px_per_mm);
    font_width_mm_ = to_mm(program_logfont.lfWidth, screen_paper.x_origin, screen_paper.x_px_per_mm);
    font_weight_ = program_logfont.lfWeight;
    keep_face(program_logfont.lfFaceName);
    font_ = make_font(screen_paper.px_y(font_height_mm_), 0, font_weight_, face_name_.c_str(), 0);
    logfont_ = font_record;
  }
  finish_init(window, scale);
}

void textObjectClass::init_sized(HWND window, const char* first_format, int line_count, double x, double y,
                                 paper& scale, double height_mm, int weight, const char* face) {
  make_lines(first_format, " ", line_count);
  place_x(x, x);
  place_y(y, y);
  release_font();
  font_height_mm_ = height_mm;
  font_width_mm_ = height_mm / 2.0;
  font_weight_ = weight;
  keep_face(face);
  font_ = make_font(screen_paper.px_y(height_mm), screen_paper.px_x(height_mm / 2.0), weight, face_name_.c_str(), 0);
  logfont_ = font_record;
  finish_init(window, scale);
}

// The common end of both set-ups, once the font is chosen.
void textObjectClass::finish_init(HWND window, paper& scale) {
  font_valid_ = font_ ? 1 : 0;
  shown_ = 1;
  justification_ = justify_left_top;
  window_ = window;
  scale.set_from_window(window);
  font_scale_y_ = scale.y_px_per_mm;
  pressed_ = 0;
  releasing_ = 0;
  painted_ = 0;
  initialised_ = 1;
}

void textObjectClass::set_format_text(const char* text, int index) {
  if (index > line_count() || lines_.empty()) {
    report_error("*** textObjectClass::set_format_text - index too large (%d) ***", index);
    return;
  }
  format_changed_ = 1;
  index = std::max(0, std::min(index, line_count() - 1));
  lines_[static_cast<size_t>(index)]->set_format_text(text);
}

stringObjectClass* textObjectClass::line(int index) {
  if (index < 0 || index >= line_count()) return nullptr;
  return lines_[static_cast<size_t>(index)].get();
}

const char* textObjectClass::line_text(int index) {
  report("value");
  stringObjectClass* chosen = line(index);
  if (!chosen) {
    report_error("*** textObjectClass::line_text - NO LINE %d ***", index);
    return "";
  }
  return chosen->cvalue();
}

const char* textObjectClass::text_value() {
  stringObjectClass* first = line(0);
  return first ? first->cvalue() : "";
}

bool textObjectClass::bind_line_value(linkClass* value, int index, std::function<bool()> no_value) {
  stringObjectClass* chosen = line(index);
  if (!chosen) {
    report_error("*** textObjectClass::bind_line_value - NO LINE %d ***", index);
    return false;
  }
  if (no_value) chosen->set_no_value(value, std::move(no_value));
  bool bound = add_dependency(value);
  return chosen->add_dependency(value) && bound;
}

void textObjectClass::set_live(bool on) {
  live_ = on ? 1 : 0;
  for (auto& each : lines_) each->set_live(on);
}

HFONT textObjectClass::set_font(HFONT given_font) {
  if (!given_font) {
    report_error("*** textObjectClass::set_font: SUPPLIED FONT IS NULL ***");
    return nullptr;
  }
  if (given_font == font_) return nullptr;
  // An own font is deleted here, so only a given one is handed back.
  HFONT previous = font_given_ ? font_ : nullptr;
  release_font();
  font_ = given_font;
  font_given_ = 1;
  font_valid_ = 1;
  if (GetObjectA(given_font, sizeof logfont_, &logfont_)) {
    font_height_mm_ = to_mm(logfont_.lfHeight, screen_paper.y_origin, screen_paper.y_px_per_mm);
    font_weight_ = logfont_.lfWeight;
    keep_face(logfont_.lfFaceName);
  }
  return previous;
}

bool textObjectClass::choose_font(bool quiet, HWND owner) {
  if (!::choose_font(logfont_, quiet, owner)) return false;
  HFONT made = CreateFontIndirectA(&logfont_);
  if (!made) {
    report_error("*** textObjectClass::choose_font: FONT [%s] NOT MADE ***", logfont_.lfFaceName);
    return false;
  }
  release_font();
  font_ = made;
  font_given_ = 0;
  font_valid_ = 1;
  font_height_mm_ = to_mm(logfont_.lfHeight, screen_paper.y_origin, screen_paper.y_px_per_mm);
  font_weight_ = logfont_.lfWeight;
  keep_face(logfont_.lfFaceName);
  font_scale_y_ = screen_paper.y_px_per_mm;
  return true;
}

void textObjectClass::invalidate() {
  if (window_ && painted_) InvalidateRect(window_, &bounds_, TRUE);
}

bool textObjectClass::update() {
  if (!live_) return false;
  for (auto& each : lines_) each->cvalue();
  if (window_ && painted_) {
    // The new text may reach further than the old: the pixels of both are
    // repainted.
    RECT old_bounds = bounds_;
    HDC dc = GetDC(window_);
    if (dc) {
      measure(dc, last_scale_);
      ReleaseDC(window_, dc);
    }
    grow(bounds_, old_bounds);
    invalidate();
  }
  return true;
}

void textObjectClass::measure(HDC dc, const paper& scale) {
  uint8_t was_shown = shown_;
  shown_ = 0;
  refresh(dc, scale);
  shown_ = was_shown;
}

void textObjectClass::refresh(HDC dc, const paper& scale) {
  quietReportScope quiet;
  if (!initialised_) {
    report_error("*** textObjectClass::refresh TEXT IS NOT INITIALIZED ***");
    return;
  }
  if (!dc) return;
  bool printed = page_is_printed(scale);
  // A text keeps its size in millimetres on every surface.
  if (scale.y_px_per_mm != font_scale_y_ && !font_given_) {
    logfont_.lfHeight = truncate_to_int(font_height_mm_ * scale.y_px_per_mm);
    logfont_.lfWidth = 0;
    HFONT made = CreateFontIndirectA(&logfont_);
    if (made) {
      release_font();
      font_ = made;
      font_valid_ = 1;
      font_scale_y_ = scale.y_px_per_mm;
    } else {
      report_error("*** textObjectClass::refresh FONT [%s] NOT MADE ***", logfont_.lfFaceName);
    }
  }
  HBRUSH background = (style_.switch_flag || printed) ? brush_table[white_index] : style_.brush;
  // The pixels of the last paint are cleared first (a page being printed
  // is new).
  if (!printed && shown_ && background_mode_ == OPAQUE && painted_ && background) FillRect(dc, &bounds_, background);

  int x = scale.px_x(ref_x);
  int y = scale.px_y(ref_y);
  RECT bounds{x, y, -100000, -100000};

  HGDIOBJ old_font = font_ ? SelectObject(dc, font_) : nullptr;
  int old_mode = SetBkMode(dc, TRANSPARENT);
  COLORREF old_text_colour = SetTextColor(dc, text_colour_);
  COLORREF old_background_colour = GetBkColor(dc);
  if (style_.mode >= gdiStyleRecord::colour_brush) SetBkColor(dc, style_.colour);

  int block_height = 0;
  int largest_width = 0;
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string text = lines_[i]->cvalue();
    SIZE size = measure_text(dc, text);
    switch (justification_) {
      case justify_left_top:
        break;
      case justify_centre:
        x -= size.cx / 2;
        y -= size.cy / 2;
        break;
      case justify_centre_top:
        x -= size.cx / 2;
        break;
      case justify_left_middle:
        y -= size.cy / 2;
        break;
      case justify_page_centre_top:
        x = truncate_to_int(scale.width_px / 2.0) - size.cx / 2;
        break;
      default:
        report_error("*** UNKNOWN JUSTIFICATION [%d] ***", static_cast<int>(justification_));
        break;
    }
    if (i == 0) {
      place_x(ref_x, scale.mm_x(x));
      place_y(ref_y, scale.mm_y(y));
    }
    block_height += size.cy;
    largest_width = std::max(largest_width, static_cast<int>(size.cx));
    int average_width = text.empty() ? 0 : size.cx / static_cast<int>(text.size());
    RECT line_rect{x, y, x + largest_width + average_width, y + size.cy};
    if (shown_ && lines_[i]->is_shown()) {
      if (background_mode_ == OPAQUE && background) FillRect(dc, &line_rect, background);
      utf8_text_out(dc, x, y, text.data(), static_cast<int>(text.size()));
    }
    grow(bounds, line_rect);
    y += size.cy;
    last_text_size_ = size;
  }
  set_size(to_mm(largest_width, scale.x_origin, scale.x_px_per_mm),
           to_mm(block_height, scale.y_origin, scale.y_px_per_mm));

  SetBkColor(dc, old_background_colour);
  SetTextColor(dc, old_text_colour);
  SetBkMode(dc, old_mode);
  if (old_font) SelectObject(dc, old_font);

  bounds_ = bounds;
  if (!printed) {
    last_scale_.copy_from(scale);
    painted_ = 1;
  }
}

void textObjectClass::mark(HDC dc, int x, int y) { Ellipse(dc, x - 2, y - 2, x + 2, y + 2); }

bool textObjectClass::press(HDC dc, int x, int y, const paper& scale) {
  if (!initialised_ || lines_.empty()) return false;
  std::string text = lines_[0]->cvalue();
  HGDIOBJ old_font = font_ ? SelectObject(dc, font_) : nullptr;
  SIZE size = measure_text(dc, text);
  if (old_font) SelectObject(dc, old_font);
  int left = scale.px_x(box_x);
  int top = scale.px_y(box_y);
  RECT first_line{left, top, left + size.cx, top + size.cy};
  POINT point{x, y};
  if (!PtInRect(&first_line, point)) return false;
  pressed_ = 1;
  mark(dc, x, y);
  press_point_ = point;
  current_point_ = point;
  return true;
}

void textObjectClass::move(HDC dc, int x, int y, const paper&) {
  if (!initialised_ || !pressed_) return;
  mark(dc, x, y);
  current_point_ = POINT{x, y};
}

void textObjectClass::release(HDC, const paper& scale) {
  if (!initialised_ || releasing_ || !pressed_) return;
  releasing_ = 1;
  pressed_ = 0;
  set_x(box_x + to_mm(current_point_.x - press_point_.x, scale.x_origin, scale.x_px_per_mm));
  set_y(box_y + to_mm(current_point_.y - press_point_.y, scale.y_origin, scale.y_px_per_mm));

  // Every completed drag ends with the font dialog. A chosen font becomes
  // the text's own; a given font (the program font, say) stays alive.
  logfont_.lfHeight = scale.px_y(font_height_mm_);
  logfont_.lfWidth = 0;
  if (::choose_font(logfont_, false, nullptr)) {
    HFONT made = CreateFontIndirectA(&logfont_);
    if (made) {
      release_font();
      font_ = made;
      font_scale_y_ = scale.y_px_per_mm;
      font_height_mm_ = to_mm(logfont_.lfHeight, scale.y_origin, scale.y_px_per_mm);
      font_weight_ = logfont_.lfWeight;
      keep_face(logfont_.lfFaceName);
    } else {
      report_error("*** textObjectClass::release FONT [%s] NOT MADE ***", logfont_.lfFaceName);
    }
  }
  releasing_ = 0;
  font_valid_ = font_ ? 1 : 0;
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}
