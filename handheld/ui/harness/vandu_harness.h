// Vandu in a test's own process: the program started on the simulated
// unit (its main window, main dialog, threads and ports, exactly as
// Vandu.exe starts them), then driven as its stimulator and a person drive
// it: messages posted as the stimulator's reader and the touch screen post
// them, the loop pumped until idle, and the screen, the remote-control
// line and the stimulator's received bytes read back.
//
// Link with the program's resources (vandu_resources) so that the dialogs
// exist in the test executable. One unit at a time per process.
#ifndef HANDHELD_UI_HARNESS_VANDU_HARNESS_H
#define HANDHELD_UI_HARNESS_VANDU_HARNESS_H

#include <windows.h>

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

struct harnessOptions {
  std::wstring card;            // the storage card's folder (made when missing)
  bool copyLibraryToCard = true;  // Kestal.dll onto the card, where the unit looks first
  bool stimulator = true;         // false: "COM2:" has no stimulator and fails to open
  bool pumpStartUp = true;        // pump until the start-up exchange is over
};

// Starts the program; false when its window could not be made.
bool vandu_start(const harnessOptions& options);
// Ends it as the process would after its loop (the exit sequence), then
// stops its threads, closes its windows and ports and forgets its state,
// so that another start in the same process begins afresh.
void vandu_stop();

// Runs the program's loop (message routing as in Vandu.exe) until no
// message has arrived for quietMs of real time, or the quit flag is set.
void pump_until_idle(int quietMs = 250);
// Runs it until no message waits on its thread: what was posted so far is
// handled, with what that posts in turn and the paints it leaves.
void pump_posted();
// Runs it until the condition holds (checked between messages); false when
// it did not within maxMs.
bool pump_until(const std::function<bool()>& condition, int maxMs = 5000);

// A key of the stimulator's keypad ('1' to '4'), posted as its reader
// thread posts it: NOTICE_STIMULATOR_BYTE with the byte ('2' is the key
// under KEY_UPPER_RIGHT's caption, '3' under KEY_LOWER_LEFT's). Any other
// byte goes the same way.
void post_stimulator_byte(uint8_t byte);
// A touch of a soft key: WM_COMMAND KEY_UPPER_LEFT..KEY_LOWER_RIGHT.
void touch_key(int control);
// A framed message as the reader posts it: 'U', length, id, payload.
void post_framed_message(uint8_t id, const std::vector<uint8_t>& payload);
// A message sent by the simulated stimulator itself, through the port and
// the reader thread.
void stimulator_sends(uint8_t id, const std::vector<uint8_t>& payload);

// The soft key's caption (KEY_UPPER_LEFT..KEY_LOWER_RIGHT), the top page's
// item text, and the top page (0 when none).
std::wstring key_caption(int control);
std::wstring page_text(int item);
HWND top_page();
// The menu on top of the stack.
int shown_menu();

// Everything the unit wrote on its remote-control line since start (or the
// last clear).
std::string remote_transcript();
void clear_remote_transcript();
// Pumps until the remote line holds text; false after maxMs.
bool pump_until_remote_text(const std::string& text, int maxMs = 5000);

// Every byte the unit has sent the stimulator since the last call.
std::vector<uint8_t> sent_to_stimulator();

// The screen: the main window's client area as pixels (0x00RRGGBB, row by
// row, 240 x 320), captured from the window.
std::vector<uint32_t> screen_pixels();

#endif
