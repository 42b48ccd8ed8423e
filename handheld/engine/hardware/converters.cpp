#include "handheld/engine/hardware/converters.h"

#include "handheld/engine/hardware/hw_binding.h"
#include "platform/ce/unit_clock.h"

namespace {

// Converter commands sent as plain bytes on the SPI data word.
const uint32_t SPI_DATA_WORD = 3;
const uint32_t ADC_WAKEUP = 0x00;
const uint32_t ADC_SELFCAL = 0xF0;
const uint32_t ADC_STANDBY = 0xFD;
const uint32_t ADC_RESET = 0xFE;

// Converter registers.
const uint8_t ADC_STATUS = 0;
const uint8_t ADC_MUX = 1;
const uint8_t ADC_ADCON = 2;
const uint8_t ADC_DRATE = 3;
const uint8_t STATUS_BUFFER_ON = 2;

// The digital-to-analog converter's control word (command 15) at rest.
const uint8_t DAC_CONTROL = 15;
const uint16_t DAC_CONTROL_REST = 18;

void select_dac(bool selected) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_DAC_SELECT_BIT, selected ? 0 : 1);
}

void select_adc(bool selected) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_ADC_SELECT_BIT, selected ? 0 : 1);
}

// Reads back the converter's replies to command bytes sent as plain bytes
// (one per byte, once the transmitter is idle), as the library's register
// writes read theirs: left in the receive FIFO they would pile up over
// set-ups and overrun it.
void read_command_echoes(int count) {
  for (int i = 0; i < count; ++i) (void)hardware.get_spi_reg(SPI_DATA_WORD);
}

// Waits while data ready is at the given level, at most timeout_ms.
void wait_while_data_ready(uint8_t level, uint32_t timeout_ms) {
  hardware.wait_while_gpio_bit(GPIO_DATA_READY_WORD, GPIO_DATA_READY_BIT, level, timeout_ms);
}

// DRATE code of a data rate; 0 for a rate the unit does not use.
uint32_t drate_code(int rate) {
  switch (rate) {
    case 15000: return 0xE0;
    case 7500: return 0xD0;
    case 3750: return 0xC0;
    case 2000: return 0xB0;
    default: return 0;
  }
}

}  // namespace

std::atomic<int> adc_data_rate{0};
std::atomic<int> adc_configured{0};

std::recursive_mutex& converter_lock() {
  static std::recursive_mutex lock;
  return lock;
}

void init_dac() {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  hardware.wait_till_xmit_fifo_empty();
  select_dac(false);
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_FLASH_TRIGGER_BIT, 1);
  select_dac(true);
  hardware.put_5722(DAC_CONTROL, DAC_CONTROL_REST);
  hardware.wait_till_xmit_fifo_empty();
  select_dac(false);
  unit_sleep_ms(1);
}

// The waits' results are not checked: a converter that never signals data
// ready costs the time-outs and the set-up carries on.
void reset_adc() {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  hardware.wait_till_xmit_fifo_empty();
  select_dac(false);
  hardware.wait_till_xmit_fifo_empty();
  select_adc(false);
  select_adc(true);
  hardware.put_spi_reg(SPI_DATA_WORD, ADC_WAKEUP);
  wait_while_data_ready(1, 100);
  hardware.put_spi_reg(SPI_DATA_WORD, ADC_RESET);
  hardware.wait_till_xmit_fifo_empty();
  read_command_echoes(2);
  select_adc(false);
  unit_sleep_ms(1);
}

void setup_adc(int rate, int positive, int negative, int buffer) {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  select_adc(true);
  hardware.put_1255_reg(ADC_STATUS, (buffer & 0xFF) != 0 ? STATUS_BUFFER_ON : 0);
  hardware.put_1255_reg(ADC_MUX, static_cast<uint32_t>(positive | negative) & 0xFF);
  uint32_t code = drate_code(rate);
  if (code != 0) {
    hardware.put_1255_reg(ADC_DRATE, code);
    adc_data_rate = rate;
  }
  unit_sleep_ms(10);
  hardware.put_1255_reg(ADC_ADCON, 0);
  adc_configured = 1;
  unit_sleep_ms(10);
  hardware.wait_till_xmit_fifo_empty();
  hardware.put_spi_reg(SPI_DATA_WORD, ADC_SELFCAL);
  wait_while_data_ready(0, 10);   // calibration starts: data ready goes high
  wait_while_data_ready(1, 100);  // and low again when it is done
  unit_sleep_ms(10);
  hardware.wait_till_xmit_fifo_empty();
  read_command_echoes(1);
  select_adc(false);
}

void standby_converters() {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  select_adc(true);
  hardware.put_spi_reg(SPI_DATA_WORD, ADC_STANDBY);
  hardware.wait_till_xmit_fifo_empty();
  read_command_echoes(1);
  select_adc(false);
  select_dac(true);
  hardware.put_5722(DAC_CONTROL, DAC_CONTROL_REST);
  hardware.wait_till_xmit_fifo_empty();
  select_dac(false);
}
