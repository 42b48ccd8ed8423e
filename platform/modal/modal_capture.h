// Scripted answers and a capture list for the modal seam, for tests.
//
// While a modal_capture lives it is the table in force: each message box is
// recorded (owner, caption, text, type, the answer given) and answered with
// the next scripted answer, or, when none is left, with the box's default
// button (what Enter would press). Destroying it puts back the previous table.
// One capture at a time.
#ifndef PLATFORM_MODAL_MODAL_CAPTURE_H
#define PLATFORM_MODAL_MODAL_CAPTURE_H

#include <deque>
#include <string>
#include <vector>

#include "platform/modal/modal_ui.h"

struct modal_record {
  HWND owner;
  std::string caption;  // UTF-8; a null caption is recorded as empty
  std::string text;     // UTF-8
  UINT type;
  int answer;
  bool scripted;  // false when the default button answered
};

class modal_capture {
 public:
  modal_capture();
  ~modal_capture();
  modal_capture(const modal_capture&) = delete;
  modal_capture& operator=(const modal_capture&) = delete;

  // Queues the answer (IDOK, IDYES, IDNO, ...) for the next box.
  void answer(int id);
  const std::vector<modal_record>& records() const { return records_; }
  void clear() { records_.clear(); }

  // The button Enter presses on a box of this type.
  static int default_answer(UINT type);

 private:
  static int on_message_box_w(HWND, const wchar_t*, const wchar_t*, UINT);
  static int on_message_box_a(HWND, const char*, const char*, UINT);
  int record(HWND owner, std::string text, std::string caption, UINT type);

  std::deque<int> answers_;
  std::vector<modal_record> records_;
  modal_ui_calls previous_;
};

#endif
