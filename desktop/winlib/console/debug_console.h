// The developer's debug console: messages scroll above a one-line command
// input on the bottom row; typed lines go to a command handler, Up and Down
// recall earlier lines, F1 to F10 enter "f1" to "f10". The delivered program
// never opens it.
//
// The console's logic draws on a consoleDevice: the platform's text console
// (open_platform_console) or, in tests, a grid of characters.
#ifndef DESKTOP_WINLIB_CONSOLE_DEBUG_CONSOLE_H
#define DESKTOP_WINLIB_CONSOLE_DEBUG_CONSOLE_H

#include <cstdint>

#include "desktop/winlib/containers/byte_object.h"
#include "desktop/winlib/console/console_history.h"
#include "desktop/winlib/messages/printf_check.h"

class consoleDevice {
 public:
  virtual ~consoleDevice() = default;
  // The screen buffer's size and cursor; false when it cannot be read.
  virtual bool info(int& width, int& height, int& cursor_x, int& cursor_y) = 0;
  virtual bool set_cursor(int x, int y) = 0;
  // Rows first..last move up by one row; the freed row is blank.
  virtual bool scroll_up(int first, int last) = 0;
  virtual void write(int x, int y, const char* text, int length) = 0;
  // The next pending key-down event: its character (0 for a special key)
  // and virtual key code; false when none is pending.
  virtual bool next_key(char& character, uint16_t& virtual_key) = 0;
};

// The platform's console (opened with its failures reported), or null when
// none could be opened.
consoleDevice* open_platform_console(const char* title);

// A command handler: non-zero when it handled the command.
typedef uint8_t (*consoleHandler)(const char* command);

class debugConsoleClass {
 public:
  static constexpr int message_limit = 1023;
  static constexpr int row_length = 80;

  // The console draws on device (owned from here on; null draws nothing).
  debugConsoleClass(consoleHandler handler, consoleDevice* device);
  ~debugConsoleClass();
  debugConsoleClass(const debugConsoleClass&) = delete;
  debugConsoleClass& operator=(const debugConsoleClass&) = delete;

  void printf(const char* format, ...) ERG_PRINTF(2, 3);
  void printf_logged(const char* format, ...) ERG_PRINTF(2, 3);
  // Each line of text (carriage returns dropped) as a message.
  void print_text(const char* text);
  // A one-shot handler for the next command line.
  void set_handler(consoleHandler handler);
  // Handles every pending key of the device.
  void poll();
  // One key-down event: a typed character, or 0 and a virtual key code.
  void key(char character, uint16_t virtual_key);
  void set_prompt(const char* text);

  consoleHistory& commands() { return commands_; }
  consoleHistory& output() { return output_; }
  const char* input_line() const { return input_.text(); }

 private:
  void print_message(const char* text);
  void new_line(int keep);
  void redraw_input(const char* text, bool fresh);
  void show_input();
  void enter();
  int prompt_length() const;

  consoleHistory commands_;
  consoleHistory output_;
  byteObjectClass prompts_[3];
  int prompt_ = 0;
  byteObjectClass input_;
  int depth_ = 0;
  consoleHandler handlers_[2] = {nullptr, nullptr};
  consoleDevice* device_ = nullptr;
  int width_ = 80;
  int height_ = 25;
};

#endif
