#include "handheld/ui/frame/notices.h"

#include <stdint.h>
#include <string.h>

#include <deque>

#include "handheld/ui/dialogs/key_captions.h"
#include "handheld/ui/status/key_log.h"
#include "handheld/ui/main_dialog.h"
#include "handheld/ui/frame/main_window.h"
#include "handheld/ui/menu_request.h"
#include "handheld/ui/menus/menu_stack.h"
#include "handheld/ui/message_display.h"
#include "handheld/engine/stimulator/startup_replies.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/ui/status/task_bar.h"
#include "handheld/ui/frame/timers.h"

namespace {

// A complete message as it stood when its last byte came. Its notice
// (NOTICE_STIMULATOR_MESSAGE) is posted behind the bytes the reader has already queued, so
// by the time the notice is handled the next message may have begun in
// the receive buffer: each notice takes the oldest complete message kept
// here instead.
struct completeMessage {
  int id;
  int length;
  int count;
  uint8_t buffer[STIMULATOR_MESSAGE_BUFFER + 1];
};
std::deque<completeMessage> completed;
const size_t COMPLETED_LIMIT = 16;

void keep_completed_message() {
  const stimulatorMessageState& m = stimulator_message;
  completeMessage c;
  c.id = m.id;
  c.length = m.length;
  c.count = m.count;
  memcpy(c.buffer, m.buffer, sizeof c.buffer);
  if (completed.size() >= COMPLETED_LIMIT) completed.pop_front();
  completed.push_back(c);
}

// Runs handle with the receive buffer holding the oldest complete message
// of this id, and puts the message being received back afterwards.
INT_PTR with_completed_message(int id, INT_PTR (*handle)(int)) {
  if (completed.empty() || completed.front().id != id) return handle(id);
  const completeMessage c = completed.front();
  completed.pop_front();
  stimulatorMessageState& m = stimulator_message;
  completeMessage receiving{m.id, m.length, m.count, {}};
  memcpy(receiving.buffer, m.buffer, sizeof receiving.buffer);
  m.id = c.id;
  m.length = c.length;
  m.count = c.count;
  memcpy(m.buffer, c.buffer, sizeof m.buffer);
  const INT_PTR result = handle(id);
  m.id = receiving.id;
  m.length = receiving.length;
  m.count = receiving.count;
  memcpy(m.buffer, receiving.buffer, sizeof m.buffer);
  return result;
}

INT_PTR take_byte(uint8_t byte) {
  idle_minutes = 0;
  if (stimulator_message.message_mode) {
    take_8051_message_byte(byte);
    if (!stimulator_message.message_mode) keep_completed_message();
    return 1;
  }
  const int control = control_of_stimulator_key(byte);
  if (control != 0) {
    PostMessageW(main_dialog, WM_COMMAND, static_cast<WPARAM>(control), 0);
    wchar_t caption[33];
    key_caption_text(control, caption, 33);
    log_key(caption);
  } else if (byte == STIMULATOR_MESSAGE_START) {
    begin_8051_message();
  } else {
    show_message(MESSAGE_ERROR, false, "*** unknown character #%2.2x", byte);
  }
  return 1;
}

INT_PTR take_message(int id) {
  switch (id) {
    case MESSAGE_IGNORED:
      return 1;
    case MESSAGE_FOR_PAGE: {
      HWND page = top_dialog();
      if (page != nullptr) PostMessageW(page, WM_USER, NOTICE_STIMULATOR_MESSAGE, id);
      return 1;
    }
    case MESSAGE_TABLE:
      return take_table_reply() == TABLE_UNEXPECTED ? 0 : 1;
    case MESSAGE_STATUS:
      take_status_reply();
      return 1;
    case MESSAGE_CLOCK:
      take_clock_reply();
#ifndef ERG_OLDER_PLATFORM
      hide_task_bar();
#endif
      return 1;
    case MESSAGE_VERSION:
      take_version_reply();
      return 1;
    default:
      show_message(MESSAGE_ERROR, false, "### UNKNOWN MESSAGE ID\n [%2.2X] ###", id);
      return 0;
  }
}

INT_PTR take_timer_event(LPARAM event) {
  switch (event) {
    case TIMER_IDLE:
      request_menu(main_dialog, PAGE_DEFAULT, MENU_SHUTDOWN_CONFIRM, nullptr, 0, false);
      kill_timer(TIMER_IDLE);
      start_timer(TIMER_WARNING, WARNING_PERIOD_MS);
      return 1;
    case TIMER_WARNING:
      Sleep(100);
      quit_flag = 1;
      return 1;
    case TIMER_MESSAGE:
      report_8051_message_timeout();
      return 1;
    default:
      return 1;
  }
}

}  // namespace

void forget_completed_messages() { completed.clear(); }

INT_PTR handle_main_notice(WPARAM kind, LPARAM value) {
  switch (kind) {
    case NOTICE_STIMULATOR_BYTE:
      return take_byte(static_cast<uint8_t>(value));
    case NOTICE_ID_TYPE:
      if (value != 1 && value != 2 && value != STIMULATOR_MESSAGE_START) {
        show_message(MESSAGE_ERROR, false, "### UNKNOWN MESSAGE ID TYPE ###");
      }
      return 1;
    case NOTICE_STIMULATOR_MESSAGE:
      return with_completed_message(static_cast<int>(value), take_message);
    case NOTICE_TIMER_EVENT:
      return take_timer_event(value);
    case NOTICE_MENU_REQUEST:
      run_menu_request();
      return 1;
    default:
      return 0;
  }
}
