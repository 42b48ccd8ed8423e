#include "handheld/engine/offdevice/simulated_hardware.h"

#include <cwchar>
#include <mutex>
#include <utility>

#include "hwlib/attach.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "hwlib/hwlib_exports.h"
#include "platform/unit/sim_unit.h"

namespace {

struct readHook {
  std::mutex lock;
  int reads = 0;
  std::function<bool(int)> hook;
};

readHook& read_hook() {
  static readHook state;
  return state;
}

bool before_read() {
  readHook& h = read_hook();
  std::lock_guard<std::mutex> hold(h.lock);
  const int n = h.reads++;
  return !h.hook || h.hook(n);
}

// A failed read answers as the library does when data ready never came.
const uint32_t READ_NOT_READY = 0xF1000000u;

uint32_t hooked_get_1255_data(int32_t* value) {
  if (!before_read()) return READ_NOT_READY;
  return get_1255_data(value);
}

uint32_t hooked_get_dual_data(int32_t* input0, int32_t* input1) {
  if (!before_read()) return READ_NOT_READY;
  return get_dual_data(input0, input1);
}

template <class F>
void (*entry(F f))() {
  return reinterpret_cast<void (*)()>(f);
}

void (*simulated_entry(const wchar_t* name))() {
  struct named {
    const wchar_t* name;
    void (*address)();
  };
  static const named table[] = {
      {L"get_dual_data", entry(hooked_get_dual_data)},
      {L"get_1255_data", entry(hooked_get_1255_data)},
      {L"put_1255_reg", entry(put_1255_reg)},
      {L"get_1255_reg", entry(get_1255_reg)},
      {L"get_1255_samples", entry(get_1255_samples)},
      {L"put_5722", entry(put_5722)},
      {L"put_spi_reg", entry(put_spi_reg)},
      {L"get_spi_reg", entry(get_spi_reg)},
      {L"spi_setup", entry(spi_setup)},
      {L"put_gpio_bit", entry(put_gpio_bit)},
      {L"put_gpio_reg", entry(put_gpio_reg)},
      {L"get_gpio_reg", entry(get_gpio_reg)},
      {L"wait_till_xmit_fifo_empty", entry(wait_till_xmit_fifo_empty)},
      {L"wait_while_spi_bit", entry(wait_while_spi_bit)},
      {L"wait_while_gpio_bit", entry(wait_while_gpio_bit)},
      {L"version", entry(version)},
  };
  for (const named& n : table) {
    if (std::wcscmp(n.name, name) == 0) return n.address;
  }
  return nullptr;
}

}  // namespace

bool power_on_simulated_unit() {
  sim_reset();
  if (hwlib_attach() != 1) return false;
  set_simulated_read_hook(nullptr);
  for (int i = 0; i < HARDWARE_ENTRY_COUNT; ++i) {
    bind_hardware_entry(i, simulated_entry(HARDWARE_ENTRY_NAMES[i]));
  }
  hardware.spi_setup(135, 80, 4);
  init_dac();
  reset_adc();
  setup_adc(15000, 0, 8, 0);
  return true;
}

void power_off_simulated_unit() {
  unbind_hardware_library();
  set_simulated_read_hook(nullptr);
}

void set_simulated_read_hook(std::function<bool(int)> hook) {
  readHook& h = read_hook();
  std::lock_guard<std::mutex> hold(h.lock);
  h.hook = std::move(hook);
  h.reads = 0;
}
