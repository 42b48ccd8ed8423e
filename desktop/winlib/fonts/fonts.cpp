#include "desktop/winlib/fonts/fonts.h"

#include <cstring>

#include "desktop/winlib/fonts/font_dialog_ui.h"
#include "desktop/winlib/messages/quiet_report.h"

LOGFONTA font_record{};

namespace {

struct fontStackEntry {
  HFONT pushed;
  HFONT replaced;
  HDC dc;
};

fontStackEntry font_stack[font_stack_size] = {};
int font_stack_count = 0;

HFONT create_from_record() {
  HFONT font = CreateFontIndirectA(&font_record);
  if (!font) report_error("### make_font: CreateFontIndirect FAILED [%s] ###", font_record.lfFaceName);
  return font;
}

void set_face(LOGFONTA& record, const char* face) {
  std::memset(record.lfFaceName, 0, sizeof record.lfFaceName);
  if (face) std::strncpy(record.lfFaceName, face, sizeof record.lfFaceName - 1);
}

}  // namespace

HFONT make_font(int height, int width, int weight, const char* face, int underline) {
  font_record = LOGFONTA{};
  font_record.lfHeight = height;
  font_record.lfWidth = width;
  font_record.lfWeight = weight;
  font_record.lfUnderline = static_cast<BYTE>(underline ? 1 : 0);
  set_face(font_record, face);
  return create_from_record();
}

HFONT make_font_scaled(const paper& scale, double height_mm, double width_mm, int weight, const char* face,
                       double angle, int style) {
  font_record = LOGFONTA{};
  font_record.lfHeight = scale.px_y(height_mm);
  font_record.lfWidth = scale.px_x(width_mm);
  font_record.lfEscapement = truncate_to_int(angle * 10.0);
  font_record.lfOrientation = font_record.lfEscapement;
  font_record.lfWeight = weight;
  font_record.lfUnderline = static_cast<BYTE>(style & 1);
  font_record.lfItalic = static_cast<BYTE>((style >> 1) & 1);
  font_record.lfStrikeOut = static_cast<BYTE>((style >> 2) & 1);
  set_face(font_record, face);
  return create_from_record();
}

void make_standard_fonts(const paper& screen) {
  if (program_font_chosen) {
    program_font = CreateFontIndirectA(&program_logfont);
    if (!program_font) report_error("### make_standard_fonts: PROGRAM FONT [%s] FAILED ###", program_logfont.lfFaceName);
  } else {
    int height = screen.px_y(4.0);
    int width = screen.px_x(1.5);
    program_font = make_font(height, width, 400, "System", 0);
    program_logfont = font_record;
    underlined_font = make_font(height, width, 400, "System", 1);
  }
  large_font = make_font(46, 18, 400, "Arial", 0);
  small_bold_font = make_font(6, 3, 700, "Arial", 0);
  fixed_font = make_font(screen.px_y(5.0), screen.px_x(3.0), 400, "Courier New", 0);
}

void push_font(HDC dc, HFONT font) {
  if (font_stack_count >= font_stack_size) {
    report_error("*** FONT STACK OVERFLOW ***");
    return;
  }
  if (!dc) {
    report_error("### push_font: context is null ###");
    return;
  }
  HFONT replaced = static_cast<HFONT>(SelectObject(dc, font));
  font_stack[font_stack_count++] = fontStackEntry{font, replaced, dc};
}

namespace {

// Pops the top entry into top; false (reported) when the stack is empty.
bool pop_entry(fontStackEntry* top, bool* reselected) {
  if (font_stack_count <= 0) {
    report_error("*** FONT STACK UNDERFLOW ***");
    return false;
  }
  *top = font_stack[--font_stack_count];
  font_stack[font_stack_count] = fontStackEntry{};
  *reselected = false;
  if (top->replaced && top->dc) {
    SelectObject(top->dc, top->replaced);
    *reselected = true;
  }
  return true;
}

}  // namespace

bool pop_font() {
  fontStackEntry top{};
  bool reselected = false;
  return pop_entry(&top, &reselected) && reselected;
}

bool pop_and_delete_font() {
  fontStackEntry top{};
  bool reselected = false;
  if (!pop_entry(&top, &reselected) || !reselected) return false;
  if (top.pushed && !is_standard_font(top.pushed)) DeleteObject(top.pushed);
  return true;
}

int font_stack_depth() { return font_stack_count; }

bool choose_font(LOGFONTA& record, bool quiet, HWND owner) {
  LOGFONTA chosen = record;
  CHOOSEFONTA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &chosen;
  dialog.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!font_dialog_ui().choose_font(&dialog)) {
    if (!quiet) report_error("### Choosefont failed ###");
    return false;
  }
  record = chosen;
  return true;
}
