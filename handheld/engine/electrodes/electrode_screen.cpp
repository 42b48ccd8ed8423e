#include "handheld/engine/electrodes/electrode_screen.h"

#include <atomic>

namespace {

electrodeScreen& headless() {
  static electrodeScreen screen;
  return screen;
}

std::atomic<electrodeScreen*> installed{nullptr};

}  // namespace

void set_electrode_screen(electrodeScreen* screen) { installed = screen; }

electrodeScreen& electrode_screen() {
  electrodeScreen* screen = installed.load();
  return screen != nullptr ? *screen : headless();
}
