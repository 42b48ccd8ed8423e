#include "desktop/windows/thumbnail/thumb_state.h"

#include <algorithm>
#include <cstdio>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/messages/fmt.h"
#include "desktop/winlib/messages/message_box.h"
#include "desktop/winlib/messages/messages.h"
#include "desktop/winlib/fonts/program_fonts.h"
#include "desktop/data/session/session_files.h"
#include "desktop/data/test_state.h"
#include "desktop/windows/thumbnail/thumbnail.h"

thumbStateClass::thumbStateClass(thumbnailClass* thumbnail, double x, double y)
    : winTypeClass(thumbnail, thumb_state_window_type), thumbnail_(thumbnail) {
  paper scale;
  scale.copy_from(screen_paper);
  HWND window = CreateWindowExA(0, "thumbstate", "Test Information", WS_OVERLAPPEDWINDOW, scale.px_x(x),
                                scale.px_y(y), scale.scale_x(180.0), scale.scale_y(120.0),
                                thumbnail ? thumbnail->hwnd() : nullptr, nullptr, program_instance, nullptr);
  if (!window) {
    show_message_box("thumbState window creation failed", "window", MB_OK);
    return;
  }
  set_hwnd(window);
  scale.set_from_window(window);
  testDocument& doc = thumbnail_->document();
  const char* lines[4] = {fmt("Unit Serial Number = %s", doc.unit_serial_text()),
                          fmt("CFC number = %s", doc.cfc_number_text()),
                          fmt("Unit Software Version = %s", doc.version_text()),
                          fmt("Optical Filter : %s", doc.nd_filter_text())};
  const double places[4][2] = {{2.0, 2.0}, {100.0, 2.0}, {2.0, 8.0}, {100.0, 8.0}};
  for (int i = 0; i < 4; i++) {
    std::string line = lines[i];  // fmt's buffer is reused by the next call
    paper text_scale = scale;
    texts_[i].init(window, nullptr, line.c_str(), 1, places[i][0], places[i][1], text_scale);
  }
  // The right column starts at 100 or, for wider texts on the left, right of
  // them, as the font in use measures them on this window.
  HDC dc = GetDC(window);
  for (textObjectClass& text : texts_) text.measure(dc, scale);
  if (dc) ReleaseDC(window, dc);
  const double right_column = std::max(100.0, std::max(texts_[0].right(), texts_[2].right()) + 5.0);
  texts_[1].move_to(right_column, places[1][1]);
  texts_[3].move_to(right_column, places[3][1]);
  HFONT font = program_font;
  path_ = new editLabelClass(window, font, 15.0, 16.0, scale, "Path : ", font, label_left, 53,
                             ES_READONLY | ES_AUTOHSCROLL, edit_right);
  file_ = new editLabelClass(window, font, 15.0, 25.0, scale, "File : ", font, label_left, 53,
                             ES_READONLY | ES_AUTOHSCROLL, edit_right);
  user_id_ = new editLabelClass(window, font, 15.0, 38.0, scale, "User ID", font, label_left, 50, ES_AUTOHSCROLL,
                                edit_left);
  notes_ = new editLabelClass(window, font, 15.0, user_id_->bottom() + 12.0, scale, "Notes", font, label_left, 50, 5,
                              ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, edit_left);
  save_ = new buttonClass(window, font, notes_->left() + 10.0, notes_->bottom() + 8.0, 20.0, 7.0, scale,
                          " Save And Exit ", BS_PUSHBUTTON);
  discard_ = new buttonClass(window, font, save_->right() + 40.0, save_->top(), 20.0, 7.0, scale,
                             " Exit W/O Saving ", BS_PUSHBUTTON);

  testStateClass& state = doc.state();
  notes_before_ = state.notes.text();
  user_id_before_ = state.user_id.text();
  notes_->set_text("%s", notes_before_.c_str());
  user_id_->set_text("%s", user_id_before_.c_str());
  path_->set_text("%s", path_folder(doc.path()).c_str());
  file_->set_text("%s", path_base_name(doc.path()).c_str());

  resize(std::max({file_->right(), texts_[1].right(), texts_[3].right()}) + 5.0, discard_->bottom() + 10.0, scale);
  ShowWindow(window, SW_SHOWNORMAL);
  ready_ = 1;
}

thumbStateClass::~thumbStateClass() {
  if (ready_ && thumbnail_->document().state().state_changed) {
    testDocument& doc = thumbnail_->document();
    if (yesnomessage("-- State information has changed --", "-- For File:\n-- %s\n\n-- Save new information? --",
                     doc.path()) == IDYES) {
      doc.save_state();
    } else {
      restore_texts();
    }
  }
  delete save_;
  delete discard_;
  delete notes_;
  delete user_id_;
  delete file_;
  delete path_;
}

// The user id and notes as they were when the window opened.
void thumbStateClass::restore_texts() {
  testStateClass& state = thumbnail_->document().state();
  state.notes.set(notes_before_.c_str());
  state.user_id.set(user_id_before_.c_str());
  state.state_changed = 0;
}

const char* thumbStateClass::user_id_text() {
  static char text[257];
  text[0] = 0;
  if (user_id_) user_id_->get_text(text, sizeof text);
  return text;
}

void thumbStateClass::draw(HDC dc, const paper& scale) {
  for (textObjectClass& text : texts_) text.refresh(dc, scale);
  if (path_) {
    for (editLabelClass* edit : {path_, file_, user_id_, notes_}) edit->rescale(dc, scale);
  }
}

intptr_t thumbStateClass::handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) {
  HWND window = hwnd();
  switch (message) {
    case WM_PAINT:
      paint_window();
      return 0;
    case WM_COMMAND: {
      HWND from = reinterpret_cast<HWND>(lparam);
      testStateClass& state = thumbnail_->document().state();
      if (HIWORD(wparam) == EN_CHANGE && ready_) {
        char text[4096];
        if (notes_ && from == notes_->get_edit()->hwnd()) {
          notes_->get_text(text, sizeof text);
          state.notes.set(text);
          state.state_changed = 1;
        } else if (user_id_ && from == user_id_->get_edit()->hwnd()) {
          user_id_->get_text(text, sizeof text);
          state.user_id.set(text);
          state.state_changed = 1;
        }
        return 0;
      }
      if (save_ && from == save_->hwnd()) {
        thumbnail_->document().save_state();
        ready_ = 0;
        post_message(WM_CLOSE, 0, 0);
        return 0;
      }
      if (discard_ && from == discard_->hwnd()) {
        restore_texts();
        ready_ = 0;
        post_message(WM_CLOSE, 0, 0);
        return 0;
      }
      return DefWindowProcA(window, message, wparam, lparam);
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}
