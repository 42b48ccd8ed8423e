// The remote-control line on the simulated unit: a terminal types into
// "COM3:" (the text endpoint), the reader thread echoes and runs each line,
// and the replies come back on the same line.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "handheld/engine/acquisition/calibration_table.h"
#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/remote/remote_commands.h"
#include "handheld/engine/remote/remote_line.h"
#include "handheld/engine/offdevice/remote_text_endpoint.h"
#include "handheld/engine/remote/remote_uart.h"
#include "handheld/engine/stimulator/serial_port.h"
#include "platform/unit/sim_unit.h"
#include "handheld/engine/tests/simulated_unit.h"

namespace {

const char kHelp[] =
    "******************************************************************\r\n"
    "SETGPIOBIT <arm register number> <bit number> <state (0/1)>\r\n"
    "BATTERY\r\n"
    "READ1256REG <1256 register number>\r\n"
    "READGPIOREG <1256 register number>\r\n"
    "SEND5742 <5742 register number> <5742 data>\r\n"
    "FLASH\r\n"
    "******************************************************************\r\n";

class RemoteLine : public SimulatedUnit {
 protected:
  void SetUp() override {
    SimulatedUnit::SetUp();
    reset_remote_line();
    terminal_ = use_remote_text_endpoint();
    ASSERT_NE(nullptr, open_remote_uart());
    reader_ = std::thread(remote_line_reader);
  }

  void TearDown() override {
    stop_remote_line_reader();
    reader_.join();
    close_remote_uart();
    register_serial_endpoint(L"COM3:", nullptr);
    reset_calibration_table();
    SimulatedUnit::TearDown();
  }

  // Types the text and waits until the unit has written `reply` (or part of
  // it); returns everything written meanwhile.
  std::string exchange(const std::string& typed, const std::string& reply) {
    terminal_->clear_output();
    terminal_->type(typed);
    EXPECT_TRUE(terminal_->wait_for_output(reply, 10000)) << "typed " << typed;
    EXPECT_TRUE(terminal_->wait_until_read(10000));
    return terminal_->output();
  }

  std::shared_ptr<remote_text_endpoint> terminal_;
  std::thread reader_;
};

TEST_F(RemoteLine, ScriptedSessionGivesEachCommandsReply) {
  struct Step {
    const char* typed;
    const char* reply;
  } steps[] = {
      {"  HELP\r", "  HELP\r\n[HELP] [] [] []\r\n"},
      {"SETGPIOBIT 5 3 1\r", "SETGPIOBIT 5 3 1\r\n[SETGPIOBIT] [5] [3] [1]\r\nput_GPIO_bit(5,3,ON)\r\n"},
      {"readgpioreg   5\r", "readgpioreg   5\r\n[readgpioreg] [5] [] []\r\nGPIO reg 5 = [#0008]\r\n"},
      {"\r", "\r\n[readgpioreg] [5] [] []\r\nGPIO reg 5 = [#0008]\r\n"},
      {"SETGPIOBIT 5 3\r", "SETGPIOBIT 5 3\r\n[SETGPIOBIT] [5] [3] []\r\n***> SETGPIOBIT <reg> <bit> <state>\r\n"},
      {"SETGPIOBIT 5 3 0\r", "SETGPIOBIT 5 3 0\r\n[SETGPIOBIT] [5] [3] [0]\r\nput_GPIO_bit(5,3,OFF)\r\n"},
      {"SETGPIOBIT 34 0 1\r", "SETGPIOBIT 34 0 1\r\n[SETGPIOBIT] [34] [0] [1]\r\n***> SETGPIOBIT <reg> <bit> <state>\r\n"},
      {"SETGPIOBIT 5 32 1\r", "SETGPIOBIT 5 32 1\r\n[SETGPIOBIT] [5] [32] [1]\r\n***> SETGPIOBIT <reg> <bit> <state>\r\n"},
      {"READGPIOREG 34\r", "READGPIOREG 34\r\n[READGPIOREG] [34] [] []\r\n***> READGPIOREG <reg>\r\n"},
      {"READ1256REG 1\r", "READ1256REG 1\r\n[READ1256REG] [1] [] []\r\n1256 reg 1 = [# 8]\r\n"},
      {"READ1256REG 11\r", "READ1256REG 11\r\n[READ1256REG] [11] [] []\r\n***> READ1256REG <reg>\r\n"},
      {"SEND5742 2 1234\r", "SEND5742 2 1234\r\n[SEND5742] [2] [1234] []\r\n"},
      {"SEND5742 16 1\r", "SEND5742 16 1\r\n[SEND5742] [16] [1] []\r\n***> SEND5742 <reg> <data>\r\n"},
      {"SEND5742 1 4096\r", "SEND5742 1 4096\r\n[SEND5742] [1] [4096] []\r\n***> SEND5742 <reg> <data>\r\n"},
      {"SEND5742 1\r", "SEND5742 1\r\n[SEND5742] [1] [] []\r\n***> SEND5742 <reg> <data>\r\n"},
      {"frobnicate a b c d\r", "frobnicate a b c d\r\n[frobnicate] [a] [b] [c]\r\n*** UNKNOWN COMMAND ***\r\n"},
      {"\b", "\b"},
      {"HELQ\bP\r", "HELQ\bP\r\n[HELP] [] [] []\r\n"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.typed);
    std::string expected = step.reply;
    if (std::string(step.reply).find("[HELP]") != std::string::npos) expected += kHelp;
    EXPECT_EQ(expected, exchange(step.typed, expected));
  }
  EXPECT_EQ(1234u, sim_dac_output(2));
  EXPECT_EQ(0u, hardware.get_gpio_reg(5) & 8u);
}

TEST_F(RemoteLine, FlashAndSampleDriveTheStimulator) {
  load_default_calibration();
  open_stimulator();
  const std::string header = "FLASH\r\n[FLASH] [] [] []\r\n++         A  B  F  E\r\n";
  std::string out = exchange("FLASH\r", header);
  ASSERT_TRUE(terminal_->wait_for_output("++ look 3 ", 10000));
  ASSERT_TRUE(terminal_->wait_for_output("\r\n", 10000));
  out = terminal_->output();
  ASSERT_EQ(header, out.substr(0, header.size()));
  // A: word 0; B: word 1, the trigger low from look 1; F: word 12; E: word 8,
  // the sync input low while the stimulator flashes.
  const char* names[4] = {"initial", "look 1 ", "look 2 ", "look 3 "};
  const unsigned b_column[4] = {0x0E, 0x0A, 0x0A, 0x0A};
  const unsigned e_column[4] = {0x20, 0x20, 0x00, 0x20};
  size_t at = header.size();
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(names[k]);
    const size_t end = out.find("\r\n", at);
    ASSERT_NE(std::string::npos, end);
    const std::string line = out.substr(at, end - at);
    at = end + 2;
    EXPECT_EQ(std::string("++ ") + names[k] + " ", line.substr(0, 11));
    unsigned a, b, f, e;
    ASSERT_EQ(4, sscanf(line.c_str() + 11, "%2X %2X %2X %2X", &a, &b, &f, &e)) << line;
    EXPECT_EQ(0u, a);
    EXPECT_EQ(b_column[k], b);
    EXPECT_EQ(e_column[k], e);
  }
  EXPECT_EQ(out.size(), at);
  std::vector<uint8_t> sent = sent_to_stimulator();
  ASSERT_EQ(7u, sent.size());
  EXPECT_EQ('f', sent[0]);

