// thumbStateClass: the "Test Information" window of a thumbnail: where the
// test came from (unit serial number, CFC number, software version, optical
// filter, folder and file) and the two free texts its state file keeps, the
// user id and the notes, edited here. Only " Save And Exit " (or Yes to the
// closing question) keeps an edit; otherwise the texts go back to what they
// were.
#ifndef DESKTOP_WINDOWS_THUMBNAIL_THUMB_STATE_H
#define DESKTOP_WINDOWS_THUMBNAIL_THUMB_STATE_H

#include <windows.h>

#include <string>

#include "desktop/winlib/values/text_object.h"
#include "desktop/winlib/windows/window_object.h"

class thumbnailClass;
class editLabelClass;
class buttonClass;

constexpr uint32_t thumb_state_window_type = 18;

class thumbStateClass : public winTypeClass {
 public:
  // At (x, y) page millimetres of the screen.
  thumbStateClass(thumbnailClass* thumbnail, double x, double y);
  // Asks to save an edit that was neither saved nor discarded.
  ~thumbStateClass() override;

  void draw(HDC dc, const paper& scale) override;
  intptr_t handle_message(uint32_t message, uintptr_t wparam, intptr_t lparam) override;

  // The user id edit's text (at most 256 bytes), until the next call.
  const char* user_id_text();
  editLabelClass* notes_edit() const { return notes_; }
  editLabelClass* user_id_edit() const { return user_id_; }
  buttonClass* save_button() const { return save_; }
  buttonClass* discard_button() const { return discard_; }
  const char* info_text(int index) { return texts_[index].line_text(0); }
  const textObjectClass& info_text_object(int index) const { return texts_[index]; }

 private:
  void restore_texts();

  thumbnailClass* thumbnail_;
  uint8_t ready_ = 0;
  textObjectClass texts_[4];
  editLabelClass* path_ = nullptr;
  editLabelClass* file_ = nullptr;
  editLabelClass* user_id_ = nullptr;
  editLabelClass* notes_ = nullptr;
  buttonClass* save_ = nullptr;
  buttonClass* discard_ = nullptr;
  std::string notes_before_;
  std::string user_id_before_;
};

#endif
