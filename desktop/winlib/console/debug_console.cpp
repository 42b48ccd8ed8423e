#include "desktop/winlib/console/debug_console.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "desktop/winlib/messages/debug_log.h"
#include "desktop/winlib/messages/messages.h"

namespace {

constexpr uint16_t kUp = 0x26;
constexpr uint16_t kDown = 0x28;
constexpr uint16_t kF1 = 0x70;
constexpr uint16_t kF10 = 0x79;

// The formatted text, cut to what fits with a report when it is longer.
std::string format_message(const char* format, va_list args) {
  char buffer[debugConsoleClass::message_limit + 1];
  int needed = vsnprintf(buffer, sizeof buffer, format, args);
  if (needed > debugConsoleClass::message_limit) errormessage("### message BUFFER OVERFLOW (>1023) ###");
  if (needed < 0) buffer[0] = '\0';
  return buffer;
}

}  // namespace

debugConsoleClass::debugConsoleClass(consoleHandler handler, consoleDevice* device) : device_(device) {
  handlers_[0] = handler;
  int x = 0, y = 0;
  if (device_ != nullptr && !device_->info(width_, height_, x, y)) {
    errormessage("### UNABLE TO GET CONSOLE BUFFER INFO ###");
  }
  if (width_ < 1) width_ = 80;
  if (height_ < 2) height_ = 2;
  redraw_input("", true);
}

debugConsoleClass::~debugConsoleClass() { delete device_; }

int debugConsoleClass::prompt_length() const { return prompts_[prompt_].length() + 2; }

void debugConsoleClass::new_line(int keep) {
  if (device_ == nullptr) return;
  int x = 0, y = 0;
  if (!device_->info(width_, height_, x, y)) {
    errormessage("UNABLE TO GET CONSOLE INFO");
    return;
  }
  if (y >= height_ - 1) {
    device_->scroll_up(1, height_ - 1 - keep);
  } else {
    ++y;
  }
  if (!device_->set_cursor(0, y)) errormessage("UNABLE TO SET CONSOLE CURSOR");
}

void debugConsoleClass::show_input() {
  if (device_ == nullptr) return;
  std::string line = input_.text();
  if (static_cast<int>(line.size()) < width_) line.append(width_ - line.size() - 1, ' ');
  device_->write(0, height_ - 1, line.data(), static_cast<int>(line.size()));
  device_->set_cursor(input_.length() < width_ ? input_.length() : width_ - 1, height_ - 1);
}

void debugConsoleClass::redraw_input(const char* text, bool fresh) {
  if (fresh) {
    input_.set(prompts_[prompt_].text());
    input_.append("> ");
  } else {
    input_.set(nullptr);
  }
  input_.append(text);
  show_input();
}

void debugConsoleClass::print_message(const char* text) {
  byteObjectClass kept(input_);
  const char* rest = text;
  size_t left = std::strlen(text);
  do {
    new_line(1);
    const int take = left > static_cast<size_t>(row_length) ? row_length : static_cast<int>(left);
    if (device_ != nullptr) {
      device_->write(0, height_ - 2, rest, take);
      device_->set_cursor(input_.length(), height_ - 1);
    }
    rest += take;
    left -= static_cast<size_t>(take);
  } while (left > 0);
  output_.add(text);
  redraw_input(kept.text(), false);
}

void debugConsoleClass::printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = format_message(format, args);
  va_end(args);
  print_message(text.c_str());
}

void debugConsoleClass::printf_logged(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = format_message(format, args);
  va_end(args);
  print_message(text.c_str());
  log_message("%s", text.c_str());
}

void debugConsoleClass::print_text(const char* text) {
  std::string line;
  for (const char* p = text != nullptr ? text : ""; ; ++p) {
    if (*p == '\n' || *p == '\0') {
      print_message(line.c_str());
      line.clear();
      if (*p == '\0') break;
    } else if (*p != '\r') {
      line += *p;
    }
  }
}

void debugConsoleClass::set_handler(consoleHandler handler) {
  handlers_[1] = handler;
  depth_ = 1;
}

void debugConsoleClass::set_prompt(const char* text) {
  prompt_ = ring_index(prompt_ + 1, 3);
  prompts_[prompt_].set(text);
}

void debugConsoleClass::poll() {
  if (device_ == nullptr) return;
  char character = 0;
  uint16_t virtual_key = 0;
  while (device_->next_key(character, virtual_key)) key(character, virtual_key);
}

void debugConsoleClass::enter() {
  new_line(0);
  commands_.add(input_.text());
  output_.add(input_.text());
  std::string command = input_.length() >= prompt_length() ? input_.text() + prompt_length() : "";
  consoleHandler handler = handlers_[depth_];
  if (handler != nullptr) handler(command.c_str());
  depth_ = 0;
  redraw_input("", true);
}

void debugConsoleClass::key(char character, uint16_t virtual_key) {
  if (character == 0) {
    if (virtual_key == kUp) {
      redraw_input(commands_.previous(), true);
    } else if (virtual_key == kDown) {
      redraw_input(commands_.next(), true);
    } else if (virtual_key >= kF1 && virtual_key <= kF10) {
      char command[4];
      std::snprintf(command, sizeof command, "f%d", virtual_key - kF1 + 1);
      redraw_input(command, true);
      enter();
    }
    return;
  }
  if (character == 8) {
    if (input_.length() > prompt_length()) {
      input_.pop_char();
      if (device_ != nullptr) device_->write(input_.length(), height_ - 1, " ", 1);
    }
  } else if (character == 13) {
    enter();
    return;
  } else {
    input_.append_char(character);
  }
  show_input();
}
