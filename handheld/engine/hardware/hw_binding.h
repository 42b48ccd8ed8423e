// The hardware access library's entry points as the handheld program calls
// them: one table, filled at start-up by install_hardware_library from the
// library's exports, looked up by name.
//
// Every entry starts bound to a stub that answers as the library does when
// the hardware fails (0 for waits and writes, 0xF1000000 "data not ready"
// for the data reads, 224 for get_1255_reg, 0xFFFFFFFF for get_gpio_reg, an
// empty version text), so a program that failed to bind the library keeps
// running without touching the board: no converter ever reads ready and the
// sync input stays idle.
#ifndef HANDHELD_ENGINE_HARDWARE_HW_BINDING_H
#define HANDHELD_ENGINE_HARDWARE_HW_BINDING_H

#include "hwlib/hwlib_exports.h"

struct hardwareLibraryBindings {
  void* module;  // the loaded library (an HMODULE); null until loaded
  get_dual_data_fn get_dual_data;
  get_1255_data_fn get_1255_data;
  put_1255_reg_fn put_1255_reg;
  get_1255_reg_fn get_1255_reg;
  get_1255_samples_fn get_1255_samples;
  put_5722_fn put_5722;
  put_spi_reg_fn put_spi_reg;
  get_spi_reg_fn get_spi_reg;
  spi_setup_fn spi_setup;
  put_gpio_bit_fn put_gpio_bit;
  put_gpio_reg_fn put_gpio_reg;
  get_gpio_reg_fn get_gpio_reg;
  wait_till_xmit_fifo_empty_fn wait_till_xmit_fifo_empty;
  wait_while_spi_bit_fn wait_while_spi_bit;
  wait_while_gpio_bit_fn wait_while_gpio_bit;
  version_fn version;
};

// The program's one table. Written only while binding, at start-up.
extern hardwareLibraryBindings hardware;

// The 16 exports in the order they are looked up (the table's order).
const int HARDWARE_ENTRY_COUNT = 16;
extern const wchar_t* const HARDWARE_ENTRY_NAMES[HARDWARE_ENTRY_COUNT];

// Binds entry i (0..15, in HARDWARE_ENTRY_NAMES order) to an export's address.
void bind_hardware_entry(int i, void (*address)());

// Every entry back to its stub and the module forgotten (the library itself
// is not unloaded).
void unbind_hardware_library();

// Loads the library (the storage card's copy, else by bare name), binds the
// 16 entries and puts the board's GPIO lines into their start-up state.
// 1 on success; 0 when the library cannot be loaded (reported on the
// remote-control line) or an export is missing (a message box names it; the
// entries found so far stay bound, the rest keep their stubs).
int install_hardware_library();

#endif
