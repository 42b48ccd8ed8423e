// The one call through which the library's messages reach a person, and the
// box styles and answers it knows. The values are those of the Windows
// message box, so the Windows build passes them through unchanged.
//
// The Windows build shows the box through the modal seam (modal_message_box,
// where tests install a modal_capture); the portable build of the tests
// hands it to a recorder (message_recorder.h). Tests of both builds read the
// boxes through tests/message_capture.h.
#ifndef DESKTOP_WINLIB_MESSAGES_MESSAGE_BOX_H
#define DESKTOP_WINLIB_MESSAGES_MESSAGE_BOX_H

// Box styles.
constexpr unsigned box_ok = 0x0;
constexpr unsigned box_ok_cancel = 0x1;
constexpr unsigned box_abort_retry_ignore = 0x2;
constexpr unsigned box_yes_no_cancel = 0x3;
constexpr unsigned box_yes_no = 0x4;
constexpr unsigned box_icon_question = 0x20;
constexpr unsigned box_task_modal = 0x2000;
constexpr unsigned box_topmost = 0x40000;

// Answers.
constexpr int answer_ok = 1;
constexpr int answer_cancel = 2;
constexpr int answer_abort = 3;
constexpr int answer_retry = 4;
constexpr int answer_ignore = 5;
constexpr int answer_yes = 6;
constexpr int answer_no = 7;

// Shows a box owned by the active window of the calling thread (else its
// first shown top-level window, else none) and returns the button pressed.
int show_message_box(const char* text, const char* caption, unsigned style);

#endif
