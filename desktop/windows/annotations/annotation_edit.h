// annotationEditClass: the small window in which the user types the text of
// one annotation and picks its font. Every way of closing it (Ok, Enter, the
// close box, Cancel) commits what its field holds at that moment, cut to 63
// characters; Cancel first puts back the text the annotation had when the
// editor opened. The editor is made with new and deletes itself when its
// window closes; it is closed at once, committing nothing, when its
// annotation is deleted.
#ifndef DESKTOP_WINDOWS_ANNOTATIONS_ANNOTATION_EDIT_H
#define DESKTOP_WINDOWS_ANNOTATIONS_ANNOTATION_EDIT_H

#include <windows.h>

#include <cstdint>

#include "desktop/winlib/controls/buttons.h"
#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/controls/edit_fields.h"
#include "desktop/winlib/windows/window_object.h"

class annotationItem;

constexpr uint32_t annotation_edit_window_type = 16;
// The longest annotation text an editor commits.
constexpr int annotation_text_limit = 63;

class annotationEditClass : public winTypeClass {
 public:
  // At (screen_x, screen_y) in screen pixels, owned by owner's window.
  annotationEditClass(winTypeClass* owner, const char* title, annotationItem* annotation, int screen_x,
                      int screen_y);
  // Commits the field into the annotation (when it still has one).
  ~annotationEditClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // The annotation is being deleted: the editor forgets it and commits
  // nothing.
  void forget_annotation() { annotation_ = nullptr; }

  annotationItem* annotation() const { return annotation_; }
  editLabelClass* entry() { return entry_; }
  buttonClass* ok_button() { return ok_button_; }
  buttonClass* font_button() { return font_button_; }
  buttonClass* cancel_button() { return cancel_button_; }

 private:
  void close();

  annotationItem* annotation_;
  editLabelClass* entry_ = nullptr;
  buttonClass* ok_button_ = nullptr;
  buttonClass* font_button_ = nullptr;
  buttonClass* cancel_button_ = nullptr;
  byteObjectClass saved_text_;
  uint8_t closing_ = 0;
};

#endif
