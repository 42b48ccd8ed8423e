#include "handheld/engine/hardware/hw_binding.h"

namespace {

// Stubs: the library's own failure answers.
uint32_t stub_get_dual_data(int32_t*, int32_t*) { return 0xF1000000u; }
uint32_t stub_get_1255_data(int32_t*) { return 0xF1000000u; }
uint32_t stub_put_1255_reg(uint8_t, uint32_t) { return 0; }
uint32_t stub_get_1255_reg(uint8_t) { return 224; }
uint32_t stub_get_1255_samples(int32_t*, uint32_t) { return 0xF1000000u; }
uint32_t stub_put_5722(uint8_t, uint16_t) { return 0; }
void stub_put_spi_reg(uint8_t, uint32_t) {}
uint32_t stub_get_spi_reg(uint8_t) { return 0; }
uint32_t stub_spi_setup(uint32_t, uint32_t, uint32_t) { return 0; }
void stub_put_gpio_bit(uint8_t, uint8_t, uint8_t) {}
void stub_put_gpio_reg(uint8_t, uint32_t) {}
uint32_t stub_get_gpio_reg(uint8_t) { return 0xFFFFFFFFu; }
uint32_t stub_wait_till_xmit_fifo_empty() { return 0; }
uint32_t stub_wait_while_spi_bit(uint8_t, uint8_t, uint8_t, uint32_t) { return 0; }
uint32_t stub_wait_while_gpio_bit(uint8_t, uint8_t, uint8_t, uint32_t) { return 0; }
const wchar_t* stub_version() { return L""; }

const hardwareLibraryBindings stubs = {
    nullptr,
    stub_get_dual_data,
    stub_get_1255_data,
    stub_put_1255_reg,
    stub_get_1255_reg,
    stub_get_1255_samples,
    stub_put_5722,
    stub_put_spi_reg,
    stub_get_spi_reg,
    stub_spi_setup,
    stub_put_gpio_bit,
    stub_put_gpio_reg,
    stub_get_gpio_reg,
    stub_wait_till_xmit_fifo_empty,
    stub_wait_while_spi_bit,
    stub_wait_while_gpio_bit,
    stub_version,
};

template <typename F>
void set(F& entry, void (*address)()) {
  entry = reinterpret_cast<F>(address);
}

}  // namespace

hardwareLibraryBindings hardware = stubs;

const wchar_t* const HARDWARE_ENTRY_NAMES[HARDWARE_ENTRY_COUNT] = {
    L"get_dual_data",
    L"get_1255_data",
    L"put_1255_reg",
    L"get_1255_reg",
    L"get_1255_samples",
    L"put_5722",
    L"put_spi_reg",
    L"get_spi_reg",
    L"spi_setup",
    L"put_gpio_bit",
    L"put_gpio_reg",
    L"get_gpio_reg",
    L"wait_till_xmit_fifo_empty",
    L"wait_while_spi_bit",
    L"wait_while_gpio_bit",
    L"version",
};

void bind_hardware_entry(int i, void (*address)()) {
  if (address == nullptr) return;
  switch (i) {
    case 0: set(hardware.get_dual_data, address); break;
    case 1: set(hardware.get_1255_data, address); break;
    case 2: set(hardware.put_1255_reg, address); break;
    case 3: set(hardware.get_1255_reg, address); break;
    case 4: set(hardware.get_1255_samples, address); break;
    case 5: set(hardware.put_5722, address); break;
    case 6: set(hardware.put_spi_reg, address); break;
    case 7: set(hardware.get_spi_reg, address); break;
    case 8: set(hardware.spi_setup, address); break;
    case 9: set(hardware.put_gpio_bit, address); break;
    case 10: set(hardware.put_gpio_reg, address); break;
    case 11: set(hardware.get_gpio_reg, address); break;
    case 12: set(hardware.wait_till_xmit_fifo_empty, address); break;
    case 13: set(hardware.wait_while_spi_bit, address); break;
    case 14: set(hardware.wait_while_gpio_bit, address); break;
    case 15: set(hardware.version, address); break;
    default: break;
  }
}

void unbind_hardware_library() { hardware = stubs; }
