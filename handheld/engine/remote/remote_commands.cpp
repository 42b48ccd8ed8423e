#include "handheld/engine/remote/remote_commands.h"

#include <ctype.h>
#include <limits.h>
#include <stdio.h>

#include <memory>
#include <mutex>

#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/storage/record_init.h"
#include "handheld/engine/remote/remote_line.h"
#include "handheld/engine/acquisition/stimulus.h"
#include "handheld/engine/acquisition/sweep_collection.h"
#include "handheld/engine/hardware/thread_priority.h"
#include "platform/ce/unit_clock.h"

namespace {

const int GPIO_WORD_LIMIT = 33;
const int GPIO_BIT_LIMIT = 31;
const int ADC_REGISTER_LIMIT = 10;
const int DAC_COMMAND_LIMIT = 15;
const int DAC_VALUE_LIMIT = 4095;
const int BATTERY_INPUT = 32;

struct lineState {
  std::mutex lock;
  textBuffer typed;  // the line being typed
  textBuffer last;   // the last non-empty command line
};

lineState& line_state() {
  static lineState state;
  return state;
}

bool same_word(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (toupper(static_cast<unsigned char>(*a)) != toupper(static_cast<unsigned char>(*b))) return false;
  }
  return *a == *b;
}

// A word that reads as a whole number within lo..hi.
bool number_word(const textBuffer& word, int lo, int hi, int* value) {
  int n;
  if (word.empty() || sscanf(word.text(), "%d", &n) != 1 || n < lo || n > hi) return false;
  *value = n;
  return true;
}

void select_dac(bool selected) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_DAC_SELECT_BIT, selected ? 0 : 1);
}

void select_adc(bool selected) {
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_ADC_SELECT_BIT, selected ? 0 : 1);
}

void help() {
  static const char* const lines[] = {
      "******************************************************************\r\n",
      "SETGPIOBIT <arm register number> <bit number> <state (0/1)>\r\n",
      "BATTERY\r\n",
      "READ1256REG <1256 register number>\r\n",
      "READGPIOREG <1256 register number>\r\n",
      "SEND5742 <5742 register number> <5742 data>\r\n",
      "FLASH\r\n",
      "******************************************************************\r\n",
  };
  for (const char* line : lines) remote_printf("%s", line);
}

void set_gpio_bit(const textBuffer& word, const textBuffer& bit, const textBuffer& state) {
  int w, b, s;
  if (!number_word(word, 0, GPIO_WORD_LIMIT, &w) || !number_word(bit, 0, GPIO_BIT_LIMIT, &b) ||
      !number_word(state, INT_MIN, INT_MAX, &s)) {
    remote_printf("***> SETGPIOBIT <reg> <bit> <state>\r\n");
    return;
  }
  const uint8_t on = static_cast<uint8_t>(s & 0xFF);
  remote_printf("put_GPIO_bit(%d,%d,%s)\r\n", w, b, on != 0 ? "ON" : "OFF");
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  hardware.put_gpio_bit(static_cast<uint8_t>(w), static_cast<uint8_t>(b), on);
}

void battery() {
  const double volts = read_battery_volts(BATTERY_INPUT);
  if (volts == BATTERY_NOT_READ) {
    remote_printf("*** BATTERY NOT READ ***\r\n");
    return;
  }
  remote_printf("Battery voltage %6.3lf\r\n", volts);
}

void sample() {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  std::unique_ptr<samplesBlock> block(new samplesBlock);
  init_samples_block(*block);
  set_flash(10000, 1, 0, 0, 0);
  set_thread_priority_for("SPL1", COLLECTION_PRIORITY);
  collect_sweep(20, 180, block.get(), 10000, 0, 1, 300);
  set_thread_priority_for("SPL2", WORKER_PRIORITY);
}

// GPIO words 0, 1, 12 and 8: the low bytes the FLASH command shows.
void read_flash_lines(uint32_t out[4]) {
  const uint8_t words[4] = {0, 1, 12, 8};
  for (int k = 0; k < 4; ++k) out[k] = hardware.get_gpio_reg(words[k]) & 0xFF;
}

void flash() {
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  set_flash(10000, 1, 0, 0, 0);
  uint32_t looks[4][4];
  read_flash_lines(looks[0]);
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_FLASH_TRIGGER_BIT, 0);
  read_flash_lines(looks[1]);
  unit_sleep_ms(1);
  read_flash_lines(looks[2]);
  unit_sleep_ms(1);
  read_flash_lines(looks[3]);
  hardware.put_gpio_bit(GPIO_CONVERTER_WORD, GPIO_FLASH_TRIGGER_BIT, 1);
  static const char* const names[4] = {"initial", "look 1 ", "look 2 ", "look 3 "};
  remote_printf("++         A  B  F  E\r\n");
  for (int k = 0; k < 4; ++k) {
    remote_printf("++ %s %2.2X %2.2X %2.2X %2.2X\r\n", names[k], static_cast<unsigned>(looks[k][0]),
                  static_cast<unsigned>(looks[k][1]), static_cast<unsigned>(looks[k][2]),
                  static_cast<unsigned>(looks[k][3]));
  }
}

