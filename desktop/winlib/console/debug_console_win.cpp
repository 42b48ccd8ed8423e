// The debug console on the platform's text console.
#include <windows.h>

#include "desktop/winlib/console/debug_console.h"
#include "desktop/winlib/messages/messages.h"

namespace {

class platformConsole : public consoleDevice {
 public:
  platformConsole(HANDLE output, HANDLE input) : output_(output), input_(input) {}

  bool info(int& width, int& height, int& cursor_x, int& cursor_y) override {
    CONSOLE_SCREEN_BUFFER_INFO buffer;
    if (!GetConsoleScreenBufferInfo(output_, &buffer)) return false;
    width = buffer.dwSize.X;
    height = buffer.dwSize.Y;
    cursor_x = buffer.dwCursorPosition.X;
    cursor_y = buffer.dwCursorPosition.Y;
    return true;
  }

  bool set_cursor(int x, int y) override {
    return SetConsoleCursorPosition(output_, COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}) != 0;
  }

  bool scroll_up(int first, int last) override {
    if (last < first) return true;
    SMALL_RECT rows = {0, static_cast<SHORT>(first), 32767, static_cast<SHORT>(last)};
    CHAR_INFO blank;
    blank.Char.AsciiChar = ' ';
    blank.Attributes = FOREGROUND_RED | FOREGROUND_GREEN | FOREGROUND_BLUE;
    return ScrollConsoleScreenBufferA(output_, &rows, &rows, COORD{0, static_cast<SHORT>(first - 1)}, &blank) != 0;
  }

  void write(int x, int y, const char* text, int length) override {
    DWORD written = 0;
    WriteConsoleOutputCharacterA(output_, text, static_cast<DWORD>(length),
                                 COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}, &written);
  }

  bool next_key(char& character, uint16_t& virtual_key) override {
    for (;;) {
      DWORD pending = 0;
      if (!GetNumberOfConsoleInputEvents(input_, &pending)) {
        errormessage("### GetNumberOfConsoleInputEvents failed ###");
        return false;
      }
      if (pending == 0) return false;
      INPUT_RECORD event;
      DWORD read = 0;
      if (!ReadConsoleInputA(input_, &event, 1, &read) || read != 1) {
        errormessage("### ReadConsoleInput FAILED ###");
        return false;
      }
      if (event.EventType == KEY_EVENT && event.Event.KeyEvent.bKeyDown) {
        character = event.Event.KeyEvent.uChar.AsciiChar;
        virtual_key = event.Event.KeyEvent.wVirtualKeyCode;
        return true;
      }
    }
  }

 private:
  HANDLE output_;
  HANDLE input_;
};

}  // namespace

consoleDevice* open_platform_console(const char* title) {
  if (!AllocConsole()) {
    errormessage("### AllocConsole FAILED ###");
    return nullptr;
  }
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output == INVALID_HANDLE_VALUE || output == nullptr) {
    errormessage("### UNABLE TO GET CONSOLE OUTPUT HANDLE ###");
    return nullptr;
  }
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == INVALID_HANDLE_VALUE || input == nullptr) {
    errormessage("### UNABLE TO GET CONSOLE INPUT HANDLE ###");
    return nullptr;
  }
  if (!SetConsoleMode(input, ENABLE_LINE_INPUT)) errormessage("### SetConsoleMode FAILED ###");
  SetConsoleTitleA(title != nullptr ? title : "");
  return new platformConsole(output, input);
}
