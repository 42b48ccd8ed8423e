// Loading and binding the hardware access library. Built once per platform:
// Kestal on the newer platform, Ombrel (ERG_OLDER_PLATFORM) on the older one,
// which also wires its stimulator sync input to another GPIO line.
#include <windows.h>

#include <mutex>

#include "platform/ce/card_path.h"
#include "platform/ce/ce_calls.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "platform/modal/modal_ui.h"
#include "handheld/engine/remote/remote_line.h"

namespace {

struct gpioLine {
  uint8_t word, bit, state;
};

#ifdef ERG_OLDER_PLATFORM
const wchar_t kLibraryName[] = L"Ombrel.DLL";
const char kLoadFailure[] = "*** UNABLE TO LOAD Ombrel.DLL ***\r\n";
const gpioLine kPlatformLine = {4, 7, 0};
#else
const wchar_t kLibraryName[] = L"Kestal.DLL";
const char kLoadFailure[] = "*** UNABLE TO LOAD Kesta.DLL ***\r\n";
const gpioLine kPlatformLine = {9, 5, 0};
#endif

// The board's GPIO start-up state, written in this order.
const gpioLine kStartupLines[] = {
    {11, 3, 0}, {5, 1, 1},  {5, 2, 1},  {5, 3, 1},  kPlatformLine, {22, 0, 0}, {22, 1, 0},
    {13, 0, 0}, {22, 2, 0}, {13, 2, 1}, {22, 1, 0}, {13, 1, 0},    {12, 2, 0},
};

// The storage card's copy first, then the platform's search path.
HMODULE load_library() {
  wchar_t onCard[MAX_PATH];
  wchar_t path[MAX_PATH];
  int n = swprintf(onCard, MAX_PATH, L"%ls\\%ls", L"Storage Card", kLibraryName);
  if (n > 0 && resolve_card_path(onCard, path, MAX_PATH)) {
    HMODULE module = LoadLibraryW(path);
    if (module != nullptr) return module;
  }
  return LoadLibraryW(kLibraryName);
}

}  // namespace

int install_hardware_library() {
  HMODULE module = load_library();
  if (module == nullptr) {
    remote_printf("%s", kLoadFailure);
    return 0;
  }
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  hardware.module = module;
  for (int i = 0; i < HARDWARE_ENTRY_COUNT; ++i) {
    FARPROC address = GetProcAddressW(module, HARDWARE_ENTRY_NAMES[i]);
    if (address == nullptr) {
      modal_message_box(nullptr, L"CANNOT GET DLL ADDRESS", HARDWARE_ENTRY_NAMES[i], MB_OK);
      return 0;
    }
    bind_hardware_entry(i, reinterpret_cast<void (*)()>(address));
  }
  hardware.spi_setup(135, 80, 4);
  for (const gpioLine& line : kStartupLines) hardware.put_gpio_bit(line.word, line.bit, line.state);
  return 1;
}
