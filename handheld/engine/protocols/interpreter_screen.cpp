#include "handheld/engine/protocols/interpreter_screen.h"

#include <atomic>

namespace {

interpreterScreen& headless() {
  static interpreterScreen screen;
  return screen;
}

std::atomic<interpreterScreen*> installed{nullptr};

}  // namespace

void set_interpreter_screen(interpreterScreen* screen) { installed = screen; }

interpreterScreen& interpreter_screen() {
  interpreterScreen* screen = installed.load();
  return screen != nullptr ? *screen : headless();
}
