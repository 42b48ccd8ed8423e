#include "simulated_unit.h"

#include <cwchar>
#include <mutex>

#include "attach.h"
#include "converters.h"
#include "hw_binding.h"
#include "hwlib_exports.h"
#include "sim_unit.h"
#include "simulated_stimulator_port.h"
#include "stimulator_link.h"
#include "stimulator_message.h"
#include "stimulator_reader.h"
#include "unit_clock.h"

namespace {

// The collectors' reads, through the test's hook.
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

uint32_t shim_get_1255_data(int32_t* value) {
  if (!before_read()) return 0xF1000000u;
  return get_1255_data(value);
}

uint32_t shim_get_dual_data(int32_t* input0, int32_t* input1) {
  if (!before_read()) return 0xF1000000u;
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
      {L"get_dual_data", entry(shim_get_dual_data)},
      {L"get_1255_data", entry(shim_get_1255_data)},
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

uint64_t now_us() { return sim_now_ns() / 1000; }

void SimulatedUnit::SetUp() {
  LogFixture::SetUp();
  sim_reset();
  ASSERT_EQ(1, hwlib_attach());
  set_read_hook(nullptr);
  for (int i = 0; i < HARDWARE_ENTRY_COUNT; ++i) {
    bind_hardware_entry(i, simulated_entry(hardwareEntryNames[i]));
  }
  hardware.spi_setup(135, 80, 4);
  init_dac();
  reset_adc();
  setup_adc(15000, 0, 8, 0);
}

void SimulatedUnit::TearDown() {
  if (posts_) {
    EXPECT_TRUE(stop_stimulator_reader());
    close_8051_uart();
    register_serial_endpoint(L"COM2:", nullptr);
    posts_.reset();
  }
  const uint32_t converters = get_gpio_reg(GPIO_CONVERTER_WORD);
  EXPECT_NE(0u, converters & (1u << GPIO_ADC_SELECT_BIT)) << "converter left selected";
  EXPECT_NE(0u, converters & (1u << GPIO_DAC_SELECT_BIT)) << "DAC left selected";
  EXPECT_NE(0u, converters & (1u << GPIO_FLASH_TRIGGER_BIT)) << "flash trigger left low";
  sim_counters counters{};
  sim_get_counters(&counters);
  EXPECT_EQ(0u, counters.rx_overruns);
  EXPECT_EQ(0u, counters.tx_overflows);
  EXPECT_EQ(0u, counters.bus_contention);
  EXPECT_EQ(0u, counters.partial_words);
  unbind_hardware_library();
  set_read_hook(nullptr);
  LogFixture::TearDown();
}

void SimulatedUnit::set_read_hook(std::function<bool(int)> hook) {
  readHook& h = read_hook();
  std::lock_guard<std::mutex> hold(h.lock);
  h.hook = std::move(hook);
  h.reads = 0;
}

void SimulatedUnit::open_stimulator() {
  use_simulated_stimulator_port();
  ASSERT_NE(nullptr, open_8051_uart());
  posts_.reset(new main_dialog_post_capture);
  posts_seen_ = 0;
  end_8051_message();
  ASSERT_TRUE(start_stimulator_reader());
  sim_stim_clear_logs();
}

int SimulatedUnit::next_stimulator_message(int max_ms) {
  if (!posts_) return -1;
  for (int waited = 0; waited <= max_ms;) {
    const std::vector<mainDialogNotice> notices = posts_->notices();
    if (posts_seen_ >= notices.size()) {
      unit_sleep_ms(1);
      ++waited;
      posts_->wait_for(posts_seen_ + 1, 2);
      continue;
    }
    const mainDialogNotice n = notices[posts_seen_++];
    if (n.wparam == NOTICE_STIMULATOR_MESSAGE) return static_cast<int>(n.lparam);
    if (n.wparam != NOTICE_STIMULATOR_BYTE) continue;
    const uint8_t byte = static_cast<uint8_t>(n.lparam);
    if (stimulatorMessage.message_mode) {
      take_8051_message_byte(byte);
    } else if (byte == 'U') {
      begin_8051_message();
    }
  }
  return -1;
}

std::vector<uint8_t> SimulatedUnit::sent_to_stimulator() {
  std::vector<uint8_t> bytes(sim_stim_received(nullptr, 0));
  bytes.resize(sim_stim_received(bytes.data(), static_cast<uint32_t>(bytes.size())));
  sim_stim_clear_logs();
  return bytes;
}