  sim_stim_state before;
  sim_stim_get_state(&before);
  EXPECT_EQ("SAMPLE\r\n[SAMPLE] [] [] []\r\n", exchange("SAMPLE\r", "SAMPLE\r\n[SAMPLE] [] [] []\r\n"));
  // Nothing more is printed: the next command's reply follows at once.
  exchange("READGPIOREG 0\r", "GPIO reg 0 = [#0000]\r\n");
  EXPECT_EQ("READGPIOREG 0\r\n[READGPIOREG] [0] [] []\r\nGPIO reg 0 = [#0000]\r\n", terminal_->output());
  sim_stim_state after;
  sim_stim_get_state(&after);
  EXPECT_EQ(before.flashes + 1, after.flashes);
  EXPECT_EQ('f', sent_to_stimulator().at(0));
}

TEST_F(RemoteLine, BatteryInLowerCase) {
  sim_adc_set_constant(2, 1000000);
  const char reply[] = "battery\r\n[battery] [] [] []\r\nBattery voltage  0.800\r\n";
  EXPECT_EQ(reply, exchange("battery\r", reply));
  sim_fault_set(SIM_FAULT_DRDY_STUCK_HIGH, 0);
  const char failed[] = "BATTERY\r\n[BATTERY] [] [] []\r\n*** BATTERY NOT READ ***\r\n";
  EXPECT_EQ(failed, exchange("BATTERY\r", failed));
  sim_fault_clear(SIM_FAULT_DRDY_STUCK_HIGH);
}

TEST_F(RemoteLine, TheLineIsBounded) {
  const std::string typed(REMOTE_LINE_LIMIT + 40, 'A');
  const std::string out = exchange(typed + "\r", "*** UNKNOWN COMMAND ***\r\n");
  EXPECT_EQ(std::string(REMOTE_LINE_LIMIT, 'A') + "\r\n[" + std::string(REMOTE_LINE_LIMIT - 3, 'A'),
            out.substr(0, REMOTE_LINE_LIMIT + 3 + REMOTE_LINE_LIMIT - 3));
}

TEST_F(RemoteLine, WritesPauseForTheirTimeOnTheWire) {
  struct Case {
    size_t n;
    uint64_t pause_ms;
  } cases[] = {{1, 1}, {5, 1}, {22, 2}, {110, 10}};
  for (const Case& c : cases) {
    const std::string text(c.n, 'x');
    const uint64_t before = sim_now_ns();
    remote_write(text.data(), text.size());
    EXPECT_EQ(c.pause_ms, (sim_now_ns() - before) / 1000000) << c.n;
  }
}

TEST_F(RemoteLine, PrintsFromManyThreadsStayWhole) {
  terminal_->clear_output();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 100; ++i) remote_printf("thread %d line %03d and some more text to make it long\r\n", t, i);
    });
  }
  for (std::thread& thread : threads) thread.join();
  const std::string out = terminal_->output();
  int lines = 0;
  for (size_t start = 0, end; (end = out.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = out.substr(start, end - start);
    int t, i;
    char tail[64];
    ASSERT_EQ(3, sscanf(line.c_str(), "thread %d line %d %63[^\n]", &t, &i, tail)) << line;
    EXPECT_STREQ("and some more text to make it long", tail);
    ++lines;
  }
  EXPECT_EQ(400, lines);
}

TEST(RemoteLineWords, FindsWordsBetweenBlanks) {
  struct Case {
    const char* line;
    int n;
    const char* word;
  } cases[] = {
      {"READGPIOREG 12", 1, "READGPIOREG"}, {"READGPIOREG 12", 2, "12"}, {"READGPIOREG 12", 3, ""},
      {"   a    b  ", 2, "b"},                {"   a    b  ", 3, ""},      {"", 1, ""},
      {"x", 0, ""},
  };
  for (const Case& c : cases) {
    textBuffer out;
    line_word(c.n, c.line, out);
    EXPECT_STREQ(c.word, out.text()) << c.line << " " << c.n;
  }
}

}  // namespace
