#include "handheld/engine/tests/simulated_unit.h"

#include <utility>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/offdevice/simulated_hardware.h"
#include "handheld/engine/offdevice/simulated_stimulator_port.h"
#include "handheld/engine/stimulator/stimulator_link.h"
#include "handheld/engine/stimulator/stimulator_message.h"
#include "handheld/engine/stimulator/stimulator_reader.h"
#include "platform/ce/unit_clock.h"

uint64_t now_us() { return sim_now_ns() / 1000; }

void SimulatedUnit::SetUp() {
  LogFixture::SetUp();
  ASSERT_TRUE(power_on_simulated_unit());
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
  power_off_simulated_unit();
  LogFixture::TearDown();
}

void SimulatedUnit::set_read_hook(std::function<bool(int)> hook) { set_simulated_read_hook(std::move(hook)); }

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
    if (stimulator_message.message_mode) {
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

void set_electrode_calibration() {
  for (int e : {4, 10, 12, 14}) {
    calibration_table[e] = 15.25;
    calibration_table[e + 1] = -90.0;
  }
  for (int e : {6, 8}) {
    calibration_table[e] = 0.00045;
    calibration_table[e + 1] = -1930.0;
  }
}
