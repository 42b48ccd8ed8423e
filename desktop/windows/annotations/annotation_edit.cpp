#include "desktop/windows/annotations/annotation_edit.h"

#include <algorithm>

#include "desktop/windows/annotations/annotations.h"
#include "desktop/winlib/controls/edit_panel.h"
#include "desktop/winlib/messages/messages.h"
#include "platform/modal/modal_ui.h"
#include "desktop/winlib/drawing/palette.h"
#include "desktop/winlib/fonts/program_fonts.h"

annotationEditClass::annotationEditClass(winTypeClass* owner, const char* title, annotationItem* annotation,
                                         int screen_x, int screen_y)
    : winTypeClass(owner, annotation_edit_window_type), annotation_(annotation) {
  if (!annotation) {
    errormessage("*** NO ANNOTATION TO PROCESS ***");
    return;
  }
  HWND window = CreateWindowExA(0, "general", title ? title : "", WS_SYSMENU, screen_x, screen_y, 330, 110,
                                owner ? owner->hwnd() : nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    modal_message_box(nullptr, "text edit window creation failed", "window", MB_OK);
    annotation_ = nullptr;  // nothing to commit without a field
    return;
  }
  set_hwnd(window);
  annotation->attach_editor(this);
  const paper& s = screen_paper;
  entry_ = new editLabelClass(window, program_font, 2.0, 5.0, s, "Annotation", program_font, label_above, 30, 0,
                              edit_left);
  ok_button_ = new buttonClass(window, program_font, 8.0, 15.0, 20.0, 7.0, s, "Ok", 0);
  font_button_ = new buttonClass(window, program_font, ok_button_->right() + 5.0, 15.0, 20.0, 7.0, s, "Set Font", 0);
  cancel_button_ =
      new buttonClass(window, program_font, font_button_->right() + 5.0, 15.0, 20.0, 7.0, s, "Cancel", 0);
  saved_text_.set(annotation->text());
  entry_->get_edit()->set_text(saved_text_.text());

  fit_edit_panel(window, std::max(entry_->right(), cancel_button_->right()) + 5.0, cancel_button_->bottom() + 12.0);
}

annotationEditClass::~annotationEditClass() {
  if (annotation_ && entry_) {
    char text[annotation_text_limit + 1];
    entry_->get_text(text, sizeof text);
    annotation_->set_text(text);
  }
  if (annotation_) annotation_->detach_editor(this);
  delete entry_;
  delete ok_button_;
  delete font_button_;
  delete cancel_button_;
}

void annotationEditClass::draw(HDC dc, const paper& scale) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  paint_edit_panel(dc, brush_table[8], RECT{scale.px_x(1.0), scale.px_y(1.0), client.right - scale.px_x(2.0),
                                            client.bottom - scale.px_y(2.0)});
  if (entry_) entry_->rescale(dc, scale);
}

void annotationEditClass::close() {
  // Posted: the routing procedure deletes this object when it arrives, after
  // the current message is done with it.
  if (!closing_) PostMessageA(hwnd(), WM_CLOSE, 0, 0);
  closing_ = 1;
}

intptr_t annotationEditClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        close();
        return 0;
      }
      break;
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lparam);
      bool clicked = HIWORD(wparam) == BN_CLICKED && from;
      bool closes = false;
      if (clicked && ok_button_ && from == ok_button_->hwnd()) {
        closes = true;
      } else if (clicked && font_button_ && from == font_button_->hwnd()) {
        if (annotation_) annotation_->choose_font();
      } else if (clicked && cancel_button_ && from == cancel_button_->hwnd()) {
        if (entry_) entry_->get_edit()->set_text(saved_text_.text());
        closes = true;
      }
      if (parent && parent->hwnd()) InvalidateRect(parent->hwnd(), nullptr, TRUE);
      if (closes) close();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}
