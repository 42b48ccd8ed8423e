// The converter routines' exact calls into the hardware library, through a
// table bound to the recording stand-in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "handheld/engine/hardware/converters.h"
#include "handheld/engine/hardware/hw_binding.h"
#include "handheld/engine/tests/hw_recorder.h"
#include "platform/unit/sim_unit.h"

namespace {

std::vector<std::string> recorded() {
  std::string text(recorder_log(nullptr, 0) + 1, '\0');
  recorder_log(&text[0], static_cast<uint32_t>(text.size()));
  text.resize(text.size() - 1);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class Converters : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < HARDWARE_ENTRY_COUNT; ++i) {
      bind_hardware_entry(i, recorder_entry(HARDWARE_ENTRY_NAMES[i]));
    }
    recorder_clear();
  }
  void TearDown() override { unbind_hardware_library(); }
};

TEST_F(Converters, InitDacRaisesTheTriggerAndSendsTheControlWord) {
  init_dac();
  std::vector<std::string> expected = {
      "wait_till_xmit_fifo_empty()", "put_gpio_bit(1,1,1)", "put_gpio_bit(1,2,1)",
      "put_gpio_bit(1,1,0)",         "put_5722(15,18)",     "wait_till_xmit_fifo_empty()",
      "put_gpio_bit(1,1,1)",
  };
  EXPECT_EQ(recorded(), expected);
}

TEST_F(Converters, ResetAdcWakesWaitsAndResets) {
  reset_adc();
  std::vector<std::string> expected = {
      "wait_till_xmit_fifo_empty()", "put_gpio_bit(1,1,1)",       "wait_till_xmit_fifo_empty()",
      "put_gpio_bit(1,3,1)",         "put_gpio_bit(1,3,0)",       "put_spi_reg(3,0x00)",
      "wait_while_gpio_bit(12,0,1,100)", "put_spi_reg(3,0xFE)",   "wait_till_xmit_fifo_empty()",
      "get_spi_reg(3)",              "get_spi_reg(3)",            "put_gpio_bit(1,3,1)",
  };
  EXPECT_EQ(recorded(), expected);
}

TEST_F(Converters, SetupAdcWritesTheRateOfItsTableAndCalibrates) {
  struct Case {
    int rate;
    const char* drate;  // null: DRATE not written
  } cases[] = {{15000, "put_1255_reg(3,0xE0)"}, {7500, "put_1255_reg(3,0xD0)"},
               {3750, "put_1255_reg(3,0xC0)"},  {2000, "put_1255_reg(3,0xB0)"},
               {1000, nullptr},                 {0, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rate);
    adc_data_rate = 7500;
    adc_configured = 0;
    recorder_clear();
    setup_adc(c.rate, 0, 8, 0);
    std::vector<std::string> expected = {"put_gpio_bit(1,3,0)", "put_1255_reg(0,0x00)", "put_1255_reg(1,0x08)"};
    if (c.drate != nullptr) expected.push_back(c.drate);
    for (const char* line : {"put_1255_reg(2,0x00)", "wait_till_xmit_fifo_empty()", "put_spi_reg(3,0xF0)",
                             "wait_while_gpio_bit(12,0,0,10)", "wait_while_gpio_bit(12,0,1,100)",
                             "wait_till_xmit_fifo_empty()", "get_spi_reg(3)", "put_gpio_bit(1,3,1)"}) {
      expected.push_back(line);
    }
    EXPECT_EQ(recorded(), expected);
    EXPECT_EQ(adc_data_rate, c.drate != nullptr ? c.rate : 7500);
    EXPECT_EQ(adc_configured, 1);
  }
}

TEST_F(Converters, SetupAdcBufferFromTheLowByteAndMuxFromBothNibbles) {
  struct Case {
    int positive, negative, buffer;
    const char* status;
    const char* mux;
  } cases[] = {
      {0x10, 8, 1, "put_1255_reg(0,0x02)", "put_1255_reg(1,0x18)"},
      {0x70, 8, 0x100, "put_1255_reg(0,0x00)", "put_1255_reg(1,0x78)"},
      {0x123, 0x400, 0xFF, "put_1255_reg(0,0x02)", "put_1255_reg(1,0x23)"},
  };
  for (const Case& c : cases) {
    recorder_clear();
    setup_adc(15000, c.positive, c.negative, c.buffer);
    std::vector<std::string> calls = recorded();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[1], c.status);
    EXPECT_EQ(calls[2], c.mux);
  }
}

TEST_F(Converters, SetupAdcTakesItsSettlingTimeOnTheUnitClock) {
  uint64_t before = sim_now_ns();
  setup_adc(15000, 0, 8, 0);
  EXPECT_EQ(sim_now_ns() - before, 30ull * 1000000ull);  // three pauses of 10 ms
}

TEST_F(Converters, StandbyRestsTheAdcThenTheDac) {
  standby_converters();
  std::vector<std::string> expected = {
      "put_gpio_bit(1,3,0)", "put_spi_reg(3,0xFD)", "wait_till_xmit_fifo_empty()", "get_spi_reg(3)",
      "put_gpio_bit(1,3,1)",
      "put_gpio_bit(1,1,0)", "put_5722(15,18)",     "wait_till_xmit_fifo_empty()", "put_gpio_bit(1,1,1)",
  };
  EXPECT_EQ(recorded(), expected);
}

TEST(UnboundLibrary, EveryEntryAnswersTheLibrarysFailure) {
  unbind_hardware_library();
  int32_t a = 77, b = 78, values[4] = {5, 5, 5, 5};
  EXPECT_EQ(hardware.module, nullptr);
  EXPECT_EQ(hardware.get_dual_data(&a, &b), 0xF1000000u);
  EXPECT_EQ(hardware.get_1255_data(&a), 0xF1000000u);
  EXPECT_EQ(hardware.get_1255_samples(values, 4), 0xF1000000u);
  EXPECT_EQ(a, 77);
  EXPECT_EQ(values[0], 5);
  EXPECT_EQ(hardware.get_1255_reg(0), 224u);
  EXPECT_EQ(hardware.put_1255_reg(0, 0), 0u);
  EXPECT_EQ(hardware.put_5722(15, 18), 0u);
  EXPECT_EQ(hardware.spi_setup(135, 80, 4), 0u);
  EXPECT_EQ(hardware.get_spi_reg(5), 0u);
  EXPECT_EQ(hardware.get_gpio_reg(12), 0xFFFFFFFFu);  // data not ready, sync idle
  EXPECT_EQ(hardware.wait_till_xmit_fifo_empty(), 0u);
  EXPECT_EQ(hardware.wait_while_spi_bit(5, 7, 0, 10), 0u);
  EXPECT_EQ(hardware.wait_while_gpio_bit(12, 0, 1, 100), 0u);
  EXPECT_STREQ(hardware.version(), L"");
  hardware.put_spi_reg(3, 0);
  hardware.put_gpio_reg(1, 0);
  hardware.put_gpio_bit(1, 3, 0);

  // The set-up routines run through on the stubs.
  adc_data_rate = 2000;
  reset_adc();
  setup_adc(15000, 0, 8, 0);
  init_dac();
  standby_converters();
  EXPECT_EQ(adc_data_rate, 15000);
}

}  // namespace