void send_5742(const textBuffer& command, const textBuffer& value) {
  int c, v;
  if (!number_word(command, 0, DAC_COMMAND_LIMIT, &c) || !number_word(value, 0, DAC_VALUE_LIMIT, &v)) {
    remote_printf("***> SEND5742 <reg> <data>\r\n");
    return;
  }
  std::lock_guard<std::recursive_mutex> hold(converter_lock());
  select_dac(true);
  hardware.put_5722(static_cast<uint8_t>(c), static_cast<uint16_t>(v));
  hardware.wait_till_xmit_fifo_empty();
  select_dac(false);
}

void read_gpio_reg(const textBuffer& word) {
  int w;
  if (!number_word(word, 0, GPIO_WORD_LIMIT, &w)) {
    remote_printf("***> READGPIOREG <reg>\r\n");
    return;
  }
  uint32_t value;
  {
    std::lock_guard<std::recursive_mutex> hold(converter_lock());
    value = hardware.get_gpio_reg(static_cast<uint8_t>(w));
  }
  remote_printf("GPIO reg %d = [#%4.4X]\r\n", w, static_cast<unsigned>(value));
}

void read_1256_reg(const textBuffer& reg) {
  int r;
  if (!number_word(reg, 0, ADC_REGISTER_LIMIT, &r)) {
    remote_printf("***> READ1256REG <reg>\r\n");
    return;
  }
  uint32_t value;
  {
    std::lock_guard<std::recursive_mutex> hold(converter_lock());
    select_adc(true);
    unit_sleep_ms(10);
    value = hardware.get_1255_reg(static_cast<uint8_t>(r));
    unit_sleep_ms(10);
    hardware.wait_till_xmit_fifo_empty();
    select_adc(false);
  }
  remote_printf("1256 reg %d = [#%2X]\r\n", r, static_cast<unsigned>(value));
}

}  // namespace

void line_word(int n, const char* line, textBuffer& out) {
  out.assign(nullptr, 0);
  if (line == nullptr || n < 1) return;
  const char* p = line;
  for (int k = 1;; ++k) {
    while (*p == ' ') ++p;
    if (*p == '\0') return;
    const char* start = p;
    while (*p != '\0' && *p != ' ') ++p;
    if (k == n) {
      out.assign(start, static_cast<int>(p - start));
      return;
    }
  }
}

void run_remote_command(const char* line) {
  textBuffer command;
  {
    lineState& state = line_state();
    std::lock_guard<std::mutex> hold(state.lock);
    if (line != nullptr && line[0] != '\0') {
      state.last.assign_text(line);
      command.assign_text(line);
    } else {
      command.assign_text(state.last.text());
    }
  }

  textBuffer words[4];
  for (int k = 0; k < 4; ++k) line_word(k + 1, command.text(), words[k]);
  remote_printf("\r\n[%s] [%s] [%s] [%s]\r\n", words[0].text(), words[1].text(), words[2].text(),
                words[3].text());

  const char* name = words[0].text();
  if (same_word(name, "SETGPIOBIT")) {
    set_gpio_bit(words[1], words[2], words[3]);
  } else if (same_word(name, "HELP")) {
    help();
  } else if (same_word(name, "BATTERY")) {
    battery();
  } else if (same_word(name, "SAMPLE")) {
    sample();
  } else if (same_word(name, "FLASH")) {
    flash();
  } else if (same_word(name, "SEND5742")) {
    send_5742(words[1], words[2]);
  } else if (same_word(name, "READGPIOREG")) {
    read_gpio_reg(words[1]);
  } else if (same_word(name, "READ1256REG")) {
    read_1256_reg(words[1]);
  } else {
    remote_printf("*** UNKNOWN COMMAND ***\r\n");
  }
}

void remote_putc(uint8_t byte) {
  const char c = static_cast<char>(byte);
  remote_write(&c, 1);
}

void take_remote_byte(uint8_t byte) {
  lineState& state = line_state();
  if (byte == '\r') {
    std::unique_lock<std::mutex> hold(state.lock);
    textBuffer line;
    line.assign_text(state.typed.text());
    state.typed.assign(nullptr, 0);
    hold.unlock();
    run_remote_command(line.text());
    return;
  }
  {
    std::lock_guard<std::mutex> hold(state.lock);
    if (byte == 8) {
      state.typed.pop_last();
    } else if (state.typed.length() >= REMOTE_LINE_LIMIT) {
      return;
    } else {
      const char c = static_cast<char>(byte);
      state.typed.append(&c, 1);
    }
  }
  remote_putc(byte);
}

void reset_remote_line() {
  lineState& state = line_state();
  std::lock_guard<std::mutex> hold(state.lock);
  state.typed.assign(nullptr, 0);
  state.last.assign(nullptr, 0);
}
