// The hardware probe: loads Kestal.dll by name as the handheld program does,
// binds its exports by name, and on the simulated board prints the library's
// version and a few conversions from inputs 0 and 1 with their result codes.
// Exits with 0 when every call succeeded, 1 otherwise.
#include <windows.h>

#include <stdint.h>
#include <stdio.h>

#include "hwlib/hwlib_exports.h"
#include "platform/unit/sim_unit.h"

namespace {

struct probe_bindings {
  version_fn version;
  spi_setup_fn spi_setup;
  put_gpio_bit_fn put_gpio_bit;
  wait_while_gpio_bit_fn wait_while_gpio_bit;
  wait_till_xmit_fifo_empty_fn wait_till_xmit_fifo_empty;
  put_1255_reg_fn put_1255_reg;
  get_1255_reg_fn get_1255_reg;
  get_1255_data_fn get_1255_data;
  get_dual_data_fn get_dual_data;
  get_1255_samples_fn get_1255_samples;
};

template <class F>
bool bind(HMODULE library, const char* name, F* entry) {
  *entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  if (*entry == nullptr) printf("*** Kestal.dll has no export %s ***\n", name);
  return *entry != nullptr;
}

bool bind_all(HMODULE library, probe_bindings* b) {
  return bind(library, "version", &b->version) && bind(library, "spi_setup", &b->spi_setup) &&
         bind(library, "put_gpio_bit", &b->put_gpio_bit) &&
         bind(library, "wait_while_gpio_bit", &b->wait_while_gpio_bit) &&
         bind(library, "wait_till_xmit_fifo_empty", &b->wait_till_xmit_fifo_empty) &&
         bind(library, "put_1255_reg", &b->put_1255_reg) &&
         bind(library, "get_1255_reg", &b->get_1255_reg) &&
         bind(library, "get_1255_data", &b->get_1255_data) &&
         bind(library, "get_dual_data", &b->get_dual_data) &&
         bind(library, "get_1255_samples", &b->get_1255_samples);
}

// Converter lines: GPIO word 1, bit 1 the digital-to-analog converter's chip
// select, bit 3 the analog-to-digital converter's (0 = selected).
const uint8_t kSelectWord = 1;
const uint8_t kDacSelect = 1;
const uint8_t kAdcSelect = 3;

const int32_t kInput0 = 123456;
const int32_t kInput1 = -654321;
const uint8_t kRate15000 = 0xE0;

bool report(const char* what, uint32_t result, uint32_t success) {
  printf("%-32s result %#010x %s\n", what, static_cast<unsigned>(result),
         result == success ? "ok" : "FAILED");
  return result == success;
}

bool probe(const probe_bindings& hw) {
  bool ok = true;
  printf("version \"%ls\"\n", hw.version());

  // Simulated inputs: a constant on each of inputs 0 and 1.
  sim_adc_set_constant(0, kInput0);
  sim_adc_set_constant(1, kInput1);
  printf("inputs: 0 = %d, 1 = %d\n", static_cast<int>(kInput0), static_cast<int>(kInput1));

  ok &= report("spi_setup(135, 80, 4)", hw.spi_setup(135, 80, 4), 1);
  hw.put_gpio_bit(kSelectWord, kDacSelect, 1);
  hw.put_gpio_bit(kSelectWord, kAdcSelect, 1);
  hw.put_gpio_bit(kSelectWord, kAdcSelect, 0);

  ok &= report("put_1255_reg(STATUS, 0)", hw.put_1255_reg(0, 0), 1);
  ok &= report("put_1255_reg(MUX, input 0)", hw.put_1255_reg(1, 0x08), 1);
  ok &= report("put_1255_reg(DRATE, 15000/s)", hw.put_1255_reg(3, kRate15000), 1);
  const uint32_t rate = hw.get_1255_reg(3);
  printf("%-32s %#04x\n", "get_1255_reg(DRATE)", static_cast<unsigned>(rate));
  ok &= rate == kRate15000;
  ok &= report("data ready", hw.wait_while_gpio_bit(12, 0, 1, 100), 1);

  for (int i = 0; i < 3; ++i) {
    int32_t value = 0;
    const bool read = report("get_1255_data", hw.get_1255_data(&value), 3);
    if (read) printf("  input 0: %d\n", static_cast<int>(value));
    ok &= read && value == kInput0;
  }
  for (int i = 0; i < 2; ++i) {
    int32_t in0 = 0, in1 = 0;
    const bool read = report("get_dual_data", hw.get_dual_data(&in0, &in1), 3);
    if (read) printf("  input 0: %d, input 1: %d\n", static_cast<int>(in0), static_cast<int>(in1));
    ok &= read && in0 == kInput0 && in1 == kInput1;
  }
  // The dual read leaves the multiplexer on input 1.
  int32_t samples[8] = {};
  const uint32_t count = sizeof samples / sizeof samples[0];
  const bool read = report("get_1255_samples(8)", hw.get_1255_samples(samples, count), count);
  ok &= read;
  for (uint32_t i = 0; read && i < count; ++i) {
    printf("  sample %u: %d\n", static_cast<unsigned>(i), static_cast<int>(samples[i]));
    ok &= samples[i] == kInput1;
  }

  ok &= report("wait_till_xmit_fifo_empty", hw.wait_till_xmit_fifo_empty(), 1);
  hw.put_gpio_bit(kSelectWord, kAdcSelect, 1);
  return ok;
}

}  // namespace

int main() {
  HMODULE library = LoadLibraryW(L"Kestal.dll");
  if (library == nullptr) {
    printf("*** UNABLE TO LOAD Kestal.dll (error %lu) ***\n", GetLastError());
    return 1;
  }
  probe_bindings hw{};
  if (!bind_all(library, &hw)) return 1;
  const bool ok = probe(hw);
  printf(ok ? "probe passed\n" : "*** PROBE FAILED ***\n");
  return ok ? 0 : 1;
}
